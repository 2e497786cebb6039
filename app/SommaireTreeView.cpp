#include "app/SommaireTreeView.h"

#include <QMouseEvent>
#include <QStyle>

TSommaireTreeView::TSommaireTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(false);
    setIndentation(19);
}

QTreeWidgetItem* TSommaireTreeView::LabelAt(const QPoint& point) const
{
    QTreeWidgetItem* node = itemAt(point);
    if (node == nullptr)
        return nullptr;
    // The item's rectangle starts after the indent; the label is the text
    // with the style's margin on each side.
    const QRect cell = visualItemRect(node);
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const QFont nodeFont = node->font(0);
    const int textWidth = QFontMetrics(nodeFont).horizontalAdvance(node->text(0));
    const QRect label(cell.left(), cell.top(), textWidth + 2 * margin, cell.height());
    return label.contains(point) ? node : nullptr;
}

void TSommaireTreeView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    if (OnMouseDown)
        OnMouseDown(event->button(), event->modifiers(), point.x(), point.y());
    event->accept();
}

void TSommaireTreeView::mouseMoveEvent(QMouseEvent* event) { event->accept(); }
void TSommaireTreeView::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void TSommaireTreeView::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }
