#pragma once
// Small building blocks of the HTML engine: the owning list, the attribute
// list of the tag just scanned, link pairs, client-side image maps, the float
// and list-indent manager of a text column, string helpers and three drawing
// helpers. Nothing here knows about documents.
//
// Text in the engine is bytes in Windows-1252 (std::string); it becomes a
// QString only to be measured or drawn (Win1252ToQString).

#include "platform/TObject.h"

#include <QColor>
#include <QPolygon>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QPainter;
class TImageObj;

// ---------------------------------------------------------------------------
// Colours: blue * 65536 + green * 256 + red. Negative values name a system
// colour (its index in the low byte), resolved through the application palette.
using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clBtnHighlight = SystemColor(20);

// The RGB value of a colour (system colours resolved), red in the low byte.
TColor ColorToRGB(TColor color);
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

// ---------------------------------------------------------------------------
// Windows-1252 text.
QString Win1252ToQString(std::string_view text);
std::string QStringToWin1252(const QString& text); // unmappable characters become '?'
std::string UpperCase1252(std::string_view text);
std::string LowerCase1252(std::string_view text);

// ---------------------------------------------------------------------------
// An ordered list of objects that it owns: clearing or destroying it frees
// every item, first to last.
class TFreeList : public TObject {
public:
    TFreeList() = default;
    ~TFreeList() noexcept(false) override;

    int Count() const { return static_cast<int>(FItems.size()); }
    bool Empty() const { return FItems.empty(); }
    // Checked access: an index outside 0..Count-1 raises EListError.
    TObject* Items(int index) const;
    template <class T>
    T* ItemAs(int index) const { return static_cast<T*>(Items(index)); }
    TObject* First() const { return Items(0); }
    TObject* Last() const { return Items(Count() - 1); }

    // The list takes ownership (a null item is stored as null).
    int Add(TObject* item);
    template <class T>
    T* Add(std::unique_ptr<T> item) { T* raw = item.release(); Add(raw); return raw; }
    void Insert(int index, TObject* item);
    // Frees the item and removes it.
    void Delete(int index);
    // Removes the item without freeing it; the caller now owns it.
    TObject* Extract(int index);
    int IndexOf(const TObject* item) const;
    virtual void Clear();

    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    std::vector<TObject*> FItems;
};

// ---------------------------------------------------------------------------
// Attribute symbols of the HTML vocabulary, in table order. VALUE is written
// twice in the table and shares one symbol; SELECTED and WRAP are also tag
// names (the scanner maps those tags to these same codes).
enum TAttrSymbol : uint8_t {
    HrefSy, NameSy, SrcSy, AltSy, AlignSy, TextSy, BGColorSy, LinkSy, BackgroundSy,
    ColSpanSy, RowSpanSy, BorderSy, CellPaddingSy, CellSpacingSy, VAlignSy, WidthSy,
    StartSy, ValueSy, TypeSy, CheckBoxSy, RadioSy, MethodSy, ActionSy, CheckedSy,
    SizeSy, MaxLengthSy, ColsSy, RowsSy, MultipleSy, SelectedSy, FaceSy, ColorSy,
    TranspSy, ClearSy, IsMapSy, BorderColorSy, UseMapSy, ShapeSy, CoordsSy, NoHrefSy,
    HeightSy, PlainSy, TargetSy, NoResizeSy, ScrollingSy, HSpaceSy, LanguageSy,
    FrameBorderSy, MarginWidthSy, MarginHeightSy, LoopSy, OnClickSy, WrapSy,
    NoShadeSy, HttpEqSy, ContentSy, EncTypeSy,
    UnknownAttrSy
};

// The symbol of an attribute name (upper-case letters and '-'), or
// UnknownAttrSy.
TAttrSymbol AttributeSymbol(std::string_view upperName);

// One attribute of the tag just scanned. Text is the value as scanned
// (entities decoded, trimmed); empty means no value. Number is its numeric
// reading (0 when the text is not a number).
class TAttribute : public TObject {
public:
    TAttribute(TAttrSymbol symbol, int32_t number, std::string text)
        : Symbol(symbol), Number(number), Text(std::move(text)) {}

