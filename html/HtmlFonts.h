#pragma once
// The font objects that carry text style through the section model: the
// engine's font (logical size scaled by the document's default size), one
// font run of a text section with its metrics, and the runs of a section.

#include "html/HtmlSupport.h"

#include <QFont>

#include <array>
#include <memory>

// FONT SIZE=1..7 in points, for proportional text and inside PRE; the base
// step is 3.
constexpr std::array<int, 7> FontConv = {8, 10, 12, 14, 18, 24, 36};
constexpr std::array<int, 7> PreFontConv = {7, 8, 10, 12, 15, 20, 30};
constexpr int BaseFontSize = 3;
// The size the logical sizes are written against.
constexpr int NormalFontSize = 12;

// Points to pixels at the 96 dots per inch that layout works in.
int PointsToPixels(int points);

class TMyFont : public QFont {
public:
    TMyFont() = default;
    TMyFont(const TMyFont&) = default;
    TMyFont& operator=(const TMyFont&) = default;

    // Copies the face, style, colour, logical size and fixed-pitch flag.
    void Assign(const TMyFont& source) { *this = source; }

    // Sets the logical size (points as the parser writes them) and the real
    // size: logical size * document default size / 12.
    void SetLogicalSize(int size, int documentFontSize);
    int LogicalSize() const { return FLogicalSize; }
    // The real size in points.
    int Size() const { return FSize; }

    TColor Color = clBlack;
    // PRE, TT, CODE, KBD, SAMP and plain text files.
    bool Fixed = false;

private:
    int FLogicalSize = NormalFontSize;
    int FSize = NormalFontSize;
};

enum class TSubSuper { None = 0, Sub = 1, Super = 2 };

// One font run of a text section: the font in force from Pos on.
class TFontObj : public TObject {
public:
    TFontObj(const TMyFont& font, int pos);

    const TMyFont& TheFont() const { return FFont; }
    // Replaces the font and recomputes the metrics.
    void SetFont(const TMyFont& font);
    void UpdateMetrics();

    int Pos;
    // Height + external leading: what a line of this run needs.
    int FontHeight = 0;
    // Ascent + descent.
    int TextHeight = 0;
    int Overhang = 0;
    int Descent = 0;
    TSubSuper SScript = TSubSuper::None;
    // Empty when the run is not a link.
    TUrlTarget UrlTarget;

private:
    TMyFont FFont;
};

// The runs of one section, ordered by start position.
class TFontList : public TFreeList {
public:
    TFontObj* FontObj(int index) const { return ItemAs<TFontObj>(index); }
    // The run in force at pos: the last one starting at or before it (the
    // first run when pos lies before every run); null when the list is empty.
    TFontObj* GetFontObjAt(int pos, int* index = nullptr) const;
    // The font at pos and its overhang.
    const TMyFont* GetFontAt(int pos, int& overhang) const;
    // Characters from pos to the start of the next run, or to textLength.
    int GetFontCountAt(int pos, int textLength) const;
};
