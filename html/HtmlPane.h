#pragma once
// The HTML viewer control: one page, text file or image at a time. It owns
// the document (TSectionList), has the parser fill it from a file, lays it
// out for its width, paints it double-buffered on an inner panel, scrolls it
// with a 32-bit vertical bar and a horizontal bar, tracks the link under the
// mouse, selects text, follows links and reports what it meets through its
// events. The page window and the information window each hold one.

#include "html/HtmlParser.h"
#include "html/HtmlSections.h"
#include "platform/StringList.h"

#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class THtmlPane;

enum class THTMLBorderStyle { htFocused, htNone, htSingle };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// What a right click reports.
class TRightClickParameters : public TObject {
public:
    std::string LinkURL;
    std::string LinkTarget;
    TImageObj* ClickedImage = nullptr;
    int ImageClickX = 0;
    int ImageClickY = 0;
};

// One history entry's place: a scroll state and the kind of file.
class PositionObj : public TObject {
public:
    int SavedPosition = 0;
    int SavedFileKind = 0;
};

using THotSpotEvent = std::function<void(QObject* Sender, const std::string& SRC)>;
using THotSpotClickEvent = std::function<void(QObject* Sender, const std::string& SRC, bool& Handled)>;
// The handler owns Results.
using TFormSubmitEvent = std::function<void(QObject* Sender, const std::string& Action, const std::string& Target,
    const std::string& EncType, const std::string& Method, std::unique_ptr<TStringList> Results)>;
