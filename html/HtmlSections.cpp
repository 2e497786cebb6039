// Sections: the builder operations the parser drives, spacing blocks and
// rules, cells and the document.

#include "html/HtmlSections.h"

#include "html/HtmlScannerText.h"
#include "platform/Dialogs.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <climits>

namespace {

void AddStyle(TMyFont& font, int style, TSubSuper subSuper)
{
    if (style & StyleBold)
        font.setBold(true);
    if (style & StyleItalic)
        font.setItalic(true);
    if (style & StyleUnderline)
        font.setUnderline(true);
    if (style & StyleStrikeOut)
        font.setStrikeOut(true);
    // SUB and SUP text is three quarters of the font's size.
    if (subSuper != TSubSuper::None && font.pixelSize() > 0)
        font.setPixelSize(std::max(1, font.pixelSize() * 3 / 4));
}

bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

} // namespace

// ---------------------------------------------------------------------------
// TSectionBase defaults.

void TSectionBase::CopySelection(std::string&) {}

int TSectionBase::ComputeLayout(int y, int& charIndex, int& widest, IndentManager&)
{
    YPosition = y;
    StartIndex = charIndex;
    DrawHeight = SectionHeight;
    widest = 0;
    return SectionHeight;
}

int TSectionBase::Paint(QPainter&, const QRect&, int y, int)
{
    return y + SectionHeight;
}

bool TSectionBase::LinkAt(int, int, TObject*&, std::unique_ptr<TUrlTarget>&) { return false; }
TImageObj* TSectionBase::ImageAt(int, int, int&, int&) { return nullptr; }
int TSectionBase::CharIndexAt(int, int, TCharHit&) { return -1; }
int TSectionBase::FindText(int, std::string_view, bool) { return -1; }
bool TSectionBase::CharIndexToXY(int, int&, int&) { return false; }
bool TSectionBase::CharAtIndex(int, char&, TSectionBase*&) { return false; }
void TSectionBase::RefreshFonts() { UpdateSize(); }

void TSectionBase::WidthRange(int& minimum, int& maximum)
{
    minimum = 0;
    maximum = 0;
}

void TSectionControl::AddOption(const std::string&, const std::string&, bool) {}
void TSectionControl::AddLine(const std::string&) {}

// ---------------------------------------------------------------------------
// Spacing blocks and rules: heights scale with the default font size.

TParagraphSpace::TParagraphSpace(TSectionList* document) : TSectionBase(document) { UpdateSize(); }

void TParagraphSpace::UpdateSize() { SectionHeight = MulDiv(14, Document->FontSize, 12); }

void TParagraphSpace::CopySelection(std::string& sink)
{
    if (Document->SelB < StartIndex + 1 && Document->SelE > StartIndex)
        sink += "\r\n";
}

THeadingSpace::THeadingSpace(TSectionList* document, int level) : TSectionBase(document), Level(level)
{
    UpdateSize();
}

void THeadingSpace::UpdateSize()
{
    static constexpr int Heights[6] = {16, 12, 10, 8, 6, 4};
    const int base = Level >= 1 && Level <= 6 ? Heights[Level - 1] : 8;
    SectionHeight = MulDiv(base, Document->FontSize, 12);
}

void THeadingSpace::CopySelection(std::string& sink)
{
    if (Document->SelB < StartIndex + 1 && Document->SelE > StartIndex)
        sink += "\r\n";
}

THorzLine::THorzLine(TSectionList* document, const TAttributeList& attributes) : TSectionBase(document)
{
    for (const TObject* item : attributes) {
        const auto* a = static_cast<const TAttribute*>(item);
        switch (a->Symbol) {
        case SizeSy:
            if (a->Number >= 1 && a->Number <= 20)
                Thickness = a->Number;
            break;
        case WidthSy:
            if (a->Text.find('%') != std::string::npos) {
                if (a->Number >= 1 && a->Number <= 100) {
                    Width = a->Number;
                    Percent = true;
                }
            } else if (a->Number > 0) {
                Width = std::min(a->Number, 32000);
                Percent = false;
            }
            break;
        case AlignSy:
            Align = SameText(a->Text, "left") ? JustLeft : SameText(a->Text, "right") ? JustRight : JustCenter;
            break;
        case ColorSy:
            HasColor = ColorFromString(a->Text, Color);
            break;
        case NoShadeSy:
            NoShade = true;
            break;
        default:
            break;
        }
    }
    UpdateSize();
}

