#include "html/HtmlSectionsMeasure.h"

#include "html/HtmlSupport.h"

#include <QFontMetrics>
#include <QHash>

#include <algorithm>
#include <memory>

namespace {

struct TWidthCache {
    // The fonts used last, compared before the font key is built (pages
    // alternate between a few fonts; building a key costs more).
    static constexpr int RecentCount = 8;
    struct TRecent {
        QFont Font;
        const TCharWidths* Widths = nullptr;
    };
    TRecent Recent[RecentCount];
    int Next = 0;
    QHash<QString, std::shared_ptr<TCharWidths>> Fonts;
};

TCharWidths Measure(const QFont& font)
{
    const QFontMetrics metrics(PaintFont(font));
    TCharWidths widths{};
    const std::string all = [] {
        std::string s(256, ' ');
        for (int i = 0; i < 256; ++i)
            s[i] = static_cast<char>(i);
        return s;
    }();
    const QString text = Win1252ToQString(all);
    for (int i = 0; i < 256; ++i)
        widths[i] = i < 32 ? 0 : std::max(0, metrics.horizontalAdvance(text.at(i)));
    return widths;
}

} // namespace

QFont PaintFont(const QFont& font)
{
    QFont result = font;
    result.setKerning(false);
    // Full hinting gives whole-pixel advances, so that text drawn in one
    // piece ends exactly where the summed character widths say.
    result.setHintingPreference(QFont::PreferFullHinting);
    return result;
}

const TCharWidths& CharWidths(const QFont& font)
{
    thread_local TWidthCache cache;
    for (const auto& recent : cache.Recent)
        if (recent.Widths && recent.Font == font)
            return *recent.Widths;
    auto& slot = cache.Fonts[font.key()];
    if (!slot)
        slot = std::make_shared<TCharWidths>(Measure(font));
    cache.Recent[cache.Next] = {font, slot.get()};
    cache.Next = (cache.Next + 1) % TWidthCache::RecentCount;
    return *slot;
}