using TNotifyEvent = std::function<void(QObject* Sender)>;
using TProcessingEvent = std::function<void(QObject* Sender, bool ProcessingOn)>;
using TMetaRefreshType = std::function<void(QObject* Sender, int Delay, const std::string& URL)>;
using TImageClickEvent = std::function<void(
    QObject* Sender, TImageObj* Obj, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
using TImageOverEvent = std::function<void(QObject* Sender, TImageObj* Obj, Qt::KeyboardModifiers Shift, int X, int Y)>;
using TObjectClickEvent = std::function<void(QObject* Sender, TObject* Obj, const std::string& OnClick)>;
using TRightClickEvent = std::function<void(QObject* Sender, TRightClickParameters& Parameters)>;
using TMouseEvent
    = std::function<void(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;

// The cursors of the viewer: a pointing hand over links, an I-beam over text.
enum THtmlCursor { crHandPoint = 1, crIBeamText = 2 };
QCursor HtmlCursor(THtmlCursor cursor);

// Lines are laid out and drawn at most this wide.
constexpr int MaxLayoutClipWidth = 2000;

// ---------------------------------------------------------------------------
// The document surface. Painting goes through an off-screen image the size
// of the clip rectangle, so the page never flickers.
class TPaintPanel : public QWidget {
    Q_OBJECT
public:
    TPaintPanel(THtmlPane* viewer, QWidget* parent);

    THtmlPane* Viewer;
    std::function<void(QPainter& canvas, const QRect& area)> OnPaint;
    // Set by the viewer when the width changes: the next paint starts from
    // the background everywhere.
    bool EraseBackground = false;
    // The off-screen canvas; exists only during a paint.
    QPainter* Canvas = nullptr;
    // The rectangle of the last paint (tests check that a one-line scroll
    // repaints only the uncovered strip).
    QRect LastPaintRect;
    int PaintCount = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// ---------------------------------------------------------------------------
// The box under the panel that carries the one-pixel frame.
class TBorderBox : public QWidget {
    Q_OBJECT
public:
    TBorderBox(THtmlPane* viewer, QWidget* parent);
    THtmlPane* Viewer;
    // Repaints the frame when its colour changed since it was drawn.
    void Refresh();

private:
    QColor FDrawnColor;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// ---------------------------------------------------------------------------
// The vertical bar: 32-bit position, range and page as the document sees
// them (position runs 0..Max - Page + 1).
class T32ScrollBar : public QScrollBar {
    Q_OBJECT
public:
    explicit T32ScrollBar(QWidget* parent);

    int Position() const { return FPosition; }
    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Page() const { return FPage; }
    // Does nothing when all four are unchanged.
    void SetParams(int position, int page, int max, int min);
    void SetPosition(int position) { SetParams(position, FPage, FMax, FMin); }

    int SmallChange = 16;
    int LargeChange = 1;

private:
    int FPosition = 0;
    int FMin = 0;
    int FMax = 0;
    int FPage = 1;
};

// ---------------------------------------------------------------------------
class THtmlPane : public QWidget {
    Q_OBJECT
public:
    explicit THtmlPane(QWidget* parent = nullptr);
    ~THtmlPane() override;

    // Loading (ignored while busy or for an empty name). A missing file
    // raises EInOutError "Can't locate file: <name>" and keeps the page.
    void LoadHtmlFile(const QString& name);
    void LoadTextFile(const QString& name);
    void LoadImageFile(const QString& name);
    virtual void ClearDocument();
    bool JumpToAnchor(const std::string& name);
    void ScrollToY(int y);
    int GetScrollState() const;
    void SetScrollState(int state);
    virtual QString ExpandLinkName(const std::string& name) const;
    void Reformat();
    void ClearHistory();
    void LayoutDocument();
    void ArrangeScrollBars();
    void ExtendSelectionTo(int x, int y);
    void SelectWordAt(int x, int y);
    virtual bool LinkClickHandled();
    virtual void FollowLink();
    void MetaCallback(const std::string& HttpEq, const std::string& Name, const std::string& Content);
    // The document's submit routine (installed while OnFormSubmit is set):
    // keeps copies and reports them from the event loop.
    void SubmitForm(const std::string& action, const std::string& target, const std::string& encType,
        const std::string& method, std::unique_ptr<TStringList> results);
    // A form control got the focus at document y: bring it into view.
    void FormControlEntered(int y);
    // The auto-scroll step for a mouse at control y (16 = small change).
    int AutoScrollStep(int y) const;

    // Published properties.
    bool ViewImages() const { return FSectionList.ImageContext.ShowImages; }
    void SetViewImages(bool value);
    THTMLBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(THTMLBorderStyle value);
    int HistoryMaxCount() const { return FHistoryMaxCount; }
    void SetHistoryMaxCount(int value);
    const std::string& DefFontName() const { return FFontName; }
    void SetDefFontName(const std::string& value);
    const std::string& DefPreFontName() const { return FPreFontName; }
    void SetDefPreFontName(const std::string& value);
    int DefFontSize() const { return FFontSize; }
    void SetDefFontSize(int value);
    TColor DefFontColor() const { return FFontColor; }
    void SetDefFontColor(TColor value);
    TColor DefHotSpotColor() const { return FHotSpotColor; }
    void SetDefHotSpotColor(TColor value);
    TColor DefBackground() const { return FBackground; }
    void SetDefBackground(TColor value);
    int ImageCacheCount() const { return FImageCacheCount; }
    void SetImageCacheCount(int value);
    bool NoSelect() const { return FNoSelect; }
    void SetNoSelect(bool value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    int CharSet() const { return FCharSet; }
    void SetCharSet(int value);
    int MarginHeight() const { return FMarginHeight; }
    void SetMarginHeight(int value);
    int MarginWidth() const { return FMarginWidth; }
    void SetMarginWidth(int value);
    const std::string& ServerRoot() const { return FServerRoot; }
    void SetServerRoot(const std::string& value);

    // Events stored in the document.
    void SetOnImageRequest(TGetImageEvent handler);
    void SetOnScript(TScriptEvent handler);
    void SetOnObjectClick(TObjectClickEvent handler) { FOnObjectClick = std::move(handler); }
    const TObjectClickEvent& OnObjectClick() const { return FOnObjectClick; }
    void SetOnFormSubmit(TFormSubmitEvent handler);
    bool SubmitInstalled() const { return static_cast<bool>(FOnFormSubmit); }

    // Events.
    THotSpotEvent OnHotSpotCovered;
    THotSpotClickEvent OnHotSpotClick;
    TNotifyEvent OnHistoryChange;
    TProcessingEvent OnProcessing;
    TIncludeType OnInclude;
    TSoundType OnSoundRequest;
    TMetaType OnMeta;
    TMetaRefreshType OnMetaRefresh;
    TImageClickEvent OnImageClick;
    TImageOverEvent OnImageOver;
    TRightClickEvent OnRightClick;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

    // Public state.
    const QString& ShownFile() const { return FShownFile; }
    int ShownFileKind() const { return FShownFileKind; }
    const std::string& PageTitle() const { return FTitle; }
    const std::string& BaseLocation() const { return FBase; }
    const std::string& BaseFrameTarget() const { return FBaseTarget; }
    const std::string& LinkURL() const { return FURL; }
    const std::string& LinkTarget() const { return FTarget; }
    int VScrollPosition() const { return FVScrollBar->Position(); }
    void SetVScrollPosition(int y);
    int HScrollPosition() const { return FHScrollBar->value(); }
    int DocHeight() const { return FDocHeight; }
    int MaxWidth() const { return FMaxWidth; }
    bool Processing() const { return FProcessing; }
    void SetProcessing(bool value);
    int CaretPos() const { return FCaretPos; }
    int ScrollBarWidth() const { return FScrollWidth; }
    const TStringList& NameList() const { return FNameList; }
    const TStringList& History() const { return FHistory; }
    const TStringList& TitleHistory() const { return FTitleHistory; }
    const TFreeList& PositionHistory() const { return FPositionHistory; }
    int HistoryIndex() const { return 0; }
    TSectionList& SectionList() { return FSectionList; }
    TPaintPanel* PaintPanel() const { return FPaintPanel; }
    T32ScrollBar* VScrollBar() const { return FVScrollBar; }
    QScrollBar* HScrollBar() const { return FHScrollBar; }
    QWidget* BorderPanel() const { return FBorderPanel; }
    bool AutoScrolling() const { return FAutoScrolling; }
    // The selection as the document holds it, [SelStart, SelEnd).
    int SelStart() const { return FSectionList.SelB; }
    int SelEnd() const { return FSectionList.SelE; }
    std::string SelectedText() { return FSectionList.SelectionText(); }

    // The panel's painting: background, then the document.
    void PaintBackground(QPainter& canvas, const QRect& area);
    virtual void PaintDocument(QPainter& canvas, const QRect& area);
    void DrawBorder();
    // The frame's pen colour.
    QColor BorderColor() const;
    virtual void DocMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    virtual void DocMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    virtual void DocMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    bool LayingOut() const { return FLayingOut; }
    // The palette the control paints through: the shared 256-colour one on
    // 8-bit displays, none on deeper ones.
    static const QVector<QRgb>* PaletteQuery();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum TFileKind { KindHtml = 0, KindText = 1, KindImage = 2 };
    void LoadFile(const QString& name, TFileKind kind);
    void LoadDocument(const QString& name, TFileKind kind);
    void AddHistoryEntry(const QString& oldFile, const std::string& oldTitle, int oldKind, int oldState);
    void TerminateSound();
    void GiveDefaults();
    void ApplyFontChange();
    // Re-lays out keeping the position, busy and with the hourglass.
    void RelayoutKeepingPosition(bool loadBackground);
    void LayoutKeepingScrollState();
    class TProcessingScope;
    int SectionBase(int index) const;
    int PanelHeight() const { return FPaintPanel->height(); }
    int MaxVScroll() const { return std::max(0, FDocHeight - PanelHeight()); }
    // Moves the vertical position, scrolling pixels for a one-line step.
    void MoveVertically(int newPosition);
    void SetHorizontal(int position);
    void VScrollAction(int action);
    void HScrollMoved(int value);
    void PostedSubmit();
    void AutoScrollTick();
    // Document coordinates of a panel point.
    int DocX(int x) const { return x - FMarginWidth + FHScrollBar->value(); }
    int DocY(int y) const { return y + FSectionList.YOff; }
    bool LinkAtPoint(int x, int y, TObject*& formControl, std::unique_ptr<TUrlTarget>& link);

    TBorderBox* FBorderPanel;
    TPaintPanel* FPaintPanel;
    T32ScrollBar* FVScrollBar;
    QScrollBar* FHScrollBar;
    int FScrollWidth = 16;
    int FHMax = 0;

    // The model objects have throwing destructors; held through pointers so
    // that the widget's destructor stays noexcept.
    std::unique_ptr<TSectionList> FDocument;
    std::unique_ptr<TStringList> FNames;
    std::unique_ptr<TStringList> FFiles;
    std::unique_ptr<TFreeList> FPositions;
    std::unique_ptr<TStringList> FTitles;
    TSectionList& FSectionList;
    TStringList& FNameList;
    TStringList& FHistory;
    TFreeList& FPositionHistory;
    TStringList& FTitleHistory;

    THTMLBorderStyle FBorderStyle = THTMLBorderStyle::htFocused;
    int FHistoryMaxCount = 0;
    std::string FFontName = "Times New Roman";
    std::string FPreFontName = "Courier New";
    int FFontSize = 12;
    TColor FFontColor = clBtnText;
    TColor FHotSpotColor = 0xFF0000; // blue
    TColor FBackground = clBtnFace;
    int FImageCacheCount = 5;
    bool FNoSelect = false;
    TScrollStyle FScrollBars = TScrollStyle::ssBoth;
    int FCharSet = 1; // the default character set
    int FMarginHeight = 5;
    int FMarginWidth = 10;
    std::string FServerRoot;

    TFormSubmitEvent FOnFormSubmit;
    TObjectClickEvent FOnObjectClick;

    QString FShownFile;
    int FShownFileKind = KindHtml;
    std::string FTitle;
    std::string FBase;
    std::string FBaseTarget;
    std::string FURL;
    std::string FTarget;
    int FDocHeight = 0;
    int FMaxWidth = 0;
    int FOldWidth = -1;
    bool FProcessing = false;
    bool FLayingOut = false;
    int FCaretPos = 0;
    int FSelAnchor = -1;
    bool FMouseDownOverDoc = false;
    bool FSelecting = false;
    bool FAutoScrolling = false;
    bool FLinkClicked = false;
    QPoint FLastMouse; // control coordinates, for auto-scroll
    QTimer FAutoScrollTimer;
    int FRefreshDelay = 0;
    std::string FRefreshURL;

    struct TPendingSubmit {
        std::string Action, Target, EncType, Method;
        std::unique_ptr<TStringList> Results;
    };
    std::vector<TPendingSubmit> FPendingSubmits;
};
