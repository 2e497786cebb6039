#pragma once
// Character advances of a font for the 256 Windows-1252 codes, measured once
// per font and kept per thread. Line breaking sums them instead of asking
// the toolkit for every candidate extent; painting draws without kerning so
// that drawn text matches the measured widths.

#include <QFont>

#include <array>

using TCharWidths = std::array<int, 256>;

// Never negative, whatever the font reports.
const TCharWidths& CharWidths(const QFont& font);

// The font as painting uses it (kerning off).
QFont PaintFont(const QFont& font);
