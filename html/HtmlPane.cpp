// The viewer control: construction, properties, loading, layout, scroll-bar
// arrangement, anchors and history.

#include "html/HtmlPane.h"

#include "html/HtmlForms.h"
#include "html/HtmlImageCache.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QCursor>
#include <QResizeEvent>

namespace {

constexpr int MaxAnchorLength = 255;
constexpr int MaxImagePageLength = 255;
constexpr int MinFontSize = 6;
constexpr int MaxMargin = 50;
constexpr int MaxImageCacheCount = 20;

// The hourglass for the length of a scope; the previous cursor comes back
// also when the scope is left by an exception.
class TBusyCursor {
public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

std::string TrimmedServerRoot(const std::string& value)
{
    std::string root = TrimSpaces(value);
    if (!root.empty() && root.back() == '\\')
        root.pop_back();
    return root;
}

} // namespace

QCursor HtmlCursor(THtmlCursor cursor)
{
    return QCursor(cursor == crHandPoint ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

THtmlPane::THtmlPane(QWidget* parent)
    : QWidget(parent)
    , FBorderPanel(new TBorderBox(this, this))
    , FPaintPanel(new TPaintPanel(this, this))
    , FVScrollBar(new T32ScrollBar(this))
    , FHScrollBar(new QScrollBar(Qt::Horizontal, this))
    , FDocument(std::make_unique<TSectionList>(this))
    , FNames(std::make_unique<TStringList>())
    , FFiles(std::make_unique<TStringList>())
    , FPositions(std::make_unique<TFreeList>())
    , FTitles(std::make_unique<TStringList>())
    , FSectionList(*FDocument)
    , FNameList(*FNames)
    , FHistory(*FFiles)
    , FPositionHistory(*FPositions)
    , FTitleHistory(*FTitles)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(HtmlCursor(crIBeamText));
    FBorderPanel->setAttribute(Qt::WA_TransparentForMouseEvents);

    FPaintPanel->OnPaint = [this](QPainter& canvas, const QRect& area) { PaintDocument(canvas, area); };
    FPaintPanel->setAutoFillBackground(false);
    FSectionList.Animations.SetSurface(FPaintPanel);

    FVScrollBar->SmallChange = 16;
    FVScrollBar->setSingleStep(16);
    FVScrollBar->setFocusPolicy(Qt::NoFocus);
    FVScrollBar->hide();
    connect(FVScrollBar, &QScrollBar::actionTriggered, this, &THtmlPane::VScrollAction);

    FHScrollBar->setSingleStep(15);
    FHScrollBar->setFocusPolicy(Qt::NoFocus);
    FHScrollBar->setRange(0, 0);
    FHScrollBar->hide();
    connect(FHScrollBar, &QScrollBar::valueChanged, this, &THtmlPane::HScrollMoved);

    FScrollWidth = FVScrollBar->sizeHint().width();

    FSectionList.OnBackgroundChange = [this](TColor color) {
        QPalette palette = FPaintPanel->palette();
        palette.setColor(QPalette::Window, ToQColor(color));
        FPaintPanel->setPalette(palette);
    };
    FSectionList.ImageContext.ExpandImageName
        = [this](const std::string& source) { return QStringToWin1252(ExpandLinkName(source)); };
    FSectionList.SetDefaults(FFontName, FPreFontName, FBackground, FHotSpotColor, FFontColor, FFontSize);
    InstallFormFactories(*this);

    FAutoScrollTimer.setInterval(100);
    connect(&FAutoScrollTimer, &QTimer::timeout, this, &THtmlPane::AutoScrollTick);

    resize(150, 150);
    FBorderPanel->setGeometry(rect());
    ArrangeScrollBars();
}

THtmlPane::~THtmlPane()
{
    // Sections may hold window controls that are children of the panel:
    // the document goes first.
    FSectionList.Clear();
}

// ---------------------------------------------------------------------------
// Loading

void THtmlPane::LoadHtmlFile(const QString& name) { LoadFile(name, KindHtml); }
void THtmlPane::LoadTextFile(const QString& name) { LoadFile(name, KindText); }
void THtmlPane::LoadImageFile(const QString& name) { LoadFile(name, KindImage); }

void THtmlPane::LoadFile(const QString& name, TFileKind kind)
{
    if (FProcessing || name.isEmpty())
        return;
    const QString oldFile = FShownFile;
    const std::string oldTitle = FTitle;
    const int oldKind = FShownFileKind;
    const int oldState = GetScrollState();
    LoadDocument(name, kind);
    if (FShownFile != oldFile || FShownFileKind != oldKind)
        AddHistoryEntry(oldFile, oldTitle, oldKind, oldState);
}

void THtmlPane::TerminateSound()
{
    if (OnSoundRequest)
        OnSoundRequest(std::string(), 0, true);
}

void THtmlPane::GiveDefaults()
{
    FSectionList.SetDefaults(FFontName, FPreFontName, FBackground, FHotSpotColor, FFontColor, FFontSize);
}

void THtmlPane::LoadDocument(const QString& name, TFileKind kind)
{
    // 1. to 3.
    TBusyCursor hourglass;
    QString fileName = name;
    std::string destination;
    const int hash = name.indexOf(QLatin1Char('#'));
    if (hash >= 0) {
        destination = QStringToWin1252(name.mid(hash + 1).left(MaxAnchorLength));
        fileName = name.left(hash);
    }
    FRefreshDelay = 0;
    SetProcessing(true);

    // 4. Nothing is cleared before the file is known to exist.
    if (!FileSystem().FileExists(fileName)) {
        SetProcessing(false);
        throw EInOutError(QStringLiteral("Can't locate file: ") + fileName);
    }

    // 5.
    FSectionList.Clear();
    BitmapList().Age();
    GiveDefaults();
    FNameList.Clear();
    FCaretPos = 0;
    FSelAnchor = -1;

    const QString previous = FShownFile;
    const QString fullName = ExpandFileName(fileName, FileSystem().CurrentFolder());
    THtmlParseResult result;
    auto finish = [&]() {
        // 7. to 10.
        FShownFile = fullName;
        FShownFileKind = kind;
        FTitle = result.Title;
        FBase = result.Base;
        FBaseTarget = result.BaseTarget;
        FSectionList.BackgroundImage();
        LayoutDocument();
        if (!destination.empty())
            JumpToAnchor(destination);
        else if (FShownFile != previous) {
            ScrollToY(0);
            SetHorizontal(0);
        }
        FPaintPanel->update();
        SetProcessing(false);
    };
    try {
        // 6.
        switch (kind) {
        case KindHtml:
            TerminateSound();
            result = ParseHtmlFile(FSectionList, FNameList, fileName, OnInclude, OnSoundRequest,
                [this](const std::string& httpEq, const std::string& metaName, const std::string& content) {
                    MetaCallback(httpEq, metaName, content);
                });
            break;
        case KindText:
            result = ParseTextFile(FSectionList, FNameList, fileName);
            break;
        case KindImage: {
            // The page's one image is named by its full path: a relative name
            // would be taken from the image's own folder a second time.
            const std::string page = ("<img src=\"" + QStringToWin1252(fullName) + "\">").substr(0, MaxImagePageLength);
            result = ParseHtmlBuffer(FSectionList, FNameList, page.data(), page.size(), OnInclude);
            break;
        }
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();

    // 11. Reported once the load is over.
    if (FRefreshDelay > 0 && OnMetaRefresh)
        OnMetaRefresh(this, FRefreshDelay, FRefreshURL);
}

void THtmlPane::MetaCallback(const std::string& HttpEq, const std::string& Name, const std::string& Content)
{
    if (OnMeta)
        OnMeta(HttpEq, Name, Content);
    if (!OnMetaRefresh || LowerCase1252(HttpEq) != "refresh")
        return;
    int delay = -1;
    const size_t semicolon = Content.find(';');
    if (semicolon != std::string::npos) {
        bool ok = false;
        const int value = QString::fromLatin1(TrimSpaces(Content.substr(0, semicolon)).c_str()).toInt(&ok);
        delay = ok ? value : -1;
    }
    const size_t url = LowerCase1252(Content).find("url=");
    if (delay >= 1 && url != std::string::npos) {
        FRefreshDelay = delay;
        FRefreshURL = Content.substr(url + 4);
    }
}

void THtmlPane::ClearDocument()
{
    if (FProcessing)
        return;
    FSectionList.Clear();
    GiveDefaults();
    FNameList.Clear();
    FBase.clear();
    FBaseTarget.clear();
    FTitle.clear();
    FDocHeight = 0;
    FMaxWidth = 0;
    FVScrollBar->SetParams(0, FVScrollBar->Page(), 0, 0);
    FSectionList.SetScrollOffset(0);
    FVScrollBar->hide();
    FHScrollBar->hide();
    FVScrollBar->resize(FVScrollBar->width(), PanelHeight());
    FCaretPos = 0;
    FSelAnchor = -1;
    TerminateSound();
    FPaintPanel->update();
}

void THtmlPane::SetProcessing(bool value)
{
    if (value == FProcessing)
        return;
    FProcessing = value;
    if (OnProcessing)
        OnProcessing(this, value);
}

// ---------------------------------------------------------------------------
// Layout and scroll bars

void THtmlPane::LayoutDocument()
{
    FLayingOut = true;
    FMaxWidth = 0;
    struct TClearFlag {
        bool& Flag;
        ~TClearFlag() { Flag = false; }
    } clearFlag { FLayingOut };
    const int allowance = FBorderStyle == THTMLBorderStyle::htNone ? 1 : 3;
    const bool vertical = FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth;
    int available = width() - allowance - 2 * FMarginWidth - (vertical ? FScrollWidth : 0);
    available = std::max(available, 1);
    int widest = 0;
    int chars = 0;
    const int height = FSectionList.DoLayout(FMarginHeight, available, widest, chars);
    FMaxWidth = widest;
    FDocHeight = height + (vertical ? 2 : 1) * FMarginHeight;
    ArrangeScrollBars();
}

void THtmlPane::ArrangeScrollBars()
{
    // 1.
    FMaxWidth = std::min(FMaxWidth, MaxLayoutClipWidth);
    const int border = FBorderStyle == THTMLBorderStyle::htNone ? 0 : 1;
    FPaintPanel->move(border, border);
    const int need = 2 * FMarginWidth + FMaxWidth;
    const int sw = FScrollWidth;
    const int w = width();
    const int h = height();
    const bool canVertical = FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth;
    const bool canHorizontal = FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth;
    // 2. and 3.
    const bool showV = canVertical
        && (FDocHeight >= h - 2 || (FScrollBars == TScrollStyle::ssBoth && FDocHeight >= h - 2 - sw && need > w - sw));
    const bool showH = canHorizontal && (need > w || (showV && need > w - sw));
    // 4.
    const int innerW = showV ? w - sw : w;
    const int panelW = std::max(0, innerW - 2 * border);
    const int panelH = std::max(0, showH ? h - 2 * border - sw : h - 2 * border);
    if (FPaintPanel->size() != QSize(panelW, panelH))
        FPaintPanel->resize(panelW, panelH);
    // 5.
    FHScrollBar->setVisible(showH);
    FHScrollBar->setPageStep(std::max(1, innerW - 20));
    FHScrollBar->setGeometry(border, h - sw - border, std::max(0, innerW - border), sw);
    FHMax = std::max(0, std::max(need, innerW - 2 * border));
    FHScrollBar->setRange(0, std::max(0, FHMax - panelW));
    // 6.
    FVScrollBar->setGeometry(w - sw - border, border, sw, panelH);
    FVScrollBar->LargeChange = std::max(1, panelH - 16);
    FVScrollBar->setVisible(showV);
    FVScrollBar->SetParams(FVScrollBar->Position(), panelH + 1, FDocHeight, 0);
}

void THtmlPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FBorderPanel->setGeometry(rect());
    if (width() == FOldWidth || FProcessing) {
        ArrangeScrollBars();
    } else {
        FPaintPanel->EraseBackground = true;
        Reformat();
        FOldWidth = width();
    }
    if (FDocHeight < PanelHeight())
        ScrollToY(0);
    else
        ScrollToY(VScrollPosition());
    SetHorizontal(std::min(FHScrollBar->value(), FHScrollBar->maximum()));
}

// Busy from construction to destruction, however the work inside ends.
class THtmlPane::TProcessingScope {
public:
    explicit TProcessingScope(THtmlPane& pane) : FPane(pane) { FPane.SetProcessing(true); }
    ~TProcessingScope() noexcept(false) { FPane.SetProcessing(false); }
    TProcessingScope(const TProcessingScope&) = delete;
    TProcessingScope& operator=(const TProcessingScope&) = delete;

private:
    THtmlPane& FPane;
};

void THtmlPane::LayoutKeepingScrollState()
{
    const int state = GetScrollState();
    LayoutDocument();
    SetScrollState(state);
}

void THtmlPane::Reformat()
{
    if (FProcessing)
        return;
    TProcessingScope busy(*this);
    LayoutKeepingScrollState();
}

void THtmlPane::ScrollToY(int y)
{
    y = std::max(0, std::min(y, MaxVScroll()));
    FVScrollBar->SetPosition(y);
    FSectionList.SetScrollOffset(y);
    FPaintPanel->update();
}

void THtmlPane::SetVScrollPosition(int y)
{
    const int clamped = std::max(0, std::min(y, MaxVScroll()));
    if (clamped != VScrollPosition())
        ScrollToY(clamped);
}

void THtmlPane::SetHorizontal(int position)
{
    const QSignalBlocker block(FHScrollBar);
    FHScrollBar->setValue(std::max(0, position));
}

int THtmlPane::GetScrollState() const
{
    TSectionBase* section = nullptr;
    int top = 0;
    int index = 0;
    if (!FSectionList.SectionAt(VScrollPosition(), section, top, index))
        return 0;
    const uint32_t offset = static_cast<uint32_t>(VScrollPosition() - SectionBase(index)) & 0xFFFFu;
    return static_cast<int>((static_cast<uint32_t>(index) << 16) | offset);
}

void THtmlPane::SetScrollState(int state)
{
    if (state < 0)
        return;
    const int index = state >> 16;
    if (index >= FSectionList.Count())
        return;
    ScrollToY(SectionBase(index) + (state & 0xFFFF));
}

// The top a scroll state counts from: the section's laid-out top (the first
// section's is 0, so that the top margin belongs to it and a view at the very
// top stays there).
int THtmlPane::SectionBase(int index) const { return index == 0 ? 0 : FSectionList.Section(index)->YPosition; }

bool THtmlPane::JumpToAnchor(const std::string& name)
{
    if (name.empty())
        return false;
    const std::string key = UpperCase1252(name.front() == '#' ? name.substr(1) : name);
    const int index = FNameList.IndexOf(Win1252ToQString(key));
    if (index < 0)
        return false;
    auto* marker = dynamic_cast<TSectionBase*>(FNameList.Objects(index));
    if (!marker)
        return false;
    ScrollToY(marker->YPosition);
    SetHorizontal(0);
    FPaintPanel->update();
    return true;
}

QString THtmlPane::ExpandLinkName(const std::string& name) const
{
    std::string result = UrlToPathFrom(TrimSpaces(name), FServerRoot);
    if (!result.empty() && result.front() == '\\')
        return ExpandFileName(Win1252ToQString(result), FileSystem().CurrentFolder());
    const bool drive = result.size() >= 2 && result[1] == ':';
    const bool unc = result.rfind("\\\\", 0) == 0;
    if (!drive && !unc && LowerCase1252(FBase) != "dospath") {
        const QString prefix = !FBase.empty() ? Win1252ToQString(UrlToPath(FBase)) : ExtractFilePath(FShownFile);
        return ExpandFileName(prefix + Win1252ToQString(result), FileSystem().CurrentFolder());
    }
    return Win1252ToQString(result);
}

// ---------------------------------------------------------------------------
// History

void THtmlPane::AddHistoryEntry(const QString& oldFile, const std::string& oldTitle, int oldKind, int oldState)
{
    if (FHistoryMaxCount < 1 || FShownFile.isEmpty())
        return;
    if (oldFile == FShownFile && oldKind == FShownFileKind && oldState == GetScrollState())
        return;
    if (FHistory.Count() > 0 && !oldFile.isEmpty()) {
        FHistory.SetString(0, oldFile);
        auto* place = FPositionHistory.ItemAs<PositionObj>(0);
        place->SavedPosition = oldState;
        place->SavedFileKind = oldKind;
        FTitleHistory.SetString(0, Win1252ToQString(oldTitle));
    }
    auto place = std::make_unique<PositionObj>();
    place->SavedPosition = GetScrollState();
    place->SavedFileKind = FShownFileKind;
    FHistory.Insert(0, FShownFile);
    FPositionHistory.Insert(0, place.release());
    FTitleHistory.Insert(0, Win1252ToQString(FTitle));
    if (FHistory.Count() > FHistoryMaxCount) {
        FHistory.Delete(FHistoryMaxCount);
        FPositionHistory.Delete(FHistoryMaxCount);
        FTitleHistory.Delete(FHistoryMaxCount);
    }
    if (OnHistoryChange)
        OnHistoryChange(this);
}

void THtmlPane::ClearHistory()
{
    const bool hadEntries = FHistory.Count() > 0;
    FHistory.Clear();
    FPositionHistory.Clear();
    FTitleHistory.Clear();
    if (hadEntries && OnHistoryChange)
        OnHistoryChange(this);
}

// ---------------------------------------------------------------------------
// Properties

void THtmlPane::RelayoutKeepingPosition(bool loadBackground)
{
    TBusyCursor hourglass;
    {
        TProcessingScope busy(*this);
        if (FSectionList.Count() > 0) {
            if (loadBackground)
                FSectionList.BackgroundImage();
            LayoutKeepingScrollState();
        }
    }
    FPaintPanel->update();
}

void THtmlPane::SetViewImages(bool value)
{
    if (value == ViewImages() || FProcessing)
        return;
    FSectionList.ImageContext.ShowImages = value;
    // Images sized while they were off (or on) are measured again.
    for (TObject* item : FSectionList)
        if (auto* section = dynamic_cast<TSection*>(item))
            for (TObject* image : section->Images)
                static_cast<TImageObj*>(image)->ResetImage();
    FSectionList.BackgroundTried = false;
    RelayoutKeepingPosition(true);
}

void THtmlPane::SetBorderStyle(THTMLBorderStyle value)
{
    FBorderStyle = value;
    ArrangeScrollBars();
    DrawBorder();
}

void THtmlPane::SetHistoryMaxCount(int value)
{
    if (value < 0 || value == FHistoryMaxCount)
        return;
    const bool decrease = value < FHistoryMaxCount;
    FHistoryMaxCount = value;
    if (decrease)
        ClearHistory();
}

void THtmlPane::ApplyFontChange()
{
    FSectionList.SetDefaults(FFontName, FPreFontName, FSectionList.Background, FHotSpotColor, FFontColor, FFontSize);
    if (FSectionList.Count() > 0)
        Reformat();
    FPaintPanel->update();
}

void THtmlPane::SetDefFontName(const std::string& value)
{
    if (LowerCase1252(value) == LowerCase1252(FFontName))
        return;
    FFontName = value.substr(0, TSectionList::MaxFontName);
    ApplyFontChange();
}

void THtmlPane::SetDefPreFontName(const std::string& value)
{
    if (LowerCase1252(value) == LowerCase1252(FPreFontName))
        return;
    FPreFontName = value.substr(0, TSectionList::MaxFontName);
    ApplyFontChange();
}

void THtmlPane::SetDefFontSize(int value)
{
    value = std::max(value, MinFontSize);
    if (value == FFontSize)
        return;
    FFontSize = value;
    ApplyFontChange();
}

void THtmlPane::SetCharSet(int value)
{
    if (value == FCharSet)
        return;
    FCharSet = value;
    ApplyFontChange();
}

void THtmlPane::SetDefFontColor(TColor value)
{
    FFontColor = value;
    FSectionList.FontColor = value;
    FPaintPanel->update();
}

void THtmlPane::SetDefHotSpotColor(TColor value)
{
    FHotSpotColor = value;
    FSectionList.HotSpotColor = value;
    FPaintPanel->update();
}

void THtmlPane::SetDefBackground(TColor value)
{
    if (FProcessing)
        return;
    FBackground = value;
    FSectionList.SetBackground(value);
    FPaintPanel->update();
}

void THtmlPane::SetImageCacheCount(int value)
{
    value = std::clamp(value, 0, MaxImageCacheCount);
    FImageCacheCount = value;
    BitmapList().SetMaxAge(value);
}

void THtmlPane::SetNoSelect(bool value)
{
    FNoSelect = value;
    if (value) {
        FSectionList.SelB = FSectionList.SelE = 0;
        FSelAnchor = -1;
        FPaintPanel->update();
    }
}

void THtmlPane::SetScrollBars(TScrollStyle value)
{
    if (value == FScrollBars)
        return;
    FScrollBars = value;
    if (!FProcessing)
        Reformat();
}

void THtmlPane::SetMarginHeight(int value)
{
    if (value < 0 || value > MaxMargin || value == FMarginHeight || FProcessing)
        return;
    FMarginHeight = value;
    RelayoutKeepingPosition(false);
}

void THtmlPane::SetMarginWidth(int value)
{
    if (value < 0 || value > MaxMargin || value == FMarginWidth || FProcessing)
        return;
    FMarginWidth = value;
    RelayoutKeepingPosition(false);
}

void THtmlPane::SetServerRoot(const std::string& value) { FServerRoot = TrimmedServerRoot(value); }

void THtmlPane::SetOnImageRequest(TGetImageEvent handler)
{
    FSectionList.ImageContext.OnImageRequest = std::move(handler);
}

void THtmlPane::SetOnScript(TScriptEvent handler) { FSectionList.OnScript = std::move(handler); }

void THtmlPane::SetOnFormSubmit(TFormSubmitEvent handler) { FOnFormSubmit = std::move(handler); }
