#include "html/HtmlFonts.h"

#include "platform/Numbers.h"

#include <QFontMetrics>

#include <algorithm>
#include <array>

namespace {

struct TFontMetricsEntry {
    QFont Font;
    int Height = 0;
    int Leading = 0;
    int Descent = 0;
};

// The metrics of a font, from a small per-thread cache: a page repeats a
// handful of fonts over thousands of runs, and every query of the font
// engine takes its lock and resolves the font again.
const TFontMetricsEntry& MetricsOf(const QFont& font)
{
    constexpr size_t CacheSize = 16;
    thread_local std::array<TFontMetricsEntry, CacheSize> cache;
    thread_local size_t used = 0, next = 0;
    for (size_t i = 0; i < used; ++i)
        if (cache[i].Font == font && cache[i].Font.resolveMask() == font.resolveMask())
            return cache[i];
    TFontMetricsEntry& entry = cache[next];
    next = (next + 1) % CacheSize;
    used = std::min(used + 1, CacheSize);
    const QFontMetrics metrics(font);
    entry = {font, metrics.height(), metrics.leading(), metrics.descent()};
    return entry;
}

} // namespace

int PointsToPixels(int points)
{
    return MulDiv(points, 96, 72);
}

void TMyFont::SetLogicalSize(int size, int documentFontSize)
{
    FLogicalSize = size;
    FSize = std::max(1, MulDiv(size, documentFontSize, NormalFontSize));
    setPixelSize(std::max(1, PointsToPixels(FSize)));
}

TFontObj::TFontObj(const TMyFont& font, int pos) : Pos(pos), FFont(font)
{
    UpdateMetrics();
}

void TFontObj::SetFont(const TMyFont& font)
{
    FFont = font;
    UpdateMetrics();
}

void TFontObj::UpdateMetrics()
{
    const TFontMetricsEntry& metrics = MetricsOf(FFont);
    TextHeight = metrics.Height;
    FontHeight = TextHeight + std::max(0, metrics.Leading);
    Descent = metrics.Descent;
    Overhang = 0; // outline fonts draw italics without overhang
}

TFontObj* TFontList::GetFontObjAt(int pos, int* index) const
{
    if (Empty())
        return nullptr;
    // Runs are ordered by Pos: find the last one starting at or before pos.
    const auto after = std::upper_bound(begin(), end(), pos, [](int p, TObject* run) {
        return p < static_cast<TFontObj*>(run)->Pos;
    });
    const int i = std::max(0, static_cast<int>(after - begin()) - 1);
    if (index)
        *index = i;
    return FontObj(i);
}

const TMyFont* TFontList::GetFontAt(int pos, int& overhang) const
{
    const TFontObj* run = GetFontObjAt(pos);
    overhang = run ? run->Overhang : 0;
    return run ? &run->TheFont() : nullptr;
}

int TFontList::GetFontCountAt(int pos, int textLength) const
{
    int index = 0;
    if (GetFontObjAt(pos, &index) == nullptr || index + 1 >= Count())
        return std::max(0, textLength - pos);
    return std::max(0, FontObj(index + 1)->Pos - pos);
}
