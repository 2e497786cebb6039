#pragma once
// The symbols of the HTML scanner: one code per tag name, per end tag of the
// tags that have one, and the scanner's own symbols (text, end of input...).
// The codes are internal; only the vocabulary is fixed.

#include <cstdint>
#include <string_view>

enum Symb : uint8_t {
    // Tags with an end tag (48), in table order.
    HtmlSy, TitleSy, BodySy, HeadSy, BSy, ISy, HeadingSy, EmSy, StrongSy, USy,
    CiteSy, VarSy, TTSy, CodeSy, KbdSy, SampSy, OLSy, ULSy, DirSy, MenuSy,
    DLSy, ASy, AddressSy, BlockQuoteSy, PreSy, CenterSy, TableSy, TDSy, THSy,
    CaptionSy, FormSy, TextAreaSy, SelectSy, OptionSy, FontSy, SubSy, SupSy,
    BigSy, SmallSy, PSy, MapSy, FrameSetSy, NoFramesSy, ScriptSy, DivSy, SSy,
    StrikeSy, TRSy,
    // Their end tags, same order.
    HtmlEndSy, TitleEndSy, BodyEndSy, HeadEndSy, BEndSy, IEndSy, HeadingEndSy,
    EmEndSy, StrongEndSy, UEndSy, CiteEndSy, VarEndSy, TTEndSy, CodeEndSy,
    KbdEndSy, SampEndSy, OLEndSy, ULEndSy, DirEndSy, MenuEndSy, DLEndSy,
    AEndSy, AddressEndSy, BlockQuoteEndSy, PreEndSy, CenterEndSy, TableEndSy,
    TDEndSy, THEndSy, CaptionEndSy, FormEndSy, TextAreaEndSy, SelectEndSy,
    OptionEndSy, FontEndSy, SubEndSy, SupEndSy, BigEndSy, SmallEndSy, PEndSy,
    MapEndSy, FrameSetEndSy, NoFramesEndSy, ScriptEndSy, DivEndSy, SEndSy,
    StrikeEndSy, TREndSy,
    // Start-tag-only names (16).
    LISy, BRSy, HRSy, DDSy, DTSy, ImageSy, BaseSy, ButtonSy, InputSy,
    SelectedTagSy, BaseFontSy, AreaSy, FrameSy, BgSoundSy, WrapTagSy, MetaSy,
    // The scanner's own symbols.
    TextTok, UnknownSy, OtherChar, EolSy, EofSy,
    SymbCount
};

constexpr int TagsWithEndTag = 48;

inline constexpr bool IsEndTag(Symb s) { return s >= HtmlEndSy && s <= TREndSy; }
inline constexpr Symb EndTagOf(Symb s) { return static_cast<Symb>(s + TagsWithEndTag); }

// A set of symbols (the block parsers' terminating sets).
class TSymbSet {
public:
    constexpr TSymbSet() = default;
    constexpr TSymbSet(std::initializer_list<Symb> symbols)
    {
        for (Symb s : symbols)
            Include(s);
    }
    constexpr void Include(Symb s) { FBits[s / 64] |= uint64_t(1) << (s % 64); }
    constexpr bool Contains(Symb s) const { return (FBits[s / 64] >> (s % 64)) & 1; }
    constexpr TSymbSet operator+(const TSymbSet& other) const
    {
        TSymbSet r = *this;
        for (int i = 0; i < 3; ++i)
            r.FBits[i] |= other.FBits[i];
        return r;
    }

private:
    uint64_t FBits[3] = {0, 0, 0};
};
static_assert(SymbCount <= 192, "TSymbSet holds 192 symbols");

// Tag name (upper case letters) to its symbol; UnknownSy when it is none of
// the 64 names. An end tag of a start-tag-only name is unknown too.
Symb LookupTag(std::string_view upperName, bool endTag);
// The upper-case tag name of a symbol, for dumps and messages.
std::string_view SymbName(Symb s);