void THorzLine::UpdateSize() { SectionHeight = MulDiv(20, Document->FontSize, 12) + Thickness - 2; }

void THorzLine::CopySelection(std::string& sink)
{
    if (Document->SelB < StartIndex + 1 && Document->SelE > StartIndex)
        sink += "\r\n";
}

int THorzLine::ComputeLayout(int y, int& charIndex, int& widest, IndentManager& indents)
{
    TSectionBase::ComputeLayout(y, charIndex, widest, indents);
    const int left = indents.LeftBoundAt(y);
    const int right = indents.RightBoundAt(y);
    const int space = right - left;
    if (Width == 0) {
        BarLeft = left + 10;
        BarRight = right - 10;
        return SectionHeight;
    }
    const int width = Percent ? MulDiv(space, Width, 100) : Width;
    BarLeft = Align == JustLeft ? left : Align == JustRight ? right - width : left + (space - width) / 2;
    BarRight = BarLeft + width;
    return SectionHeight;
}

// ---------------------------------------------------------------------------
// Text sections: building.

TSection::TSection(TSectionList* document, int level, int justification, const TUrlTarget& link,
                   const TMyFont& font, int style, TSubSuper subSuper)
    : TSectionBase(document), ListLevel(level), Indent(IndentPerLevel * level), ItemFont(font),
      Justify(justification)
{
    TMyFont runFont = font;
    AddStyle(runFont, style, subSuper);
    auto* run = new TFontObj(runFont, 0);
    run->SScript = subSuper;
    run->UrlTarget.Assign(link);
    Fonts.Add(run);
}

TSection::~TSection() noexcept(false)
{
    // The document's list of controls must not keep ours.
    auto& all = Document->FormControlList;
    for (const auto& control : Controls)
        all.erase(std::remove(all.begin(), all.end(), control.get()), all.end());
}

void TSection::AddText(std::string_view text)
{
    if (text.empty() || Buff.size() >= MaxText)
        return;
    const bool onlyFloats = std::all_of(Buff.begin(), Buff.end(), [this, i = 0](char c) mutable {
        const TImageObj* image = c == ImageChar ? Images.FindImage(i) : nullptr;
        ++i;
        return image && image->IsFloat();
    });
    if (text.front() == ' ' && (Buff.empty() || Buff.back() == ' ' || onlyFloats))
        text.remove_prefix(1);
    Buff.append(text.substr(0, MaxText - Buff.size()));
}

void TPreFormated::AddText(std::string_view text)
{
    if (Buff.size() < MaxText)
        Buff.append(text.substr(0, MaxText - Buff.size()));
}

void TPreFormated::Finish()
{
    if (Buff.empty())
        Buff = " ";
}

void TSection::ChangeFont(const TMyFont& font, int style, TSubSuper subSuper)
{
    TMyFont runFont = font;
    AddStyle(runFont, style, subSuper);
    auto* last = static_cast<TFontObj*>(Fonts.Last());
    const int pos = static_cast<int>(Buff.size());
    const TMyFont& current = last->TheFont();
    if (last->SScript == subSuper && current == runFont && current.Color == runFont.Color &&
        current.Fixed == runFont.Fixed && current.LogicalSize() == runFont.LogicalSize())
        return; // nothing changes: no new run (keeps runs of repeated tags few)
    if (last->Pos == pos) {
        last->SetFont(runFont);
        last->SScript = subSuper;
        return;
    }
    auto* run = new TFontObj(runFont, pos);
    run->SScript = subSuper;
    run->UrlTarget.Assign(last->UrlTarget);
    Fonts.Add(run);
}

