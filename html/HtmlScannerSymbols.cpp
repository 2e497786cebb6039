#include "html/HtmlScannerSymbols.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

struct TTagName {
    std::string_view Name;
    Symb Symbol;
};

// The 64 tag names: the first 48 have an end tag (their symbol + 48).
constexpr std::array<TTagName, 64> TagNames = {{
    {"HTML", HtmlSy}, {"TITLE", TitleSy}, {"BODY", BodySy}, {"HEAD", HeadSy},
    {"B", BSy}, {"I", ISy}, {"H", HeadingSy}, {"EM", EmSy}, {"STRONG", StrongSy},
    {"U", USy}, {"CITE", CiteSy}, {"VAR", VarSy}, {"TT", TTSy}, {"CODE", CodeSy},
    {"KBD", KbdSy}, {"SAMP", SampSy}, {"OL", OLSy}, {"UL", ULSy}, {"DIR", DirSy},
    {"MENU", MenuSy}, {"DL", DLSy}, {"A", ASy}, {"ADDRESS", AddressSy},
    {"BLOCKQUOTE", BlockQuoteSy}, {"PRE", PreSy}, {"CENTER", CenterSy},
    {"TABLE", TableSy}, {"TD", TDSy}, {"TH", THSy}, {"CAPTION", CaptionSy},
    {"FORM", FormSy}, {"TEXTAREA", TextAreaSy}, {"SELECT", SelectSy},
    {"OPTION", OptionSy}, {"FONT", FontSy}, {"SUB", SubSy}, {"SUP", SupSy},
    {"BIG", BigSy}, {"SMALL", SmallSy}, {"P", PSy}, {"MAP", MapSy},
    {"FRAMESET", FrameSetSy}, {"NOFRAMES", NoFramesSy}, {"SCRIPT", ScriptSy},
    {"DIV", DivSy}, {"S", SSy}, {"STRIKE", StrikeSy}, {"TR", TRSy},
    {"LI", LISy}, {"BR", BRSy}, {"HR", HRSy}, {"DD", DDSy}, {"DT", DTSy},
    {"IMG", ImageSy}, {"BASE", BaseSy}, {"BUTTON", ButtonSy}, {"INPUT", InputSy},
    {"SELECTED", SelectedTagSy}, {"BASEFONT", BaseFontSy}, {"AREA", AreaSy},
    {"FRAME", FrameSy}, {"BGSOUND", BgSoundSy}, {"WRAP", WrapTagSy}, {"META", MetaSy},
}};

// Sorted copy for lookups by name.
const std::array<TTagName, 64>& SortedTags()
{
    static const std::array<TTagName, 64> sorted = [] {
        auto copy = TagNames;
        std::sort(copy.begin(), copy.end(),
                  [](const TTagName& a, const TTagName& b) { return a.Name < b.Name; });
        return copy;
    }();
    return sorted;
}

} // namespace

Symb LookupTag(std::string_view upperName, bool endTag)
{
    const auto& tags = SortedTags();
    auto it = std::lower_bound(tags.begin(), tags.end(), upperName,
                               [](const TTagName& t, std::string_view n) { return t.Name < n; });
    if (it == tags.end() || it->Name != upperName)
        return UnknownSy;
    if (!endTag)
        return it->Symbol;
    return it->Symbol < TagsWithEndTag ? EndTagOf(it->Symbol) : UnknownSy;
}

std::string_view SymbName(Symb s)
{
    if (s < TagsWithEndTag)
        return TagNames[s].Name;
    if (IsEndTag(s))
        return TagNames[s - TagsWithEndTag].Name;
    if (s >= LISy && s <= MetaSy)
        return TagNames[s - LISy + TagsWithEndTag].Name;
    switch (s) {
    case TextTok: return "#TEXT";
    case UnknownSy: return "#UNKNOWN";
    case OtherChar: return "#OTHER";
    case EolSy: return "#EOL";
    case EofSy: return "#EOF";
    default: return "#?";
    }
}
