#pragma once
// The section model: the laid-out form of a page. A document (TSectionList)
// is a cell (TCell), an ordered list of sections; a section is a horizontal
// band: a text block (TSection and its kinds), a spacing block, a rule, or a
// table (whose cells are again TCells). The parser builds the model; the
// viewer lays it out for a width, paints a vertical window of it and asks
// it point and position queries.
//
// Coordinates are pixels. y is document space (0 = top of the document);
// x is relative to the left edge of the cell being laid out. Painting adds
// the cell's left edge and subtracts the document's scroll offset.

#include "html/HtmlAnimations.h"
#include "html/HtmlFonts.h"
#include "html/HtmlImages.h"
#include "html/HtmlSupport.h"

#include <QRect>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QPainter;
class TCell;
class TSectionList;

// Justification of text: 1 left, 2 centre, 3 right.
enum TJustify : int { JustLeft = 1, JustCenter = 2, JustRight = 3 };
// Style flags added to a section's fonts.
enum TStyleFlag : int { StyleBold = 1, StyleItalic = 2, StyleUnderline = 4, StyleStrikeOut = 8 };
// BR CLEAR: 0 none, 1 left, 2 right, 3 both.
enum TClearSide : int { ClearNone = 0, ClearLeft = 1, ClearRight = 2, ClearAll = 3 };

// Placeholder bytes in a section's text.
constexpr char ControlChar = 2;
constexpr char ImageChar = 4;

// What a character query reports besides the index.
struct TCharHit {
    int LineHeight = 0;
    int LineTop = 0;
    int CaretX = 0;
    bool BeyondEnd = false;  // the point lies past the end of its line
    bool BeforeText = false; // the point lies left of the line's text
};

// A form control as text layout sees it: a box standing at a placeholder
// position of a section's text. The form code derives its controls from it
// and moves its window control when the section paints it.
class TSectionControl : public TObject {
public:
    int Pos = 0;
    // y of the line holding it, recorded by layout.
    int YValue = 0;
    bool ShownInPaint = false;
    // False for hidden fields and image buttons: no byte of the text stands
    // for them, so they share their position with what follows.
    bool Placeholder = true;
    // The cell whose text holds it (its background shows behind radios).
    TCell* Cell = nullptr;

    virtual int ControlWidth() const = 0;
    virtual int ControlHeight() const = 0;
    // Check boxes and radio buttons sit on the baseline, others on the
    // bottom of the line.
    virtual bool OnBaseline() const { return false; }
    // Moves the window control to (x, y) of the paint surface and shows it.
    virtual void PlaceAt(int x, int y) = 0;
    // SELECT options and TEXTAREA lines, read by the parser.
    virtual void AddOption(const std::string& value, const std::string& caption, bool selected);
    virtual void AddLine(const std::string& line);
    virtual void ResetToInitial() {}
    // After a paint that followed a scroll or a layout, for a control not
    // painted: its window control is hidden (or moved off-screen when a
    // control of the page has the focus). paintedArea is the panel rectangle
    // just painted: a control outside it that a pixel scroll carried along
    // is still where it belongs.
    virtual void HideControl(const QRect& /*paintedArea*/) {}
    // Sizes the window control from its font; the document calls it before
    // every layout.
    virtual void FitToFont() {}
    // An image button: the section adds an inline image that carries it.
    virtual bool CarriedByImage() const { return false; }
    // The image of an image button was clicked at (x, y) inside it.
    virtual void ImageClick(int /*x*/, int /*y*/) {}
};

// Makes the control of an INPUT (kind = TYPE), SELECT or TEXTAREA tag, or
// null when it has none; hidden fields and image buttons have no
// placeholder (placeholder false). form is the parser's current form: a
// control made without one makes a form and leaves it there, so that the
// controls that follow outside any FORM share it. Installed by the form code.
using TFormControlFactory = std::function<std::unique_ptr<TSectionControl>(TSectionList& document, TObject*& form,
    const std::string& tag, const TAttributeList& attributes, bool& placeholder)>;

// ---------------------------------------------------------------------------
class TSectionBase : public TObject {
public:
    explicit TSectionBase(TSectionList* document) : Document(document) {}

    TSectionList* Document;
    int SectionHeight = 0; // height added to the flow
    int DrawHeight = 0;    // height of everything painted (floats may hang below)
    int YPosition = 0;     // top, from the last layout
    int StartIndex = 0;    // range in the document-wide character numbering
    int CharCount = 0;

