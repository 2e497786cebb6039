#include "html/HtmlSectionsMeasure.h"

#include "html/HtmlSupport.h"

#include <QFontMetrics>
#include <QHash>

#include <algorithm>
#include <memory>

namespace {

struct TWidthCache {
    QFont LastFont; // runs mostly share their font data: compared first
    const TCharWidths* Last = nullptr;
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
    return result;
}

const TCharWidths& CharWidths(const QFont& font)
{
    thread_local TWidthCache cache;
    if (cache.Last && font == cache.LastFont)
        return *cache.Last;
    auto& slot = cache.Fonts[font.key()];
    if (!slot)
        slot = std::make_shared<TCharWidths>(Measure(font));
    cache.LastFont = font;
    cache.Last = slot.get();
    return *slot;
}