void TSection::SetLink(bool start, const TMyFont& font, int style, TSubSuper subSuper, const TUrlTarget& link)
{
    ChangeFont(font, style, subSuper);
    auto* last = static_cast<TFontObj*>(Fonts.Last());
    last->UrlTarget.Clear();
    if (start)
        last->UrlTarget.Assign(link);
}

void TSection::AddImage(const TAttributeList& attributes, TCell* cell)
{
    if (Buff.size() >= MaxText)
        return;
    auto* image = new TImageObj(static_cast<int>(Buff.size()), attributes);
    image->MyCell = cell;
    Images.Add(image);
    Buff.push_back(ImageChar);
}

TSectionControl* TSection::AddFormControl(const std::string& tag, const TAttributeList& attributes, TCell* cell,
                                          TObject*& form)
{
    if (!Document->FormControlFactory || Buff.size() >= MaxText)
        return nullptr;
    bool placeholder = true;
    std::unique_ptr<TSectionControl> control =
        Document->FormControlFactory(*Document, form, tag, attributes, placeholder);
    if (!control)
        return nullptr;
    control->Pos = static_cast<int>(Buff.size());
    control->Placeholder = placeholder;
    control->Cell = cell;
    if (placeholder)
        Buff.push_back(ControlChar);
    if (control->CarriedByImage()) {
        AddImage(attributes, cell);
        Images.Image(Images.Count() - 1)->MyFormControl = control.get();
    }
    Document->FormControlList.push_back(control.get());
    Controls.push_back(std::move(control));
    return Controls.back().get();
}

int TSection::CurrentJustification()
{
    if (Buff.empty())
        Buff = " ";
    return Justify;
}

TSectionControl* TSection::ControlAt(int pos) const
{
    // Controls are in text order; a page with thousands of them must not
    // search them all for each placeholder. Controls without a placeholder
    // share their position with the next one and are passed over.
    auto it = std::lower_bound(Controls.begin(), Controls.end(), pos,
                               [](const std::unique_ptr<TSectionControl>& control, int p) { return control->Pos < p; });
    for (; it != Controls.end() && (*it)->Pos == pos; ++it)
        if ((*it)->Placeholder)
            return it->get();
    return nullptr;
}

void TSection::RefreshFonts()
{
    auto refresh = [this](TMyFont& font, bool link) {
        font.setFamily(Win1252ToQString(font.Fixed ? Document->PreFontName : Document->FontName));
        font.SetLogicalSize(font.LogicalSize(), Document->FontSize);
        font.Color = link ? Document->HotSpotColor : Document->FontColor;
    };
    for (TObject* item : Fonts) {
        auto* run = static_cast<TFontObj*>(item);
        TMyFont font = run->TheFont();
        refresh(font, !run->UrlTarget.Empty());
        AddStyle(font, 0, run->SScript);
        run->SetFont(font);
    }
    refresh(ItemFont, false);
}

TUListItem::TUListItem(TSectionList* document, int level, int justification, const TUrlTarget& link,
                       const TMyFont& font, int style, TSubSuper subSuper)
    : TSection(document, level, justification, link, font, style, subSuper)
{
    ListKind = ListBulleted;
}

TDListItem::TDListItem(TSectionList* document, int level, int justification, const TUrlTarget& link,
                       const TMyFont& font, int style, TSubSuper subSuper)
    : TUListItem(document, level, justification, link, font, style, subSuper)
{
    ListKind = ListDefinition;
}

TOListItem::TOListItem(TSectionList* document, int level, int justification, const TUrlTarget& link,
                       const TMyFont& font, int style, TSubSuper subSuper, char numberType, int number)
    : TUListItem(document, level, justification, link, font, style, subSuper), NumberType(numberType),
      ItemNumber(number)
{
    ListKind = ListNumbered;
}

