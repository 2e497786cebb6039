// The viewer's input: link tracking, selection, link clicks, word selection,
// auto-scroll, the keyboard and posted form submissions.

#include "html/HtmlPane.h"

#include "platform/Paths.h"

#include <QCursor>
#include <QKeyEvent>

namespace {

constexpr int MaxAnchorLength = 255;
constexpr int MaxExtensionLength = 5;
constexpr int FastAutoScrollDistance = 15;
constexpr int FastAutoScrollFactor = 8;

// Letters and digits of Windows-1252, accented letters included; the
// multiplication and division signs are not.
bool IsWordChar(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
        || (c >= 192 && c != 215 && c != 247);
}

} // namespace

bool THtmlPane::LinkAtPoint(int x, int y, TObject*& formControl, std::unique_ptr<TUrlTarget>& link)
{
    formControl = nullptr;
    link.reset();
    return FSectionList.LinkAt(DocX(x), DocY(y), formControl, link);
}

void THtmlPane::DocMouseMove(Qt::KeyboardModifiers shift, int x, int y)
{
    // 1.
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
    FLastMouse = FPaintPanel->mapTo(this, QPoint(x, y));
    // 2. to 4.
    std::string url;
    std::string target;
    TObject* formControl = nullptr;
    std::unique_ptr<TUrlTarget> link;
    int imageX = 0;
    int imageY = 0;
    if (LinkAtPoint(x, y, formControl, link)) {
        FPaintPanel->setCursor(HtmlCursor(crHandPoint));
        if (!formControl && link) {
            url = link->Url;
            target = link->Target;
        }
    } else if (TImageObj* image
        = (OnImageClick || OnImageOver) ? FSectionList.ImageAt(DocX(x), DocY(y), imageX, imageY) : nullptr) {
        FPaintPanel->setCursor(Qt::ArrowCursor);
        if (OnImageOver)
            OnImageOver(this, image, shift, imageX, imageY);
    } else {
        TCharHit hit;
        const int index = FSectionList.CharIndexAt(DocX(x), DocY(y), hit);
        const bool overText = index >= 0 && !hit.BeyondEnd && !hit.BeforeText;
        FPaintPanel->setCursor(overText ? cursor() : QCursor(Qt::ArrowCursor));
    }
    // 5.
    if (url != FURL) {
        FURL = url;
        FTarget = target;
        if (OnHotSpotCovered)
            OnHotSpotCovered(this, url);
    }
    // 6. and 7.
    if (!FSelecting)
        return;
    if (!FAutoScrolling && (y <= 0 || y > height())) {
        FAutoScrolling = true;
        FAutoScrollTimer.start();
    }
    if (!FNoSelect)
        ExtendSelectionTo(x, y);
}

void THtmlPane::DocMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
    setFocus();
    FLinkClicked = false;
    if (button != Qt::LeftButton)
        return;
    FMouseDownOverDoc = true;
    FSelecting = true;
    TCharHit hit;
    FSelAnchor = FSectionList.CharIndexAt(DocX(x), DocY(y), hit);
    if (FSelAnchor < 0)
        return;
    if (FSectionList.SelE > FSectionList.SelB)
        FPaintPanel->update();
    FSectionList.SelB = FSectionList.SelE = FCaretPos = FSelAnchor;
}

void THtmlPane::ExtendSelectionTo(int x, int y)
{
    if (!FSelecting || FSelAnchor < 0)
        return;
    y = std::clamp(y, 0, height());
    TCharHit hit;
    const int index = FSectionList.CharIndexAt(DocX(x), DocY(y), hit);
    if (index != FCaretPos && index >= 0 && !FNoSelect) {
        FSectionList.SelB = std::min(FSelAnchor, index);
        FSectionList.SelE = std::max(FSelAnchor, index);
        FPaintPanel->update();
    }
    if (index >= 0)
        FCaretPos = index;
}

