#pragma once
// The table of contents' tree: a press reports button, modifiers and point
// to its owner and does nothing else, so that only a press on a node's label
// selects and acts. The keyboard keeps its usual selection moves.

#include <QTreeWidget>

#include <functional>

class TSommaireTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TSommaireTreeView(QWidget* parent = nullptr);

    // The node whose label (its text itself) lies under `point`, in viewport
    // coordinates; null on the indent, right of the text or below the nodes.
    QTreeWidgetItem* LabelAt(const QPoint& point) const;

    std::function<void(Qt::MouseButton, Qt::KeyboardModifiers, int, int)> OnMouseDown;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