std::string ListNumberText(char numberType, int number)
{
    static constexpr const char* Roman[20] = {"I",   "II",   "III",  "IV",  "V",   "VI",  "VII",
                                              "VIII", "IX",  "X",    "XI",  "XII", "XIII", "XIV",
                                              "XV",  "XVI",  "XVII", "XVIII", "XIX", "XX"};
    std::string text;
    switch (numberType) {
    case 'A':
    case 'a':
        text.assign(1, static_cast<char>(numberType + std::clamp(number, 1, 26) - 1));
        break;
    case 'I':
    case 'i':
        text = Roman[std::clamp(number, 1, 20) - 1];
        if (numberType == 'i')
            text = LowerCase1252(text);
        break;
    default:
        text = std::to_string(number);
        break;
    }
    return text + ".";
}

// Navy, maroon, red for levels 1 to 3, repeating below.
TColor BulletColor(int level)
{
    static constexpr TColor Colors[3] = {clNavy, clMaroon, clRed};
    return Colors[(std::max(level, 1) - 1) % 3];
}

// ---------------------------------------------------------------------------
// Cells.

void TCell::AddSection(std::unique_ptr<TSectionBase> section)
{
    if (!section)
        return;
    if (auto* text = dynamic_cast<TSection*>(section.get()))
        text->Finish();
    section->Document = Document;
    section->UpdateSize();
    Add(section.release());
}

int TCell::ComputeLayout(int y, int& charIndex, int& widest, int width)
{
    IMgr.Clear();
    IMgr.Reset(0, width);
    IMgr.ColumnWidth = width;
    StartY = y;
    StartCurs = charIndex;
    widest = 0;
    int height = 0;
    for (int i = 0; i < Count();) {
        int sectionWidest = 0;
        // Layout goes down the cell: a record ending above this section can
        // no longer narrow a line, clear one or lengthen an item.
        IMgr.ForgetAbove(y + height);
        try {
            height += Section(i)->ComputeLayout(y + height, charIndex, sectionWidest, IMgr);
        } catch (const EProcessError& error) {
            // The section is dropped and layout goes on with the next one.
            Document->ReportLayoutError(error.Message());
            Delete(i);
            continue;
        }
        widest = std::max(widest, sectionWidest);
        ++i;
    }
    CellCharCount = charIndex - StartCurs;
    RecordPaintBottoms();
    return std::max(height, IMgr.ClearBottom() - StartY);
}

void TCell::RecordPaintBottoms()
{
    FPaintBottoms.resize(size_t(Count()));
    int lowest = std::numeric_limits<int>::min();
    for (int i = 0; i < Count(); ++i) {
        const TSectionBase* section = Section(i);
        lowest = std::max(lowest, section->YPosition + std::max(section->DrawHeight, section->SectionHeight));
        FPaintBottoms[size_t(i)] = lowest;
    }
}

int TCell::FirstSectionReaching(int y)
{
    if (FPaintBottoms.size() != size_t(Count()))
        RecordPaintBottoms();
    return int(std::lower_bound(FPaintBottoms.begin(), FPaintBottoms.end(), y) - FPaintBottoms.begin());
}

int TCell::Paint(QPainter& canvas, const QRect& area, int y, int x, int clipWidth)
{
    IMgr.PaintClipWidth = clipWidth;
    const TCell* outerCell = std::exchange(Document->PaintingCell, this);
    const int yOff = y - StartY;
    for (int i = FirstSectionReaching(area.top() - yOff); i < Count(); ++i) {
        TSectionBase* section = Section(i);
        const int top = section->YPosition + yOff;
        if (top > area.bottom())
            break;
        if (top + std::max(section->DrawHeight, section->SectionHeight) < area.top())
            continue;
        section->Paint(canvas, area, top, x);
    }
    Document->PaintingCell = outerCell;
    return y + (Count() ? Section(Count() - 1)->YPosition + Section(Count() - 1)->SectionHeight - StartY : 0);
}