void THtmlPane::DocMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    // 1. and 2.
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
    TImageObj* image = nullptr;
    int imageX = 0;
    int imageY = 0;
    if (OnImageClick || OnRightClick)
        image = FSectionList.ImageAt(DocX(x), DocY(y), imageX, imageY);
    if (OnImageClick && image)
        OnImageClick(this, image, button, shift, imageX, imageY);
    TObject* formControl = nullptr;
    std::unique_ptr<TUrlTarget> link;
    // 3.
    if (button == Qt::RightButton && OnRightClick) {
        TRightClickParameters parameters;
        if (image) {
            parameters.ClickedImage = image;
            parameters.ImageClickX = imageX;
            parameters.ImageClickY = imageY;
        }
        if (LinkAtPoint(x, y, formControl, link) && !formControl && link) {
            parameters.LinkURL = link->Url;
            parameters.LinkTarget = link->Target;
        }
        OnRightClick(this, parameters);
        return;
    }
    // 4.
    if (button != Qt::LeftButton)
        return;
    ExtendSelectionTo(x, y);
    FSelecting = false;
    FAutoScrolling = false;
    FAutoScrollTimer.stop();
    if (!FMouseDownOverDoc)
        return;
    FMouseDownOverDoc = false;
    if (FSectionList.SelB < FSectionList.SelE || !LinkAtPoint(x, y, formControl, link))
        return;
    // An image button hears where its image was clicked and submits its form.
    if (auto* control = dynamic_cast<TSectionControl*>(formControl)) {
        if (FSectionList.ImageAt(DocX(x), DocY(y), imageX, imageY))
            control->ImageClick(imageX, imageY);
        return;
    }
    if (!link)
        return;
    FURL = link->Url;
    FTarget = link->Target;
    FLinkClicked = true;
    FollowLink();
}

bool THtmlPane::LinkClickHandled()
{
    bool handled = false;
    if (OnHotSpotClick)
        OnHotSpotClick(this, FURL, handled);
    return handled;
}

void THtmlPane::FollowLink()
{
    // 1. and 2.
    if (LinkClickHandled())
        return;
    const int state = GetScrollState();
    std::string s = FURL;
    // 3.
    if (!s.empty() && s.front() == '#') {
        if (JumpToAnchor(s))
            AddHistoryEntry(FShownFile, FTitle, FShownFileKind, state);
        return;
    }
    // 4.
    std::string destination;
    if (const size_t hash = s.find('#'); hash != std::string::npos) {
        destination = s.substr(hash, MaxAnchorLength);
        s.erase(hash);
    }
    // 5. to 8.
    const QString path = ExpandLinkName(s);
    const QString ext = ExtractFileExt(path).toUpper().left(MaxExtensionLength);
    if (ext == QLatin1String(".HTM") || ext == QLatin1String(".HTML")) {
        if (path != FShownFile)
            LoadHtmlFile(path + Win1252ToQString(destination));
        else if (JumpToAnchor(destination))
            AddHistoryEntry(FShownFile, FTitle, KindHtml, state);
    } else if (ext == QLatin1String(".BMP") || ext == QLatin1String(".GIF") || ext == QLatin1String(".JPG")
        || ext == QLatin1String(".JPEG") || ext == QLatin1String(".PNG")) {
        LoadImageFile(path);
    }
}

void THtmlPane::SelectWordAt(int x, int y)
{
    if (FNoSelect || FProcessing || FLinkClicked)
        return;
    TCharHit hit;
    int index = FSectionList.CharIndexAt(DocX(x), DocY(y), hit);
    if (index < 0)
        return;
    // The query rounds to the nearer character boundary: a point in the
    // right half of a character reports the index after it.
    if (hit.CaretX > DocX(x) && index > 0)
        --index;
    FCaretPos = index;
    int cx = 0;
    int cy = 0;
    if (!FSectionList.CharIndexToXY(index, cx, cy) || cy != hit.LineTop)
        return;
    char ch = 0;
    TSectionBase* owner = nullptr;
    if (!FSectionList.CharAtIndex(index, ch, owner) || !IsWordChar(static_cast<unsigned char>(ch)))
        return;
    auto wordCharAt = [&](int i) {
        char c = 0;
        TSectionBase* other = nullptr;
        return FSectionList.CharAtIndex(i, c, other) && other == owner && IsWordChar(static_cast<unsigned char>(c));
    };
    int first = index;
    while (first > 0 && wordCharAt(first - 1))
        --first;
    int last = index;
    while (wordCharAt(last + 1))
        ++last;
    FSectionList.SelB = first;
    FSectionList.SelE = last + 1;
    FPaintPanel->update();
}