    // Virtual operations, in slot order.
    // 1. Appends the part inside the document's selection to `sink`.
    virtual void CopySelection(std::string& sink);
    // 2. Lays the section out at y; returns the height it adds to the flow.
    virtual int ComputeLayout(int y, int& charIndex, int& widest, IndentManager& indents);
    // 3. Paints the section whose top is at document y, in the cell whose
    // left edge is at panel x; returns y after the section.
    virtual int Paint(QPainter& canvas, const QRect& area, int y, int x);
    // 4. Link or form control at (x, y) (document y).
    virtual bool LinkAt(int x, int y, TObject*& formControl, std::unique_ptr<TUrlTarget>& link);
    // 5. The image at (x, y) and the position inside it.
    virtual TImageObj* ImageAt(int x, int y, int& imageX, int& imageY);
    // 6. Document character index at (x, y), or -1.
    virtual int CharIndexAt(int x, int y, TCharHit& hit);
    // 7. First match at or after document index `from`, or -1.
    virtual int FindText(int from, std::string_view text, bool matchCase);
    // 8. Position of a document character index.
    virtual bool CharIndexToXY(int index, int& x, int& y);
    // 9. The character at a document index.
    virtual bool CharAtIndex(int index, char& ch, TSectionBase*& owner);
    // 10. Fonts and sizes re-derived after the document defaults changed.
    virtual void RefreshFonts();
    // 11. Fixed heights from the default font size.
    virtual void UpdateSize() {}
    // 12. Narrowest and widest useful width (tables).
    virtual void WidthRange(int& minimum, int& maximum);

    // The text dump of the laid-out model (tests, htmlsnap --layout).
    virtual std::string KindName() const = 0;
    virtual void DumpLayout(std::string& out, int indent) const;
};

// ---------------------------------------------------------------------------
// Spacing and rule blocks: fixed heights scaled by the default font size S.

class TParagraphSpace : public TSectionBase {
public:
    explicit TParagraphSpace(TSectionList* document);
    void CopySelection(std::string& sink) override;
    void UpdateSize() override;
    std::string KindName() const override { return "TParagraphSpace"; }
};

class THeadingSpace : public TSectionBase {
public:
    THeadingSpace(TSectionList* document, int level);
    void CopySelection(std::string& sink) override;
    void UpdateSize() override;
    std::string KindName() const override { return "THeadingSpace"; }
    int Level;
};

class THorzLine : public TSectionBase {
public:
    THorzLine(TSectionList* document, const TAttributeList& attributes);
    void CopySelection(std::string& sink) override;
    int ComputeLayout(int y, int& charIndex, int& widest, IndentManager& indents) override;
    int Paint(QPainter& canvas, const QRect& area, int y, int x) override;
    void UpdateSize() override;
    std::string KindName() const override { return "THorzLine"; }
    void DumpLayout(std::string& out, int indent) const override;

    int Thickness = 2;   // SIZE 1..20
    int Width = 0;       // WIDTH, 0 when none
    bool Percent = false;
    int Align = JustCenter;
    bool HasColor = false;
    TColor Color = clBlack;
    bool NoShade = false;
    // The bar, relative to the cell's left edge, from the last layout.
    int BarLeft = 0;
    int BarRight = 0;
};

// ---------------------------------------------------------------------------
// One laid-out line of a text section.
class LineRec : public TObject {
public:
    int Start = 0;       // position in the section's text
    int Ln = 0;          // character count
    int LineHeight = 0;  // tallest font in the line
    int Descent = 0;     // largest font descent
    int SpaceBefore = 0; // extra room for tall images and controls
    int SpaceAfter = 0;
    int LineDrawHeight = 0;
    int LineX = 0;       // left end of its text (cell-relative)
    int Y = 0;           // top, document space
    int DrawX = 0;       // painted x, recorded while painting
    int Height() const { return LineHeight + SpaceBefore + SpaceAfter; }
};

enum TListKind : int { ListNone = 0, ListNumbered = 1, ListBulleted = 2, ListDefinition = 3 };

// A text block: one flat buffer with font runs, images and form controls
// indexed by position.
class TSection : public TSectionBase {
public:
    // Text beyond this many bytes is dropped.
    static constexpr size_t MaxText = 20000;
    static constexpr int IndentPerLevel = 35;

    TSection(TSectionList* document, int level, int justification, const TUrlTarget& link,
             const TMyFont& font, int style, TSubSuper subSuper);
    ~TSection() noexcept(false) override;

    void CopySelection(std::string& sink) override;
    int ComputeLayout(int y, int& charIndex, int& widest, IndentManager& indents) override;
    int Paint(QPainter& canvas, const QRect& area, int y, int x) override;
    bool LinkAt(int x, int y, TObject*& formControl, std::unique_ptr<TUrlTarget>& link) override;
    TImageObj* ImageAt(int x, int y, int& imageX, int& imageY) override;
    int CharIndexAt(int x, int y, TCharHit& hit) override;
    int FindText(int from, std::string_view text, bool matchCase) override;
    bool CharIndexToXY(int index, int& x, int& y) override;
    bool CharAtIndex(int index, char& ch, TSectionBase*& owner) override;
    void RefreshFonts() override;
    void WidthRange(int& minimum, int& maximum) override;
    std::string KindName() const override { return "TSection"; }
    void DumpLayout(std::string& out, int indent) const override;