void TCell::WidthRange(int& minimum, int& maximum)
{
    minimum = maximum = 0;
    for (TObject* item : *this) {
        int sectionMin = 0, sectionMax = 0;
        static_cast<TSectionBase*>(item)->WidthRange(sectionMin, sectionMax);
        minimum = std::max(minimum, sectionMin);
        maximum = std::max(maximum, sectionMax);
    }
}

namespace {

bool Contains(const TSectionBase& s, int y)
{
    return y >= s.YPosition && y < s.YPosition + std::max(s.DrawHeight, s.SectionHeight);
}

} // namespace

bool TCell::LinkAt(int x, int y, TObject*& formControl, std::unique_ptr<TUrlTarget>& link)
{
    for (TObject* item : *this) {
        auto* section = static_cast<TSectionBase*>(item);
        if (Contains(*section, y) && section->LinkAt(x, y, formControl, link))
            return true;
    }
    return false;
}

TImageObj* TCell::ImageAt(int x, int y, int& imageX, int& imageY)
{
    for (TObject* item : *this) {
        auto* section = static_cast<TSectionBase*>(item);
        if (Contains(*section, y))
            if (TImageObj* image = section->ImageAt(x, y, imageX, imageY))
                return image;
    }
    return nullptr;
}

int TCell::CharIndexAt(int x, int y, TCharHit& hit)
{
    // The drawn band, so that a floating table (no height in the flow)
    // answers for its cells too.
    for (TObject* item : *this) {
        auto* section = static_cast<TSectionBase*>(item);
        if (Contains(*section, y)) {
            const int index = section->CharIndexAt(x, y, hit);
            if (index >= 0)
                return index;
        }
    }
    return -1;
}

bool TCell::CharIndexToXY(int index, int& x, int& y)
{
    for (TObject* item : *this) {
        auto* section = static_cast<TSectionBase*>(item);
        if (index >= section->StartIndex && index <= section->StartIndex + section->CharCount &&
            section->CharIndexToXY(index, x, y))
            return true;
    }
    return false;
}

int TCell::FindText(int from, std::string_view text, bool matchCase)
{
    for (TObject* item : *this) {
        auto* section = static_cast<TSectionBase*>(item);
        if (section->StartIndex + section->CharCount <= from)
            continue;
        const int found = section->FindText(from, text, matchCase);
        if (found >= 0)
            return found;
    }
    return -1;
}

bool TCell::CharAtIndex(int index, char& ch, TSectionBase*& owner)
{
    for (TObject* item : *this) {
        auto* section = static_cast<TSectionBase*>(item);
        if (index >= section->StartIndex && index < section->StartIndex + section->CharCount)
            return section->CharAtIndex(index, ch, owner);
    }
    return false;
}

bool TCell::SectionAt(int y, TSectionBase*& section, int& top, int& index) const
{
    for (int i = 0; i < Count(); ++i) {
        TSectionBase* s = Section(i);
        if (y >= s->YPosition && y < s->YPosition + s->SectionHeight) {
            section = s;
            top = s->YPosition;
            index = i;
            return true;
        }
    }
    return false;
}

void TCell::RefreshFonts()
{
    for (TObject* item : *this)
        static_cast<TSectionBase*>(item)->RefreshFonts();
}

void TCell::CopySelection(std::string& sink)
{
    for (TObject* item : *this) {
        auto* section = static_cast<TSectionBase*>(item);
        if (section->StartIndex + section->CharCount + 1 > Document->SelB && section->StartIndex < Document->SelE)
            section->CopySelection(sink);
    }
}

// ---------------------------------------------------------------------------
// The document.

TSectionList::TSectionList(QObject* viewer) : TCell(this), Viewer(viewer)
{
    ImageContext.Viewer = viewer;
    ImageContext.MapList = &MapList;
    ImageContext.Background = Background;
}