    TAttrSymbol Symbol;
    int32_t Number;
    std::string Text;
};

// The attributes of the current tag in source order; duplicates are kept.
class TAttributeList : public TFreeList {
public:
    TAttribute* Attribute(int index) const { return ItemAs<TAttribute>(index); }
    // The first attribute with this symbol.
    bool FindAttribute(TAttrSymbol symbol, TAttribute*& found) const;
    TAttribute* FindAttribute(TAttrSymbol symbol) const;
    // Convenience for tests and builders.
    TAttribute* AddAttribute(TAttrSymbol symbol, int32_t number, std::string text = {});
};

// ---------------------------------------------------------------------------
// A link: its URL and target frame name.
class TUrlTarget : public TObject {
public:
    TUrlTarget() = default;
    TUrlTarget(std::string url, std::string target) : Url(std::move(url)), Target(std::move(target)) {}

    // Each given argument replaces its field; an absent one leaves it.
    void Assign(std::optional<std::string> url, std::optional<std::string> target);
    void Assign(const TUrlTarget& other) { Url = other.Url; Target = other.Target; }
    void Clear();
    bool Empty() const { return Url.empty(); }

    std::string Url;
    std::string Target;
};

// ---------------------------------------------------------------------------
// One client-side image map (MAP NAME=...) and its areas, in source order.
// The pixels of one image-map area, tested by arithmetic: a rectangle or a
// circle in constant time, a polygon (winding rule) in time proportional to
// its corners. Building a region of pixel bands instead would cost seconds
// for a large circle or a tall polygon.
class TAreaShapeRegion {
public:
    static TAreaShapeRegion Rectangle(const QRect& rect);
    // The disc of pixels whose centre lies within radius + 1/2 of the
    // centre pixel's centre: the ellipse inscribed in its bounding square.
    static TAreaShapeRegion Circle(const QPoint& centre, int radius);
    static TAreaShapeRegion Polygon(const QPolygon& corners);

    bool contains(const QPoint& point) const;
    QRect boundingRect() const { return FBounds; }

private:
    enum class TKind { Rectangle, Circle, Polygon };
    TKind FKind = TKind::Rectangle;
    QRect FBounds;
    QPoint FCentre;
    int FRadius = 0;
    QPolygon FCorners;
};

class TMapItem : public TObject {
public:
    struct TAreaRegion {
        std::string Href; // empty for NOHREF
        TAreaShapeRegion Region;
    };

    // The map's NAME, upper-cased by the parser.
    std::string MapKey;
    std::vector<TAreaRegion> AreaRegions;
    // Parallel to AreaRegions: each area's TARGET (may be empty).
    std::vector<std::string> AreaTargetList;

    // Builds one area from an AREA tag; an area without enough usable
    // coordinates is not added.
    void AddArea(const TAttributeList& attributes);
    // The first area containing the point decides; a NOHREF area is a miss.
    // On a hit the caller receives a new link that it owns.
    bool HitTest(int x, int y, std::unique_ptr<TUrlTarget>& urlTarget) const;

    // COORDS limits: at most this many numbers, each clamped to 16 bits.
    static constexpr int MaxCoords = 201;
};

// The numbers of a COORDS value: split at commas, each item cut to 20
// characters and trimmed, 0 for text that is not a number, clamped to the
// 16-bit range; reading stops at the first empty item or after MaxCoords.
std::vector<int> ParseCoords(const std::string& coords);

// ---------------------------------------------------------------------------
// One horizontal intrusion into a text column. A left record's Edge is the
// rightmost x covered, relative to the column's left edge; a right record's
// is the leftmost x, relative to the right edge (zero or negative). Top is
// included, Bottom excluded. Level is 0 for floats, the list level for list
// indents.
class IndentRec : public TObject {
public:
    IndentRec(int32_t edge, int32_t top, int32_t bottom, int32_t level)
        : Edge(edge), Top(top), Bottom(bottom), Level(level) {}
    bool Covers(int32_t y) const { return Top <= y && y < Bottom; }