    // 13. Appends text with the blank rules (TPreFormated: as given).
    virtual void AddText(std::string_view text);

    void ChangeFont(const TMyFont& font, int style, TSubSuper subSuper);
    // Starts (start true) or ends a link run.
    void SetLink(bool start, const TMyFont& font, int style, TSubSuper subSuper, const TUrlTarget& link);
    void AddImage(const TAttributeList& attributes, TCell* cell);
    // Returns the control, or null when the form code made none.
    TSectionControl* AddFormControl(const std::string& tag, const TAttributeList& attributes, TCell* cell,
                                    TObject*& form);
    // Puts one blank into an empty section first, so that a line break on
    // an empty line keeps a line's height.
    int CurrentJustification();

    bool Empty() const { return Buff.empty(); }
    // The control whose placeholder is at pos, or null.
    TSectionControl* ControlAt(int pos) const;
    // The AddSection step: an empty TPreFormated gets one blank.
    virtual void Finish() {}

    std::string Buff;
    TFontList Fonts;
    TImageObjList Images;
    std::vector<std::unique_ptr<TSectionControl>> Controls;
    int ListLevel;
    int Indent;
    TFreeList Lines;
    TMyFont ItemFont;
    TListKind ListKind = ListNone;
    int Justify;
    int ClearAttr = ClearNone;
    int FirstLineLeft = 0; // left bound at the first line (list markers)

protected:
    // Layout pieces (HtmlSectionsLayout.cpp).
    struct TFloatPlacement {
        TImageObj* Image;
        int Y;
    };
    struct TImageBox {
        TImageObj* Image;
        QRect Box; // cell-relative x, document y
    };
    void MeasureText() const;
    int CostOf(int pos) const;
    int Extent(int from, int to) const;
    int FitChars(int from, int to, int room) const;
    int MakeLine(int start, int& y, IndentManager& indents, bool wrap);
    void FinishLine(LineRec& line, int& y, IndentManager& indents, std::vector<TImageObj*>& queued);
    int ClearOffset(int y, IndentManager& indents) const;
    const LineRec* LineAtY(int y) const;
    int CharsUpToX(const LineRec& line, int x) const;
    virtual int AvailableWidth(int y, IndentManager& indents) const;
    void PaintLine(QPainter& canvas, LineRec& line, int x, int yOff);
    void PaintMarker(QPainter& canvas, const LineRec& line, int x, int yOff);

    // Running sums of the per-character advances (placeholders: their
    // objects' widths, floats 0): Advances()[i] is the extent of Buff[0, i).
    // They live in one scratch buffer per thread, remade for whichever
    // section asks, so a long page keeps no per-character array.
    const std::vector<int>& Advances() const;
    mutable unsigned FMeasureStamp = 0;
    std::vector<TFloatPlacement> FFloats;
    std::vector<TImageBox> FImageBoxes;
    bool FWrap = true;
};

// Preformatted text: never wraps, keeps every blank.
class TPreFormated : public TSection {
public:
    using TSection::TSection;
    void AddText(std::string_view text) override;
    void Finish() override;
    int ComputeLayout(int y, int& charIndex, int& widest, IndentManager& indents) override;
    void WidthRange(int& minimum, int& maximum) override;
    std::string KindName() const override { return "TPreFormated"; }
};

class TUListItem : public TSection {
public:
    TUListItem(TSectionList* document, int level, int justification, const TUrlTarget& link,
               const TMyFont& font, int style, TSubSuper subSuper);
    std::string KindName() const override { return "TUListItem"; }
    bool Plain = false;
};

class TDListItem : public TUListItem {
public:
    TDListItem(TSectionList* document, int level, int justification, const TUrlTarget& link,
               const TMyFont& font, int style, TSubSuper subSuper);
    std::string KindName() const override { return "TDListItem"; }
};

class TOListItem : public TUListItem {
public:
    TOListItem(TSectionList* document, int level, int justification, const TUrlTarget& link,
               const TMyFont& font, int style, TSubSuper subSuper, char numberType, int number);
    std::string KindName() const override { return "TOListItem"; }
    char NumberType;
    int ItemNumber;
};

// The marker text of a numbered item: "A".."Z" (capped at Z), "a".."z",
// "I".."XX" and "i".."xx" (capped at XX), else decimal; with the ".".
std::string ListNumberText(char numberType, int number);
// The bullet colour of a list level on a light background.
TColor BulletColor(int level);