TSectionList::~TSectionList() noexcept(false)
{
    TSectionList::Clear();
}

void TSectionList::Clear()
{
    Animations.Stop();
    // Emptied first: each section would otherwise take its controls out of
    // it one by one, in time quadratic in their number.
    FormControlList.clear();
    TCell::Clear();
    FormList.Clear();
    MapList.Clear();
    ImageContext.Clear();
    BackgroundBitmap = QImage();
    BackgroundTried = false;
    BackgroundName.clear();
    SelB = SelE = 0;
}

void TSectionList::SetDefaults(const std::string& fontName, const std::string& preFontName, TColor background,
                               TColor hotSpot, TColor fontColor, int fontSize)
{
    FontName = fontName.substr(0, MaxFontName);
    PreFontName = preFontName.substr(0, MaxFontName);
    HotSpotColor = hotSpot;
    FontColor = fontColor;
    FontSize = fontSize;
    SetBackground(background);
    RefreshFonts();
}

void TSectionList::SetBackground(TColor color)
{
    Background = color;
    ImageContext.Background = color;
    if (OnBackgroundChange)
        OnBackgroundChange(color);
}

void TSectionList::SetBackgroundImage(const std::string& name)
{
    BackgroundName = name;
    BackgroundTried = false;
    BackgroundBitmap = QImage();
}

const QImage* TSectionList::BackgroundImage()
{
    if (!BackgroundTried && ImageContext.ShowImages && !BackgroundName.empty()) {
        BackgroundTried = true;
        const std::string name =
            ImageContext.ExpandImageName && !ImageContext.OnImageRequest ? ImageContext.ExpandImageName(BackgroundName)
                                                                          : BackgroundName;
        TTransparency transparency = TTransparency::None;
        try {
            BackgroundBitmap = GetImage(ImageContext, name, transparency).Image;
        } catch (const std::exception&) {
            BackgroundBitmap = QImage();
        }
    }
    return BackgroundBitmap.isNull() ? nullptr : &BackgroundBitmap;
}

void TSectionList::SetScrollOffset(int y)
{
    if (y == YOff)
        return;
    Animations.Scrolled(y - YOff);
    YOff = y;
    for (TSectionControl* control : FormControlList)
        control->ShownInPaint = false;
    FTidyControls = true;
}

int TSectionList::TopOfSection(int index) const
{
    index = std::min(index, Count() - 1);
    int top = 0;
    for (int i = 0; i < index; ++i)
        top += Section(i)->SectionHeight;
    return top;
}

int TSectionList::DoLayout(int y, int width, int& widest, int& charIndex)
{
    FErrorShown = false;
    LayoutStamp = LayoutStamp == UINT_MAX ? 1 : LayoutStamp + 1;
    for (TSectionControl* control : FormControlList)
        control->FitToFont();
    const int height = ComputeLayout(y, charIndex, widest, width);
    // Controls that the new layout puts out of view must not stay where the
    // old one had them: the next paint places the visible ones, the others
    // are tidied away.
    for (TSectionControl* control : FormControlList)
        control->ShownInPaint = false;
    FTidyControls = !FormControlList.empty();
    Animations.RestartAll();
    return height;
}

void TSectionList::Draw(QPainter& canvas, const QRect& area, int clipWidth, int x, int y)
{
    Animations.BeforePaint(area);
    Paint(canvas, area, y - YOff, x, clipWidth);
    Animations.AfterPaint();
    if (!FTidyControls)
        return;
    FTidyControls = false;
    for (TSectionControl* control : FormControlList)
        if (!control->ShownInPaint)
            control->HideControl(area);
}

std::string TSectionList::SelectionText()
{
    std::string text;
    if (SelE > SelB)
        CopySelection(text);
    return text;
}

void TSectionList::ReportLayoutError(const QString& message)
{
    if (FErrorShown)
        return;
    FErrorShown = true;
    Dialogs().ShowMessage(QString(), message);
}