// ---------------------------------------------------------------------------
// Auto-scroll: while the button is held above or below the control.

int THtmlPane::AutoScrollStep(int y) const
{
    const int small = FVScrollBar->SmallChange;
    if (y < -FastAutoScrollDistance)
        return -FastAutoScrollFactor * small;
    if (y <= 0)
        return -small;
    if (y > height() + FastAutoScrollDistance)
        return FastAutoScrollFactor * small;
    return small;
}

void THtmlPane::AutoScrollTick()
{
    const int y = FLastMouse.y();
    if (!FAutoScrolling || (y > 0 && y <= height())) {
        FAutoScrolling = false;
        FAutoScrollTimer.stop();
        return;
    }
    const int position = std::max(0, std::min(VScrollPosition() + AutoScrollStep(y), MaxVScroll()));
    FVScrollBar->SetPosition(position);
    FSectionList.SetScrollOffset(position);
    const QPoint panelPoint = FPaintPanel->mapFrom(this, FLastMouse);
    ExtendSelectionTo(panelPoint.x(), panelPoint.y());
    FPaintPanel->update();
}

// ---------------------------------------------------------------------------
// Keyboard

void THtmlPane::keyPressEvent(QKeyEvent* event)
{
    const int position = VScrollPosition();
    switch (event->key()) {
    case Qt::Key_PageUp:
        MoveVertically(position - FVScrollBar->LargeChange);
        break;
    case Qt::Key_PageDown:
        MoveVertically(position + FVScrollBar->LargeChange);
        break;
    case Qt::Key_End:
        MoveVertically(FDocHeight);
        break;
    case Qt::Key_Home:
        MoveVertically(0);
        break;
    case Qt::Key_Up:
        MoveVertically(position - FVScrollBar->SmallChange);
        break;
    case Qt::Key_Down:
        MoveVertically(position + FVScrollBar->SmallChange);
        break;
    case Qt::Key_Left:
        SetHorizontal(std::max(0, FHScrollBar->value() - FHScrollBar->singleStep()));
        FPaintPanel->update();
        break;
    case Qt::Key_Right:
        SetHorizontal(
            std::min(std::max(0, FHMax - FPaintPanel->width()), FHScrollBar->value() + FHScrollBar->singleStep()));
        FPaintPanel->update();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void THtmlPane::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    DrawBorder();
}

void THtmlPane::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    DrawBorder();
}

// ---------------------------------------------------------------------------
// Forms

void THtmlPane::SubmitForm(const std::string& action, const std::string& target, const std::string& encType,
    const std::string& method, std::unique_ptr<TStringList> results)
{
    if (!FOnFormSubmit)
        return;
    FPendingSubmits.push_back({ action, target, encType, method, std::move(results) });
    // Reported from the event loop, after the form's own mouse or key call.
    QMetaObject::invokeMethod(this, &THtmlPane::PostedSubmit, Qt::QueuedConnection);
}

void THtmlPane::PostedSubmit()
{
    if (FPendingSubmits.empty())
        return;
    TPendingSubmit submit = std::move(FPendingSubmits.front());
    FPendingSubmits.erase(FPendingSubmits.begin());
    if (FOnFormSubmit)
        FOnFormSubmit(this, submit.Action, submit.Target, submit.EncType, submit.Method, std::move(submit.Results));
}

void THtmlPane::FormControlEntered(int y)
{
    const int position = VScrollPosition();
    if (y >= position && y <= position + FPaintPanel->height() - 20)
        return;
    SetVScrollPosition(y - FPaintPanel->height() / 2);
    update();
}