// ---------------------------------------------------------------------------
// A list of sections laid out one below the other.
class TCell : public TFreeList {
public:
    explicit TCell(TSectionList* document) : Document(document) {}

    TSectionList* Document;
    IndentManager IMgr;
    int StartY = 0;
    int StartCurs = 0;
    int CellCharCount = 0;
    TColor BkColor = clNone;
    bool BkGnd = false;

    TSectionBase* Section(int index) const { return ItemAs<TSectionBase>(index); }
    // A missing section is ignored.
    void AddSection(std::unique_ptr<TSectionBase> section);

    int ComputeLayout(int y, int& charIndex, int& widest, int width);
    int Paint(QPainter& canvas, const QRect& area, int y, int x, int clipWidth);
    void WidthRange(int& minimum, int& maximum);
    bool LinkAt(int x, int y, TObject*& formControl, std::unique_ptr<TUrlTarget>& link);
    TImageObj* ImageAt(int x, int y, int& imageX, int& imageY);
    int CharIndexAt(int x, int y, TCharHit& hit);
    bool CharIndexToXY(int index, int& x, int& y);
    int FindText(int from, std::string_view text, bool matchCase);
    bool CharAtIndex(int index, char& ch, TSectionBase*& owner);
    bool SectionAt(int y, TSectionBase*& section, int& top, int& index) const;
    void RefreshFonts();
    void CopySelection(std::string& sink);
    void DumpLayout(std::string& out, int indent) const;

private:
    // FPaintBottoms[i]: the lowest y any of sections 0..i paints at (floats
    // may reach below their section), so a paint finds its first visible
    // section by binary search instead of walking the whole page.
    void RecordPaintBottoms();
    int FirstSectionReaching(int y);
    std::vector<int> FPaintBottoms;
};

using TScriptEvent = std::function<void(QObject* Sender, const std::string& Language, const std::string& Script)>;

// The document.
class TSectionList : public TCell {
public:
    static constexpr size_t MaxFontName = 33;

    explicit TSectionList(QObject* viewer = nullptr);
    ~TSectionList() noexcept(false) override;

    QObject* Viewer;
    std::string FontName = "Times New Roman";
    std::string PreFontName = "Courier New";
    int FontSize = 12;
    TColor FontColor = clBtnText;
    TColor HotSpotColor = 0xFF0000; // blue
    TColor Background = clBtnFace;
    std::string BackgroundName;
    QImage BackgroundBitmap;
    bool BackgroundTried = false;
    int YOff = 0;
    int SelB = 0; // selection [SelB, SelE)
    int SelE = 0;
    TFreeList FormList;
    TFreeList MapList;
    std::vector<TSectionControl*> FormControlList;
    TImageContext ImageContext;
    TScriptEvent OnScript;
    std::function<void(TColor)> OnBackgroundChange;
    TFormControlFactory FormControlFactory;
    // The cell being painted (a table cell or the document itself).
    const TCell* PaintingCell = nullptr;
    // Steps the page's animated GIFs (ImageContext.AnimationList).
    TAnimationDriver Animations { ImageContext.AnimationList };
    // Creates the form of a FORM tag (or of a control outside any form);
    // installed by the form code. The document owns the result.
    std::function<std::unique_ptr<TObject>(TSectionList&, const TAttributeList&)> FormFactory;

    void Clear() override;
    void SetDefaults(const std::string& fontName, const std::string& preFontName, TColor background,
                     TColor hotSpot, TColor fontColor, int fontSize);
    void SetBackground(TColor color);
    void SetBackgroundImage(const std::string& name);
    // Loads the background image on first use (when images are shown).
    const QImage* BackgroundImage();
    void SetScrollOffset(int y);
    int TopOfSection(int index) const;

    // Lays the whole document out at width; returns its height.
    int DoLayout(int y, int width, int& widest, int& charIndex);
    // Changes with every DoLayout (never 0): tables keep what they measured
    // and laid out for one layout only.
    unsigned LayoutStamp = 1;
    // Set while a table cell is laid out only to learn its height: a table
    // inside then stops at its own height and leaves its cells where they
    // were, counted in UnplacedTables.
    bool MeasuringHeights = false;
    unsigned UnplacedTables = 0;
    // Paints the visible part: area in panel coordinates, the document's
    // top-left corner at (x, y) of the panel (the scroll offset is YOff).
    void Draw(QPainter& canvas, const QRect& area, int clipWidth, int x, int y);
    // The selected text, lines ended by CR LF.
    std::string SelectionText();
    // One line per section (kind, y, heights), one per text line (x, y,
    // height, text).
    std::string LayoutDump() const;

    // A layout error is shown once per layout.
    void ReportLayoutError(const QString& message);

private:
    bool FErrorShown = false;
    bool FTidyControls = false; // the scroll offset changed since the last paint
};
