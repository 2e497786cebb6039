// Image maps: AREA tags built from the input (one line per area, fields
// NAME=value separated by "|", names read with the parser's attribute
// table), then hit tests over a grid that spans every area and its edges.
// A hit must name the link of the first area containing the point; a
// NOHREF area, or no area, is a miss without a link.

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTarget.h"
#include "html/HtmlSupport.h"

#include <QRegion>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int GridSteps = 16;

// The numeric reading of an attribute as the scanner makes it: the leading
// integer, 0 when there is none.
int32_t LeadingNumber(const std::string& text)
{
    return static_cast<int32_t>(std::clamp(std::strtoll(text.c_str(), nullptr, 10), -2147483648LL, 2147483647LL));
}

void AddAreaLine(TMapItem& map, std::string_view line)
{
    TAttributeList attributes;
    const std::vector<std::string_view> fields =
        SplitFuzzInput(reinterpret_cast<const uint8_t*>(line.data()), line.size(), "|");
    for (std::string_view field : fields) {
        const size_t equals = field.find('=');
        const std::string name = UpperCase1252(field.substr(0, equals));
        const std::string value = equals == std::string_view::npos ? std::string() : std::string(field.substr(equals + 1));
        attributes.AddAttribute(AttributeSymbol(name), LeadingNumber(value), value);
    }
    map.AddArea(attributes);
}

// What the first area containing the point says, by direct reading.
const TMapItem::TAreaRegion* FirstAreaAt(const TMapItem& map, const QPoint& point)
{
    for (const TMapItem::TAreaRegion& area : map.AreaRegions)
        if (area.Region.contains(point))
            return &area;
    return nullptr;
}

void CheckHit(const TMapItem& map, int x, int y)
{
    std::unique_ptr<TUrlTarget> link = std::make_unique<TUrlTarget>("stale", "stale");
    const bool hit = map.HitTest(x, y, link);
    const TMapItem::TAreaRegion* area = FirstAreaAt(map, QPoint(x, y));
    const bool expected = area != nullptr && !area->Href.empty();
    if (hit != expected || hit != (link != nullptr) || (hit && link->Url != area->Href))
        std::abort();
}

}  // namespace

KORVALITH_FUZZ_TARGET(imagemap)(const uint8_t* data, size_t size)
{
    TMapItem map;
    for (std::string_view line : SplitFuzzInput(data, size, "\n"))
        AddAreaLine(map, line);
    if (map.AreaRegions.size() != map.AreaTargetList.size())
        std::abort();

    QRect bounds;
    for (const TMapItem::TAreaRegion& area : map.AreaRegions)
        bounds |= area.Region.boundingRect();
    bounds.adjust(-2, -2, 2, 2);
    const int64_t width = std::max<int64_t>(1, bounds.width());
    const int64_t height = std::max<int64_t>(1, bounds.height());
    for (int row = 0; row <= GridSteps; ++row)
        for (int column = 0; column <= GridSteps; ++column)
            CheckHit(map, static_cast<int>(bounds.left() + width * column / GridSteps),
                     static_cast<int>(bounds.top() + height * row / GridSteps));
    // The edges of the 16-bit coordinate range.
    for (int x : {-32768, -1, 0, 32767})
        for (int y : {-32768, -1, 0, 32767})
            CheckHit(map, x, y);
    return 0;
}
