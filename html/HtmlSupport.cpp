#include "html/HtmlSupport.h"

#include "html/HtmlImages.h"
#include "platform/Numbers.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <array>
#include <limits>

// ---------------------------------------------------------------------------
// Colours

namespace {

// System colours that have an application palette role; the others keep the
// classic desktop defaults.
QColor SystemColorValue(int index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case 5: return palette.color(QPalette::Base);
    case 8: return palette.color(QPalette::Text);
    case 15: return palette.color(QPalette::Button);
    case 16: return palette.color(QPalette::Dark);
    case 18: return palette.color(QPalette::ButtonText);
    case 20: return palette.color(QPalette::Light);
    default: return QColor(0xC0, 0xC0, 0xC0);
    }
}

} // namespace

TColor ColorToRGB(TColor color)
{
    if (color < 0)
        return FromQColor(SystemColorValue(color & 0xFF));
    return color & 0xFFFFFF;
}

QColor ToQColor(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColor FromQColor(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

// ---------------------------------------------------------------------------
// Windows-1252

namespace {

// Code points of the bytes 0x80..0x9F; 0 marks the five unassigned bytes,
// which are kept as the C1 control of the same value.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t ByteToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F && Cp1252High[byte - 0x80] != 0)
        return Cp1252High[byte - 0x80];
    return byte;
}

unsigned char Upper1252(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
    default: return c;
    }
}

unsigned char Lower1252(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
    }
}

template <class F>
std::string MapBytes(std::string_view text, F map)
{
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(map(static_cast<unsigned char>(c)));
    return result;
}

} // namespace

QString Win1252ToQString(std::string_view text)
{
    QString result(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    QChar* out = result.data();
    for (char c : text)
        *out++ = QChar(ByteToUnicode(static_cast<unsigned char>(c)));
    return result;
}

std::string QStringToWin1252(const QString& text)
{
    std::string result;
    result.reserve(static_cast<size_t>(text.size()));
    for (QChar qc : text) {
        const char16_t u = qc.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            result.push_back(static_cast<char>(u));
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i)
            if (Cp1252High[static_cast<size_t>(i)] == u || (Cp1252High[static_cast<size_t>(i)] == 0 && u == 0x80 + i))
                mapped = static_cast<char>(0x80 + i);
        result.push_back(mapped);
    }
    return result;
}

std::string UpperCase1252(std::string_view text)
{
    return MapBytes(text, Upper1252);
}

std::string LowerCase1252(std::string_view text)
{
    return MapBytes(text, Lower1252);
}

// ---------------------------------------------------------------------------
// TFreeList

TFreeList::~TFreeList() noexcept(false)
{
    TFreeList::Clear();
}

TObject* TFreeList::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return FItems[static_cast<size_t>(index)];
}

int TFreeList::Add(TObject* item)
{
    FItems.push_back(item);
    return Count() - 1;
}

void TFreeList::Insert(int index, TObject* item)
{
    if (index < 0 || index > Count())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    FItems.insert(FItems.begin() + index, item);
}

void TFreeList::Delete(int index)
{
    delete Extract(index);
}

TObject* TFreeList::Extract(int index)
{
    TObject* item = Items(index);
    FItems.erase(FItems.begin() + index);
    return item;
}

