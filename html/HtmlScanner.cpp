#include "html/HtmlScanner.h"

#include "html/HtmlSupport.h"
#include "platform/Exceptions.h"
#include "platform/StringList.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace {

constexpr bool IsLetter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool IsDigit(int c) { return c >= '0' && c <= '9'; }
constexpr bool IsBlankOrCR(int c) { return c == ' ' || c == THtmlScanner::CR; }

// Tags whose attributes are kept for the parser; the others are read and
// dropped, leaving the list of the last tag that stored them.
constexpr TSymbSet AttributeTags = {
    BodySy, PSy, BRSy, HeadingSy, HRSy, BaseSy, OLSy, ULSy, ImageSy, ASy,
    TableSy, TDSy, TRSy, THSy, CaptionSy, InputSy, FormSy, TextAreaSy,
    SelectSy, OptionSy, FontSy, BaseFontSy, MapSy, AreaSy, FrameSetSy,
    FrameSy, ScriptSy, DivSy, BgSoundSy, WrapTagSy, MetaSy};

// Symbols after which a paragraph space no longer counts as just emitted.
constexpr TSymbSet ParagraphContent = {BRSy, HeadingSy, HRSy, ImageSy, TextTok,
                                       TableSy, InputSy, TextAreaSy, SelectSy};

// A signed decimal integer, 0 when the text is not one (or does not fit).
int NumberOf(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return (error == std::errc() && end == text.data() + text.size()) ? value : 0;
}

constexpr char OpenCommentMessage[] = "Open Comment at End of HTML File";

} // namespace

THtmlScanner::THtmlScanner() : FAttributes(std::make_unique<TAttributeList>()) {}

THtmlScanner::~THtmlScanner() = default;

void THtmlScanner::Start(const char* data, size_t size)
{
    FMain.Pos = reinterpret_cast<const unsigned char*>(data);
    FMain.End = FMain.Pos + size;
    FIncludeActive = false;
    FIncludeBuffer.clear();
    FPushedCount = 0;
    FOpenComment = false;
    InPre = InScript = ParagraphSpace = false;
    Sy = EofSy;
    LCToken.clear();
    HeadingLevel = 0;
    FAttributes->Clear();
    GetCh();
}

// 1. The next raw byte: the pushed-back one, the include buffer (which
// returns to the interrupted source when exhausted) or the main source.
int THtmlScanner::RawChar()
{
    if (FPushedCount > 0)
        return FPushed[--FPushedCount];
    if (FIncludeActive) {
        if (FInclude.Pos < FInclude.End)
            return *FInclude.Pos++;
        FIncludeActive = false;
        FIncludeBuffer.clear();
    }
    if (FMain.Pos < FMain.End)
        return *FMain.Pos++;
    return EofChar;
}

// 2. and 3. Line ends become one CR, a tab a blank; comments and "<!"
// constructs vanish (several in a row too).
int THtmlScanner::ReadNormalised()
{
    for (;;) {
        int c = RawChar();
        if (c == CR || c == '\n') {
            const int next = RawChar();
            if (!((c == CR && next == '\n') || (c == '\n' && next == CR)))
                PushBack(next);
            return CR;
        }
        if (c == '\t')
            return ' ';
        if (c != '<' || InScript)
            return c;
        const int next = RawChar();
        if (next != '!') {
            PushBack(next);
            return '<';
        }
        try {
            SkipConstruct();
        } catch (const EParseError&) {
            // Reported by the next symbol read, so that the text before the
            // comment is delivered first.
            FOpenComment = true;
            return EofChar;
        }
    }
}

// After "<!": a comment (or include directive) when "--" follows, otherwise
// everything up to the next ">" (a document type declaration).
void THtmlScanner::SkipConstruct()
{
    int c = RawChar();
    if (c == '-') {
        c = RawChar();
        if (c == '-') {
            c = RawChar();
            if (c == '#' && OnInclude && !FIncludeActive) {
                ReadIncludeDirective();
                return;
            }
            PushBack(c);
            SkipComment();
            return;
        }
    }
    while (c != '>') {
        if (c == EofChar)
            throw EParseError(OpenCommentMessage);
        c = RawChar();
    }
}

