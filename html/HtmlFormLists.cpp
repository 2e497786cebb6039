// The controls with many lines: list boxes and drop-down lists (SELECT with
// its options) and memos (TEXTAREA).

#include "html/HtmlForms.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringList>
#include <QTextCursor>

#include <algorithm>

namespace {

constexpr int MaxListAutoRows = 8;

// A positive number attribute, else fallback; never above cap.
int CountAttribute(const TAttributeList& attributes, TAttrSymbol symbol, int fallback, int cap)
{
    const TAttribute* attribute = attributes.FindAttribute(symbol);
    const int value = attribute && attribute->Number > 0 ? attribute->Number : fallback;
    return std::min(value, cap);
}

QStringList ToQStrings(const std::vector<std::string>& lines)
{
    QStringList list;
    list.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        list.append(Win1252ToQString(line));
    return list;
}

// The index of the last selected option, or -1.
int LastSelected(const TFreeList& options)
{
    for (int i = options.Count() - 1; i >= 0; --i)
        if (options.ItemAs<TOptionObj>(i)->Selected)
            return i;
    return -1;
}

} // namespace

// ---------------------------------------------------------------------------
// TListFormControlObj

void TListFormControlObj::AddOption(const std::string& value, const std::string& caption, bool selected)
{
    if (TheOptions.Count() >= MaxOptions)
        return;
    TheOptions.Add(new TOptionObj(value, selected));
    Captions.push_back(caption);
    LongestCaption = std::max(LongestCaption, caption.size());
}

std::string TListFormControlObj::LineValue(int line) const
{
    if (line < 0 || line >= TheOptions.Count())
        return std::string();
    const std::string& value = TheOptions.ItemAs<TOptionObj>(line)->Value;
    return value.empty() ? Captions[static_cast<size_t>(line)] : value;
}

// ---------------------------------------------------------------------------
// List boxes

TListBoxFormControlObj::TListBoxFormControlObj(
    TSectionList* document, ThtmlForm* form, const TAttributeList& attributes)
    : TListFormControlObj(document, form, attributes)
{
    ListSize = CountAttribute(attributes, SizeSy, 0, MaxRows);
    Multiple = attributes.FindAttribute(MultipleSy) != nullptr;
    auto* list = new QListWidget;
    list->setFont(PreFont());
    list->setUniformItemSizes(true);
    list->setSelectionMode(Multiple ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
    AdoptControl(list);
}

void TListBoxFormControlObj::ResetToInitial()
{
    auto* list = qobject_cast<QListWidget*>(FControl.data());
    if (!list)
        return;
    list->clear();
    list->addItems(ToQStrings(Captions));
    if (Multiple) {
        for (int i = 0; i < TheOptions.Count(); ++i)
            if (TheOptions.ItemAs<TOptionObj>(i)->Selected)
                list->item(i)->setSelected(true);
    } else if (const int chosen = LastSelected(TheOptions); chosen >= 0) {
        list->setCurrentRow(chosen);
    }
    list->scrollToTop();
}

bool TListBoxFormControlObj::SubmitPair(int index, std::string& text)
{
    auto* list = qobject_cast<QListWidget*>(FControl.data());
    if (!list || index >= list->count())
        return false;
    text = list->item(index)->isSelected() ? Name + "=" + LineValue(index) : std::string();
    return true;
}

void TListBoxFormControlObj::FitToFont()
{
    auto* list = qobject_cast<QListWidget*>(FControl.data());
    if (!list)
        return;
    list->setFont(PreFont());
    const QFontMetrics metrics(list->font());
    const int rows = ListSize > 0 ? ListSize : std::clamp(TheOptions.Count(), 1, MaxListAutoRows);
    const int frame = 2 * list->frameWidth();
    const int clientWidth = static_cast<int>(LongestCaption) * metrics.horizontalAdvance(QLatin1Char('A')) + 15;
    SetBoundedSize(clientWidth + frame, rows * metrics.height() + frame);
}

// ---------------------------------------------------------------------------
// Drop-down lists

TComboFormControlObj::TComboFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes)
    : TListFormControlObj(document, form, attributes)
{
    auto* combo = new QComboBox;
    combo->setEditable(false);
    combo->setFont(PreFont());
    AdoptControl(combo);
}