    int32_t Edge;
    int32_t Top;
    int32_t Bottom;
    int32_t Level;
};

enum class TFloatSide { Left = 1, Right = 3 };

// Floats and list indents of one text column (document-space pixels).
// LeftList and RightList hold the floats and the list indents that have
// been closed; the open list levels are kept apart, outermost first, with
// the widest edge so far beside each, so that a bound query on a deeply
// nested list looks at the floats and searches the levels instead of
// visiting every level.
class IndentManagerBasic : public TObject {
public:
    // Bottom given to list indents, which reach down until the list ends.
    static constexpr int32_t OpenBottom = 9999999;
    // Indentation of each list level beyond the current left bound.
    static constexpr int32_t ListIndent = 35;

    void Reset(int32_t leftEdge, int32_t rightEdge);
    void Clear();
    int32_t LeftBoundAt(int32_t y) const;
    int32_t RightBoundAt(int32_t y) const;
    // side 1 (left) or 3 (right); other sides add nothing.
    void AddFloat(int32_t y, int32_t width, int side, int32_t height);
    void SetListLevel(int32_t y, int32_t level);
    int32_t ClearBottom() const;
    void SideClearances(int32_t& left, int32_t& right) const;
    int32_t BelowWiderLefts() const;
    // Drops every record that ends above y.
    void ForgetAbove(int32_t y);

    IndentRec* LeftAt(int index) const { return LeftList.ItemAs<IndentRec>(index); }
    IndentRec* RightAt(int index) const { return RightList.ItemAs<IndentRec>(index); }
    int OpenLevelCount() const { return static_cast<int>(FOpen.size()); }

    TFreeList LeftList;
    TFreeList RightList;
    int32_t Level = 0;
    int32_t LeftEdge = 0;
    int32_t RightEdge = 0;
    int32_t ColumnWidth = 0;
    int32_t PaintClipWidth = 0;

private:
    struct TOpenLevel {
        std::unique_ptr<IndentRec> Rec;
        int32_t WidestEdge; // the widest Edge of this level and those before it
    };

    // The widest edge of the open levels that cover y; 0 when none does.
    int32_t OpenEdgeAt(int32_t y) const;
    void OpenLevel(std::unique_ptr<IndentRec> rec);
    void RebuildOpenSummary();

    std::vector<TOpenLevel> FOpen;
    // Whether the levels' tops never decrease, which lets a query find the
    // levels covering it by binary search.
    bool FOpenTopsAscending = true;
};

class IndentManager : public IndentManagerBasic {
public:
    // Places a left (3) or right (4) aligned image at y and records its
    // intrusion; other alignments and no image do nothing.
    void AddFloatImage(int32_t y, TImageObj* image);
};

// ---------------------------------------------------------------------------
// String helpers.

// Removes every character with code <= 32 from both ends.
std::string TrimSpaces(std::string_view s);
// Decodes percent escapes and, for URL-like text (with "/"), turns a file
// URL into a lower-cased Windows path ("file:///c|/a%20b/x.htm" ->
// "c:\a b\x.htm").
std::string UrlToPath(std::string_view s);
// UrlToPath, with root put in front of a result starting with a backslash.
std::string UrlToPathFrom(std::string_view s, std::string_view root);

// ---------------------------------------------------------------------------
// Drawing helpers.

// Width of the first `length` bytes of text in the painter's current font.
int TextWidth(QPainter& canvas, const std::string& text, int length);
inline int TextWidth(QPainter& canvas, const std::string& text)
{
    return TextWidth(canvas, text, static_cast<int>(text.size()));
}
// Draws the text word-wrapped in the box, clipped to it, left-aligned; used
// for the ALT text of images that are not shown.
void WrapTextInBox(QPainter& canvas, const QRect& box, const std::string& text);

enum class TBevel { Sunken, Raised };
// One-pixel frame: left and top lines first, then right and bottom. Raised
// frames surround tables, sunken ones cells. On a white background silver
// stands in for the highlight colour.
void DrawBevel(TColor background, QPainter& canvas, int left, int top, int right, int bottom,
               TBevel bevel);