// 4. A comment ends at two or more dashes, then any blanks and line ends,
// then ">"; anything else after the dashes continues it.
void THtmlScanner::SkipComment()
{
    int dashes = 0;
    bool blanksAfterDashes = false;
    for (;;) {
        const int c = RawChar();
        if (c == EofChar)
            throw EParseError(OpenCommentMessage);
        if (c == '-') {
            dashes = blanksAfterDashes ? 1 : dashes + 1;
            blanksAfterDashes = false;
        } else if (dashes >= 2 && (c == ' ' || c == '\t' || c == CR || c == '\n')) {
            blanksAfterDashes = true;
        } else if (dashes >= 2 && c == '>') {
            return;
        } else {
            dashes = 0;
            blanksAfterDashes = false;
        }
    }
}

// "<!--#command NAME=value ... -->": the handler answers with text read in
// place of the comment. Directives inside included text are comments.
void THtmlScanner::ReadIncludeDirective()
{
    // The directive is read like a tag, with comment removal off so that a
    // "<" inside it does not start another construct.
    const bool wasScript = InScript;
    InScript = true;
    GetCh();
    std::string command;
    while (IsLetter(Ch)) {
        if (command.size() < MaxTokenName)
            command.push_back(static_cast<char>(Ch));
        GetCh();
    }
    auto params = std::make_unique<TStringList>();
    while (ReadAttribute(false))
        params->Add(Win1252ToQString(FAttrName) + QStringLiteral("=\"") + Win1252ToQString(FAttrText) +
                    QStringLiteral("\""));
    InScript = wasScript;
    // The current character was read ahead; give it back to the comment.
    PushBack(Ch == CR ? '\n' : Ch);
    SkipComment();

    QByteArray buffer;
    int size = 0;
    OnInclude(Win1252ToQString(command), std::move(params), buffer, size);
    size = std::min<qsizetype>(std::max(size, 0), buffer.size());
    if (size > 0) {
        FIncludeBuffer = buffer;
        FInclude.Pos = reinterpret_cast<const unsigned char*>(FIncludeBuffer.constData());
        FInclude.End = FInclude.Pos + size;
        FIncludeActive = true;
    }
}

void THtmlScanner::SkipBlanks()
{
    while (IsBlankOrCR(Ch))
        GetCh();
}

// Entities, at the current "&": numeric references up to 5 digits (codes 9,
// 10 and 32..255), names of up to 6 letters and digits, case-sensitive.
// Anything else stays literal.
std::string THtmlScanner::ReadEntity()
{
    std::string literal = "&";
    GetCh();
    if (Ch == '#') {
        literal.push_back('#');
        GetCh();
        std::string digits;
        while (IsDigit(Ch) && digits.size() < 5) {
            digits.push_back(static_cast<char>(Ch));
            GetCh();
        }
        if (digits.empty() || IsDigit(Ch))
            return literal + digits;
        const bool semicolon = Ch == ';';
        if (semicolon)
            GetCh();
        const int code = NumberOf(digits);
        if (code == 9)
            return " ";
        if (code == 10 || (code >= 32 && code <= 255))
            return std::string(1, static_cast<char>(code));
        return literal + digits + (semicolon ? ";" : "");
    }
    std::string name;
    while ((IsLetter(Ch) || IsDigit(Ch)) && name.size() < 6) {
        name.push_back(static_cast<char>(Ch));
        GetCh();
    }
    if (name.empty() || IsLetter(Ch) || IsDigit(Ch))
        return literal + name;
    const bool semicolon = Ch == ';';
    if (semicolon)
        GetCh();
    const int code = EntityCode(name);
    if (code >= 0)
        return std::string(1, static_cast<char>(code));
    return literal + name + (semicolon ? ";" : "");
}

std::string THtmlScanner::ReadQuotedValue(int quote)
{
    std::string text;
    GetCh();
    while (Ch != quote && Ch != EofChar) {
        if (Ch == '&') {
            text += ReadEntity();
            continue;
        }
        if (Ch != CR)
            text.push_back(static_cast<char>(Ch));
        GetCh();
    }
    if (Ch == quote)
        GetCh();
    return TrimSpaces(text);
}