void TComboFormControlObj::ResetToInitial()
{
    auto* combo = qobject_cast<QComboBox*>(FControl.data());
    if (!combo)
        return;
    combo->clear();
    combo->addItems(ToQStrings(Captions));
    const int chosen = LastSelected(TheOptions);
    combo->setCurrentIndex(chosen >= 0 ? chosen : 0);
}

bool TComboFormControlObj::SubmitPair(int index, std::string& text)
{
    auto* combo = qobject_cast<QComboBox*>(FControl.data());
    if (index != 0 || !combo)
        return false;
    const int chosen = combo->currentIndex();
    text = chosen >= 0 ? Name + "=" + LineValue(chosen) : std::string();
    return true;
}

void TComboFormControlObj::FitToFont()
{
    auto* combo = qobject_cast<QComboBox*>(FControl.data());
    if (!combo)
        return;
    combo->setFont(PreFont());
    // The width comes from the screen font, as the list's own font may be
    // much narrower than the arrow and frame around it.
    const int charWidth = QFontMetrics(QApplication::font()).horizontalAdvance(QLatin1Char('A'));
    SetBoundedSize(static_cast<int>(LongestCaption) * charWidth + 30, combo->sizeHint().height());
}

// ---------------------------------------------------------------------------
// Memos

TTextAreaFormControlObj::TTextAreaFormControlObj(
    TSectionList* document, ThtmlForm* form, const TAttributeList& attributes)
    : TFormControlObj(document, form, attributes)
{
    Rows = CountAttribute(attributes, RowsSy, DefaultRows, MaxRows);
    Cols = CountAttribute(attributes, ColsSy, DefaultCols, MaxCols);
    if (const TAttribute* wrap = attributes.FindAttribute(WrapSy)) {
        const std::string mode = LowerCase1252(wrap->Text);
        Wrap = mode == "soft" || mode == "hard";
    }
    auto* memo = new QPlainTextEdit;
    memo->setFont(PreFont());
    memo->setLineWrapMode(Wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    AdoptControl(memo);
}

void TTextAreaFormControlObj::AddLine(const std::string& line)
{
    if (InitialLines.size() < static_cast<size_t>(MaxLines))
        InitialLines.push_back(line);
}

void TTextAreaFormControlObj::ResetToInitial()
{
    auto* memo = qobject_cast<QPlainTextEdit*>(FControl.data());
    if (!memo)
        return;
    memo->setPlainText(ToQStrings(InitialLines).join(QLatin1Char('\n')));
    QTextCursor cursor = memo->textCursor();
    cursor.movePosition(QTextCursor::Start);
    memo->setTextCursor(cursor);
}

std::vector<std::string> TTextAreaFormControlObj::Lines() const
{
    std::vector<std::string> lines;
    const auto* memo = qobject_cast<const QPlainTextEdit*>(FControl.data());
    if (!memo)
        return lines;
    QString text = memo->toPlainText();
    // As a memo counts its lines: none when empty, and a final line end
    // does not start another.
    if (text.isEmpty())
        return lines;
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    for (const QString& line : text.split(QLatin1Char('\n')))
        lines.push_back(QStringToWin1252(line));
    return lines;
}

bool TTextAreaFormControlObj::SubmitPair(int index, std::string& text)
{
    // The lines are taken once per submission, at its first pair.
    if (index == 0)
        FSubmitLines = Lines();
    if (index < 0 || static_cast<size_t>(index) >= FSubmitLines.size()) {
        FSubmitLines.clear();
        return false;
    }
    text = Name + "=" + FSubmitLines[static_cast<size_t>(index)];
    return true;
}

void TTextAreaFormControlObj::FitToFont()
{
    auto* memo = qobject_cast<QPlainTextEdit*>(FControl.data());
    if (!memo)
        return;
    memo->setFont(PreFont());
    const QFontMetrics metrics(memo->font());
    // The client area leaves out the frame and the scroll bars that are on.
    const int frame = 2 * memo->frameWidth();
    const int verticalBar = memo->verticalScrollBar()->sizeHint().width();
    const int horizontalBar = Wrap ? 0 : memo->horizontalScrollBar()->sizeHint().height();
    const int clientWidth = metrics.horizontalAdvance(QLatin1Char('A')) * Cols + 5;
    const int clientHeight = metrics.height() * Rows + 5;
    SetBoundedSize(clientWidth + frame + verticalBar, clientHeight + frame + horizontalBar);
}