int TFreeList::IndexOf(const TObject* item) const
{
    const auto found = std::find(FItems.begin(), FItems.end(), item);
    return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

void TFreeList::Clear()
{
    // Items are freed first to last; the list is emptied afterwards so that a
    // destructor that looks at the list still sees a consistent one.
    std::vector<TObject*> items;
    items.swap(FItems);
    for (TObject* item : items)
        delete item;
}

// ---------------------------------------------------------------------------
// Attributes

namespace {

struct TAttrName {
    std::string_view Name;
    TAttrSymbol Symbol;
};

constexpr TAttrName AttributeNames[] = {
    {"HREF", HrefSy}, {"NAME", NameSy}, {"SRC", SrcSy}, {"ALT", AltSy}, {"ALIGN", AlignSy},
    {"TEXT", TextSy}, {"BGCOLOR", BGColorSy}, {"LINK", LinkSy}, {"BACKGROUND", BackgroundSy},
    {"COLSPAN", ColSpanSy}, {"ROWSPAN", RowSpanSy}, {"BORDER", BorderSy},
    {"CELLPADDING", CellPaddingSy}, {"CELLSPACING", CellSpacingSy}, {"VALIGN", VAlignSy},
    {"WIDTH", WidthSy}, {"START", StartSy}, {"VALUE", ValueSy}, {"TYPE", TypeSy},
    {"CHECKBOX", CheckBoxSy}, {"RADIO", RadioSy}, {"METHOD", MethodSy}, {"ACTION", ActionSy},
    {"CHECKED", CheckedSy}, {"SIZE", SizeSy}, {"MAXLENGTH", MaxLengthSy}, {"COLS", ColsSy},
    {"ROWS", RowsSy}, {"MULTIPLE", MultipleSy}, {"VALUE", ValueSy}, {"SELECTED", SelectedSy},
    {"FACE", FaceSy}, {"COLOR", ColorSy}, {"TRANSP", TranspSy}, {"CLEAR", ClearSy},
    {"ISMAP", IsMapSy}, {"BORDERCOLOR", BorderColorSy}, {"USEMAP", UseMapSy},
    {"SHAPE", ShapeSy}, {"COORDS", CoordsSy}, {"NOHREF", NoHrefSy}, {"HEIGHT", HeightSy},
    {"PLAIN", PlainSy}, {"TARGET", TargetSy}, {"NORESIZE", NoResizeSy},
    {"SCROLLING", ScrollingSy}, {"HSPACE", HSpaceSy}, {"LANGUAGE", LanguageSy},
    {"FRAMEBORDER", FrameBorderSy}, {"MARGINWIDTH", MarginWidthSy},
    {"MARGINHEIGHT", MarginHeightSy}, {"LOOP", LoopSy}, {"ONCLICK", OnClickSy},
    {"WRAP", WrapSy}, {"NOSHADE", NoShadeSy}, {"HTTP-EQUIV", HttpEqSy},
    {"CONTENT", ContentSy}, {"ENCTYPE", EncTypeSy}};

} // namespace

TAttrSymbol AttributeSymbol(std::string_view upperName)
{
    for (const TAttrName& entry : AttributeNames)
        if (entry.Name == upperName)
            return entry.Symbol;
    return UnknownAttrSy;
}

bool TAttributeList::FindAttribute(TAttrSymbol symbol, TAttribute*& found) const
{
    found = FindAttribute(symbol);
    return found != nullptr;
}

TAttribute* TAttributeList::FindAttribute(TAttrSymbol symbol) const
{
    for (TObject* item : *this) {
        auto* attribute = static_cast<TAttribute*>(item);
        if (attribute->Symbol == symbol)
            return attribute;
    }
    return nullptr;
}

TAttribute* TAttributeList::AddAttribute(TAttrSymbol symbol, int32_t number, std::string text)
{
    return Add(std::make_unique<TAttribute>(symbol, number, std::move(text)));
}

// ---------------------------------------------------------------------------
// TUrlTarget

void TUrlTarget::Assign(std::optional<std::string> url, std::optional<std::string> target)
{
    if (url)
        Url = std::move(*url);
    if (target)
        Target = std::move(*target);
}

void TUrlTarget::Clear()
{
    Url.clear();
    Target.clear();
}

// ---------------------------------------------------------------------------
// Image maps

namespace {

enum class TAreaShape { Rectangle, Circle, Polygon };

TAreaShape ShapeOf(const std::string& value)
{
    const std::string prefix = LowerCase1252(value).substr(0, 4);
    if (prefix == "circ")
        return TAreaShape::Circle;
    if (prefix == "poly")
        return TAreaShape::Polygon;
    return TAreaShape::Rectangle;
}

std::optional<TAreaShapeRegion> AreaRegion(TAreaShape shape, const std::vector<int>& n)
{
    switch (shape) {
    case TAreaShape::Rectangle:
        if (n.size() < 4)
            return std::nullopt;
        // Corners given in either order cover the same pixels, both included.
        return TAreaShapeRegion::Rectangle(QRect(QPoint(std::min(n[0], n[2]), std::min(n[1], n[3])),
                                                 QPoint(std::max(n[0], n[2]), std::max(n[1], n[3]))));
    case TAreaShape::Circle:
        if (n.size() < 3 || n[2] <= 0)
            return std::nullopt;
        return TAreaShapeRegion::Circle(QPoint(n[0], n[1]), n[2]);
    case TAreaShape::Polygon: {
        const size_t points = n.size() / 2;
        if (points < 3)
            return std::nullopt;
        QPolygon polygon;
        for (size_t i = 0; i < points; ++i)
            polygon << QPoint(n[2 * i], n[2 * i + 1]);
        return TAreaShapeRegion::Polygon(polygon);
    }
    }
    return std::nullopt;
}

} // namespace

TAreaShapeRegion TAreaShapeRegion::Rectangle(const QRect& rect)
{
    TAreaShapeRegion region;
    region.FKind = TKind::Rectangle;
    region.FBounds = rect;
    return region;
}

TAreaShapeRegion TAreaShapeRegion::Circle(const QPoint& centre, int radius)
{
    TAreaShapeRegion region;
    region.FKind = TKind::Circle;
    region.FCentre = centre;
    region.FRadius = radius;
    region.FBounds = QRect(centre.x() - radius, centre.y() - radius, 2 * radius + 1, 2 * radius + 1);
    return region;
}

TAreaShapeRegion TAreaShapeRegion::Polygon(const QPolygon& corners)
{
    TAreaShapeRegion region;
    region.FKind = TKind::Polygon;
    region.FCorners = corners;
    region.FBounds = corners.boundingRect();
    return region;
}

bool TAreaShapeRegion::contains(const QPoint& point) const
{
    if (!FBounds.contains(point))
        return false;
    switch (FKind) {
    case TKind::Rectangle:
        return true;
    case TKind::Circle: {
        // (dx + 1/2 - 1/2)^2 + ... <= (r + 1/2)^2, in integers: <= r^2 + r.
        const int64_t dx = point.x() - FCentre.x();
        const int64_t dy = point.y() - FCentre.y();
        const int64_t r = FRadius;
        return dx * dx + dy * dy <= r * r + r;
    }
    case TKind::Polygon:
        return FCorners.containsPoint(point, Qt::WindingFill);
    }
    return false;
}

std::vector<int> ParseCoords(const std::string& coords)
{
    std::vector<int> numbers;
    size_t start = 0;
    while (start <= coords.size() && static_cast<int>(numbers.size()) < TMapItem::MaxCoords) {
        size_t comma = coords.find(',', start);
        if (comma == std::string::npos)
            comma = coords.size();
        const std::string item = TrimSpaces(std::string_view(coords).substr(start, std::min<size_t>(comma - start, 20)));
        if (item.empty())
            break;
        const int value = StrToIntDef(QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size())), 0);
        numbers.push_back(std::clamp(value, -32768, 32767));
        start = comma + 1; // always advances past the item
    }
    return numbers;
}