// One attribute NAME[=value]; false when no name starts here.
bool THtmlScanner::ReadAttribute(bool store)
{
    SkipBlanks();
    if (!IsLetter(Ch))
        return false;
    std::string name;
    while (IsLetter(Ch) || Ch == '-') {
        if (name.size() < MaxTokenName)
            name.push_back(static_cast<char>(LCh));
        GetCh();
    }
    const TAttrSymbol symbol = AttributeSymbol(name);
    SkipBlanks();
    int number = symbol == BorderSy ? 1 : 0;
    std::string text;
    if (Ch == '=') {
        GetCh();
        SkipBlanks();
        if (Ch == '"' || Ch == '\'') {
            text = ReadQuotedValue(Ch);
            std::string_view digits = text;
            if (!digits.empty() && digits.back() == '%')
                digits.remove_suffix(1);
            number = NumberOf(digits);
        } else if (Ch == '+' || Ch == '-' || IsDigit(Ch)) {
            while (Ch != ' ' && Ch != CR && Ch != '%' && Ch != '>' && Ch != EofChar) {
                text.push_back(static_cast<char>(LCh));
                GetCh();
            }
            number = NumberOf(text);
            if (Ch == '%') {
                text.push_back('%');
                GetCh();
            }
        } else {
            while (Ch != ' ' && Ch != CR && Ch != '>' && Ch != EofChar) {
                text.push_back(static_cast<char>(Ch));
                GetCh();
            }
        }
    }
    if (store)
        FAttributes->Add(new TAttribute(symbol, number, text));
    FAttrName = std::move(name);
    FAttrText = std::move(text);
    return true;
}

bool THtmlScanner::ReadTag()
{
    GetCh();
    const bool endTag = Ch == '/';
    if (endTag) {
        GetCh();
    } else if (!IsLetter(Ch)) {
        // "<" that starts no tag is text; the next character is the start of
        // the next symbol.
        Sy = TextTok;
        LCToken = "<";
        return false;
    }
    LCToken.clear();
    while (IsLetter(Ch)) {
        if (LCToken.size() < MaxTokenName)
            LCToken.push_back(static_cast<char>(LCh));
        GetCh();
    }
    Sy = LCToken.empty() ? UnknownSy : LookupTag(LCToken, endTag);
    SkipBlanks();
    HeadingLevel = 0;
    if ((Sy == HeadingSy || Sy == HeadingEndSy) && Ch >= '1' && Ch <= '6') {
        HeadingLevel = Ch - '0';
        GetCh();
    }
    const bool store = !endTag && AttributeTags.Contains(Sy);
    if (store)
        FAttributes->Clear();
    while (ReadAttribute(store)) {
    }
    while (Ch != '>' && Ch != EofChar)
        GetCh();
    if (Ch == '>')
        GetCh();
    return true;
}

// Up to 100 characters, stopping before "&", "<", ">" and control
// characters other than CR. Outside PRE white space collapses to a blank.
void THtmlScanner::ReadTextRun()
{
    LCToken.clear();
    while (LCToken.size() < MaxTextRun) {
        if (Ch == '&' || Ch == '<' || Ch == '>' || Ch == EofChar || (Ch < 32 && Ch != CR))
            break;
        if (!InPre && (Ch == ' ' || Ch == CR)) {
            LCToken.push_back(' ');
            do
                GetCh();
            while (Ch == ' ' || Ch == CR);
            continue;
        }
        LCToken.push_back(static_cast<char>(Ch));
        GetCh();
    }
}

void THtmlScanner::Next()
{
    if (Ch == EofChar) {
        if (FOpenComment) {
            FOpenComment = false;
            throw EParseError(OpenCommentMessage);
        }
        Sy = EofSy;
        LCToken.clear();
    } else if (Ch == '<') {
        ReadTag();
    } else if (Ch == '&') {
        Sy = TextTok;
        LCToken = ReadEntity();
    } else if (Ch == '>' && InPre) {
        Sy = TextTok;
        LCToken = ">";
        GetCh();
    } else if (Ch == '>' || (Ch < 32 && Ch != CR)) {
        Sy = OtherChar;
        LCToken.assign(1, static_cast<char>(Ch));
        GetCh();
    } else {
        Sy = TextTok;
        ReadTextRun();
    }
    if (ParagraphSpace && ParagraphContent.Contains(Sy))
        ParagraphSpace = false;
}
