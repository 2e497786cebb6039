#include "html/HtmlScannerText.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

constexpr std::array<std::string_view, 100> EntityNames = {
    "amp", "lt", "gt", "quot",
    "nbsp", "iexcl", "cent", "pound", "curren", "yen", "brvbar", "sect",
    "uml", "copy", "ordf", "laquo", "not", "shy", "reg", "macr",
    "deg", "plusmn", "sup2", "sup3", "acute", "micro", "para", "middot",
    "cedil", "sup1", "ordm", "raquo", "frac14", "frac12", "frac34", "iquest",
    "Agrave", "Aacute", "Acirc", "Atilde", "Auml", "Aring", "AElig", "Ccedil",
    "Egrave", "Eacute", "Ecirc", "Euml", "Igrave", "Iacute", "Icirc", "Iuml",
    "ETH", "Ntilde", "Ograve", "Oacute", "Ocirc", "Otilde", "Ouml", "times",
    "Oslash", "Ugrave", "Uacute", "Ucirc", "Uuml", "Yacute", "THORN", "szlig",
    "agrave", "aacute", "acirc", "atilde", "auml", "aring", "aelig", "ccedil",
    "egrave", "eacute", "ecirc", "euml", "igrave", "iacute", "icirc", "iuml",
    "eth", "ntilde", "ograve", "oacute", "ocirc", "otilde", "ouml", "divide",
    "oslash", "ugrave", "uacute", "ucirc", "uuml", "yacute", "thorn", "yuml",
};
constexpr std::array<int, 4> FirstEntityCodes = {'&', '<', '>', '"'};

struct TNamedColor {
    std::string_view Name;
    uint32_t Rgb;  // 0xRRGGBB as written in pages
};
constexpr std::array<TNamedColor, 16> ColorNames = {{
    {"BLACK", 0x000000}, {"MAROON", 0x800000}, {"GREEN", 0x008000}, {"OLIVE", 0x808000},
    {"NAVY", 0x000080}, {"PURPLE", 0x800080}, {"TEAL", 0x008080}, {"GRAY", 0x808080},
    {"SILVER", 0xC0C0C0}, {"RED", 0xFF0000}, {"LIME", 0x00FF00}, {"YELLOW", 0xFFFF00},
    {"BLUE", 0x0000FF}, {"FUCHSIA", 0xFF00FF}, {"AQUA", 0x00FFFF}, {"WHITE", 0xFFFFFF},
}};

TColor RgbToColor(uint32_t rgb)
{
    return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

} // namespace

int EntityCode(std::string_view name)
{
    for (size_t i = 0; i < EntityNames.size(); ++i)
        if (EntityNames[i] == name)
            return i < FirstEntityCodes.size() ? FirstEntityCodes[i] : static_cast<int>(160 + i - 4);
    return -1;
}

bool ColorFromString(std::string_view text, TColor& color)
{
    for (const TNamedColor& named : ColorNames)
        if (SameIgnoringCase(named.Name, text)) {
            color = RgbToColor(named.Rgb);
            return true;
        }
    if (!text.empty() && text.front() == '#')
        text.remove_prefix(1);
    if (text.size() != 6)
        return false;
    uint32_t rgb = 0;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::toupper(c) - 'A' + 10;
        rgb = rgb * 16 + static_cast<uint32_t>(digit);
    }
    color = RgbToColor(rgb);
    return true;
}