void TMapItem::AddArea(const TAttributeList& attributes)
{
    std::string href;
    std::string target;
    TAreaShape shape = TAreaShape::Rectangle;
    std::vector<int> numbers;
    for (TObject* item : attributes) {
        const auto* attribute = static_cast<const TAttribute*>(item);
        switch (attribute->Symbol) {
        case HrefSy: href = attribute->Text; break;
        case NoHrefSy: href.clear(); break;
        case TargetSy: target = attribute->Text; break;
        case ShapeSy: shape = ShapeOf(attribute->Text); break;
        case CoordsSy: numbers = ParseCoords(attribute->Text); break;
        default: break;
        }
    }
    std::optional<TAreaShapeRegion> region = AreaRegion(shape, numbers);
    if (!region)
        return;
    AreaRegions.push_back({href, std::move(*region)});
    AreaTargetList.push_back(target);
}

bool TMapItem::HitTest(int x, int y, std::unique_ptr<TUrlTarget>& urlTarget) const
{
    urlTarget.reset();
    for (size_t i = 0; i < AreaRegions.size(); ++i) {
        if (!AreaRegions[i].Region.contains(QPoint(x, y)))
            continue;
        if (AreaRegions[i].Href.empty())
            return false;
        urlTarget = std::make_unique<TUrlTarget>(AreaRegions[i].Href, AreaTargetList[i]);
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Indent manager

void IndentManagerBasic::Reset(int32_t leftEdge, int32_t rightEdge)
{
    LeftEdge = leftEdge;
    RightEdge = rightEdge;
    Level = 0;
}

void IndentManagerBasic::Clear()
{
    LeftList.Clear();
    RightList.Clear();
    FOpen.clear();
    FOpenTopsAscending = true;
}

int32_t IndentManagerBasic::OpenEdgeAt(int32_t y) const
{
    if (FOpen.empty() || y >= OpenBottom)
        return 0;
    if (FOpenTopsAscending) {
        // The levels covering y are those opened at or above it: a prefix.
        const auto end = std::upper_bound(FOpen.begin(), FOpen.end(), y,
                                          [](int32_t at, const TOpenLevel& open) { return at < open.Rec->Top; });
        return end == FOpen.begin() ? 0 : std::max(0, std::prev(end)->WidestEdge);
    }
    int32_t edge = 0;
    for (const TOpenLevel& open : FOpen)
        if (open.Rec->Covers(y))
            edge = std::max(edge, open.Rec->Edge);
    return edge;
}

void IndentManagerBasic::OpenLevel(std::unique_ptr<IndentRec> rec)
{
    int32_t widest = rec->Edge;
    if (!FOpen.empty()) {
        widest = std::max(widest, FOpen.back().WidestEdge);
        FOpenTopsAscending = FOpenTopsAscending && rec->Top >= FOpen.back().Rec->Top;
    }
    FOpen.push_back({std::move(rec), widest});
}

void IndentManagerBasic::RebuildOpenSummary()
{
    std::vector<TOpenLevel> levels = std::move(FOpen);
    FOpen.clear();
    FOpenTopsAscending = true;
    for (TOpenLevel& open : levels)
        OpenLevel(std::move(open.Rec));
}

int32_t IndentManagerBasic::LeftBoundAt(int32_t y) const
{
    int32_t edge = OpenEdgeAt(y);
    for (TObject* item : LeftList) {
        const auto* rec = static_cast<const IndentRec*>(item);
        if (rec->Covers(y))
            edge = std::max(edge, rec->Edge);
    }
    return LeftEdge + edge;
}

int32_t IndentManagerBasic::RightBoundAt(int32_t y) const
{
    int32_t edge = 0;
    for (TObject* item : RightList) {
        const auto* rec = static_cast<const IndentRec*>(item);
        if (rec->Covers(y))
            edge = std::min(edge, rec->Edge);
    }
    return RightEdge + edge;
}

void IndentManagerBasic::AddFloat(int32_t y, int32_t width, int side, int32_t height)
{
    if (side == static_cast<int>(TFloatSide::Left))
        LeftList.Add(new IndentRec(LeftBoundAt(y) + width - LeftEdge, y, y + height, 0));
    else if (side == static_cast<int>(TFloatSide::Right))
        RightList.Add(new IndentRec(RightBoundAt(y) - RightEdge - width, y, y + height, 0));
}

void IndentManagerBasic::SetListLevel(int32_t y, int32_t level)
{
    if (level > Level) {
        for (int32_t d = Level + 1; d <= level; ++d)
            OpenLevel(std::make_unique<IndentRec>(LeftBoundAt(y) - LeftEdge + ListIndent, y, OpenBottom, d));
    } else if (level < Level && Level > 0) {
        // The closed levels end just above y and become ordinary intrusions.
        const auto closed = std::stable_partition(FOpen.begin(), FOpen.end(),
                                                  [level](const TOpenLevel& open) { return open.Rec->Level <= level; });
        for (auto it = closed; it != FOpen.end(); ++it) {
            it->Rec->Level = 0;
            it->Rec->Bottom = y - 1;
            LeftList.Add(it->Rec.release());
        }
        FOpen.erase(closed, FOpen.end());
        RebuildOpenSummary();
    }
    Level = level;
}

int32_t IndentManagerBasic::ClearBottom() const
{
    int32_t bottom = 0;
    for (const TFreeList* list : {&LeftList, &RightList})
        for (TObject* item : *list) {
            const auto* rec = static_cast<const IndentRec*>(item);
            if (rec->Level == 0)
                bottom = std::max(bottom, rec->Bottom);
        }
    return bottom;
}

void IndentManagerBasic::SideClearances(int32_t& left, int32_t& right) const
{
    auto clearance = [](const TFreeList& list) {
        int32_t result = 0;
        for (TObject* item : list) {
            const auto* rec = static_cast<const IndentRec*>(item);
            if (rec->Level == 0)
                result = std::max(result, rec->Bottom + 1);
        }
        return result;
    };
    left = clearance(LeftList);
    right = clearance(RightList);
}

// The current list level's edge (the last float's when no list is open),
// then the lowest bottom of the left records reaching beyond it.
int32_t IndentManagerBasic::BelowWiderLefts() const
{
    int32_t levelEdge = 0;
    if (Level > 0) {
        const auto level = std::find_if(FOpen.rbegin(), FOpen.rend(),
                                        [this](const TOpenLevel& open) { return open.Rec->Level == Level; });
        if (level != FOpen.rend())
            levelEdge = level->Rec->Edge;
    } else if (!LeftList.Empty()) {
        levelEdge = LeftAt(LeftList.Count() - 1)->Edge;
    }
    int32_t bottom = 0;
    if (!FOpen.empty() && FOpen.back().WidestEdge > levelEdge)
        bottom = OpenBottom;
    for (TObject* item : LeftList) {
        const auto* rec = static_cast<const IndentRec*>(item);
        if (rec->Edge > levelEdge)
            bottom = std::max(bottom, rec->Bottom);
    }
    return bottom + 1;
}

void IndentManagerBasic::ForgetAbove(int32_t y)
{
    for (TFreeList* list : {&LeftList, &RightList})
        for (int i = list->Count() - 1; i >= 0; --i)
            if (static_cast<IndentRec*>(list->Items(i))->Bottom < y)
                list->Delete(i);
    if (y > OpenBottom) {
        FOpen.clear();
        FOpenTopsAscending = true;
    }
}

void IndentManager::AddFloatImage(int32_t y, TImageObj* image)
{
    if (image == nullptr)
        return;
    const int32_t w = image->ImageWidth + image->HSpace;
    const int32_t h = image->ImageHeight;
    if (image->Alignment == TImageAlign::Left) {
        image->FloatX = LeftBoundAt(y) - LeftEdge;
        LeftList.Add(new IndentRec(image->FloatX + w, y, y + h, 0));
    } else if (image->Alignment == TImageAlign::Right) {
        const int32_t e = RightBoundAt(y) - (RightEdge + w);
        RightList.Add(new IndentRec(e, y, y + h, 0));
        image->FloatX = RightEdge + e + image->HSpace;
    }
}

// ---------------------------------------------------------------------------
// String helpers

std::string TrimSpaces(std::string_view s)
{
    size_t first = 0;
    size_t last = s.size();
    while (first < last && static_cast<unsigned char>(s[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(s[last - 1]) <= 32)
        --last;
    return std::string(s.substr(first, last - first));
}

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Percent escapes are decoded left to right; decoding stops at an escape in
// the first position or one that is incomplete or not hexadecimal. Each
// escape is decoded once: the search goes on after the character it
// produced, so "%2541" stays "%41".
void DecodePercentEscapes(std::string& s)
{
    size_t from = 0;
    for (;;) {
        const size_t pos = s.find('%', from);
        if (pos == std::string::npos || pos == 0 || pos + 2 >= s.size())
            return;
        const int high = HexValue(s[pos + 1]);
        const int low = HexValue(s[pos + 2]);
        if (high < 0 || low < 0)
            return;
        s.replace(pos, 3, 1, static_cast<char>(high * 16 + low));
        from = pos + 1;
    }
}

void ReplaceAll(std::string& s, char from, char to)
{
    std::replace(s.begin(), s.end(), from, to);
}

} // namespace

std::string UrlToPath(std::string_view text)
{
    std::string s(text);
    DecodePercentEscapes(s);
    if (s.find('/') == std::string::npos)
        return s;
    s = LowerCase1252(s);
    if (size_t pos = s.find("file:///"); pos != std::string::npos)
        s.erase(pos, 8);
    else if (size_t pos2 = s.find("file://"); pos2 != std::string::npos)
        s.erase(pos2, 7);
    ReplaceAll(s, '|', ':');
    ReplaceAll(s, '/', '\\');
    return s;
}

std::string UrlToPathFrom(std::string_view s, std::string_view root)
{
    std::string path = UrlToPath(s);
    if (!path.empty() && path.front() == '\\')
        path.insert(0, root);
    return path;
}

// ---------------------------------------------------------------------------
// Drawing helpers

int TextWidth(QPainter& canvas, const std::string& text, int length)
{
    length = std::clamp(length, 0, static_cast<int>(text.size()));
    return canvas.fontMetrics().horizontalAdvance(Win1252ToQString(std::string_view(text).substr(0, static_cast<size_t>(length))));
}

void WrapTextInBox(QPainter& canvas, const QRect& box, const std::string& text)
{
    const QFontMetrics metrics = canvas.fontMetrics();
    const int lineHeight = metrics.height(); // the text height of "A"
    const int boxBottom = box.y() + box.height();
    canvas.save();
    canvas.setClipRect(box, Qt::IntersectClip);
    int y = box.y();
    std::string line;
    auto drawLine = [&]() {
        canvas.drawText(box.x(), y + metrics.ascent(), Win1252ToQString(line));
        y += lineHeight;
    };
    std::string remaining = text;
    for (;;) {
        remaining = TrimSpaces(remaining);
        if (remaining.empty())
            break;
        const size_t blank = remaining.find(' ');
        const std::string word = remaining.substr(0, blank);
        remaining = blank == std::string::npos ? std::string() : remaining.substr(blank);
        if (!line.empty() && metrics.horizontalAdvance(Win1252ToQString(line + word)) > box.width()) {
            if (y + lineHeight > boxBottom)
                break;
            drawLine();
            line.clear();
        }
        line += word + ' ';
    }
    if (!line.empty() && y + lineHeight <= boxBottom)
        drawLine();
    canvas.restore();
}

void DrawBevel(TColor background, QPainter& canvas, int left, int top, int right, int bottom,
               TBevel bevel)
{
    const bool whiteBackground = (background >= 0 && (background & 0xFFFFFF) == 0xFFFFFF)
                                 || (background == clWindow && ColorToRGB(clWindow) == clWhite);
    const QColor highlight = whiteBackground ? ToQColor(clSilver) : ToQColor(clBtnHighlight);
    const QColor shadow = ToQColor(clBtnShadow);
    const QColor first = bevel == TBevel::Raised ? highlight : shadow;
    const QColor second = bevel == TBevel::Raised ? shadow : highlight;

    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setBrush(Qt::NoBrush);
    // Each segment leaves out its end point, so the corners belong to the
    // segment that starts there: bottom-left and top-left to the first
    // colour, top-right and bottom-right to the second.
    auto segment = [&](const QColor& color, QPoint from, QPoint to) {
        if (from == to)
            return;
        const QPoint step((to.x() > from.x()) - (to.x() < from.x()), (to.y() > from.y()) - (to.y() < from.y()));
        canvas.setPen(QPen(color, 0));
        canvas.drawLine(from, to - step);
    };
    segment(first, {left, bottom}, {left, top});
    segment(first, {left, top}, {right, top});
    segment(second, {right, top}, {right, bottom});
    segment(second, {right, bottom}, {left, bottom});
    canvas.restore();
}
