// Lists, preformatted text and plain text files.

#include "html/HtmlParserState.h"

namespace {

constexpr TSymbSet ListEnds = {OLEndSy, ULEndSy, DirEndSy, MenuEndSy, DLEndSy, BlockQuoteEndSy};
constexpr TSymbSet ListStarts = {OLSy, ULSy, DirSy, MenuSy, DLSy, BlockQuoteSy};

// Preformatted text is handed to its section in pieces of about this size.
constexpr size_t PrePiece = 200;

} // namespace

// A list at `level`; an end tag of any list closes it. Nesting deeper than
// the limit stays at the deepest level, its items and text kept.
void THtmlParser::DoList(int level)
{
    const Symb list = Sy();
    if (list == BlockQuoteSy)
        CloseSection();
    if (FDepth >= MaxNestingDepth) {
        Next();
        return;
    }
    ++FDepth;
    ListParser(level + 1, list, {});
    --FDepth;
    if (ListEnds.Contains(Sy()))
        Next();
}

void THtmlParser::ListParser(int level, Symb listSymbol, const TSymbSet& terminators)
{
    int number = 1;
    char numberType = '1';
    bool plain = false;
    if (listSymbol == OLSy) {
        if (const TAttribute* start = Sc.Attributes().FindAttribute(StartSy); start && start->Number >= 0)
            number = start->Number;
        const std::string type = AttributeText(TypeSy);
        if (!type.empty())
            numberType = type[0];
    } else if (listSymbol == ULSy) {
        plain = HasAttribute(PlainSy);
    }
    CloseSection();
    Next();
    const TSymbSet centredEnds = ListEnds + TSymbSet{EofSy} + terminators;
    int itemLevel = level;
    while (Sy() != EofSy && !ListEnds.Contains(Sy())) {
        if (terminators.Contains(Sy()))
            break;
        switch (Sy()) {
        case LISy:
            CloseSection();
            itemLevel = level;
            if (listSymbol == OLSy) {
                FSection = std::make_unique<TOListItem>(&FDoc, level, FJustify, FLink, CurrentFont(), FStyle,
                                                        FSubSuper, numberType, number);
                if (number < INT32_MAX)
                    ++number;
            } else {
                auto item = std::make_unique<TUListItem>(&FDoc, level, FJustify, FLink, CurrentFont(), FStyle,
                                                         FSubSuper);
                item->Plain = plain || listSymbol == BlockQuoteSy;
                FSection = std::move(item);
            }
            Next();
            while (Sy() == TextTok && Sc.LCToken == " ")
                Next();
            if (Sy() == PSy)
                Next();
            break;
        case DTSy:
        case DDSy:
            CloseSection();
            itemLevel = Sy() == DTSy ? level - 1 : level;
            FSection = std::make_unique<TDListItem>(&FDoc, itemLevel, FJustify, FLink, CurrentFont(), FStyle,
                                                    FSubSuper);
            Next();
            break;
        case CenterSy:
        case DivSy:
            DoCentered(itemLevel, centredEnds);
            break;
        default:
            if (ListStarts.Contains(Sy())) {
                DoList(level);
                break;
            }
            DoBlockSymbol(itemLevel, centredEnds);
            break;
        }
    }
    CloseSection();
}

// ---------------------------------------------------------------------------
// PRE: characters are read directly; a line end starts a new section.

void THtmlParser::NewPreSection(int level)
{
    FSection = std::make_unique<TPreFormated>(&FDoc, level, FJustify, FLink, CurrentFont(), FStyle, FSubSuper);
}

void THtmlParser::FlushPending(std::string& pending)
{
    if (pending.empty())
        return;
    if (!FSection)
        NewPreSection(0);
    FSection->AddText(pending);
    pending.clear();
    Sc.ParagraphSpace = false;
}

void THtmlParser::PreParser(int level)
{
    CloseSection();
    PushFont(PreFont());
    NewPreSection(level);
    Sc.InPre = true;
    std::string pending;
    bool readNext = true;
    for (;;) {
        const int c = Sc.Ch;
        if (c == THtmlScanner::EofChar)
            break;
        if (c == THtmlScanner::CR) {
            FlushPending(pending);
            CloseSection();
            NewPreSection(level);
            Sc.GetCh();
            continue;
        }
        if (c == '&') {
            pending += Sc.ReadEntity();
            continue;
        }
        if (c != '<') {
            pending.push_back(static_cast<char>(c));
            Sc.GetCh();
            if (pending.size() > PrePiece)
                FlushPending(pending);
            continue;
        }
        if (!Sc.ReadTag()) {
            pending.push_back('<');
            continue;
        }
        FlushPending(pending);
        if (Sy() == PreEndSy)
            break;
        if (Sy() == TDEndSy || Sy() == THEndSy) {
            readNext = false;  // the table parser finishes the cell
            break;
        }
        if (Sy() == BodyEndSy) {
            FBodyEnded = true;
            break;
        }
        if (Sy() == PSy || Sy() == BRSy) {
            CloseSection();
            NewPreSection(level);
            if (Sc.Ch == THtmlScanner::CR)
                Sc.GetCh();
            continue;
        }
        // Style, font, link, image, form, MAP and SCRIPT tags act as in the
        // block parser; any other tag is ignored.
        switch (Sy()) {
        case TTSy: case CodeSy: case KbdSy: case SampSy:
        case TTEndSy: case CodeEndSy: case KbdEndSy: case SampEndSy:
        case BaseSy: case BgSoundSy: case MetaSy:
            break;
        default:
            DoInlineAction(level, true);
            break;
        }
        if (Sy() == EofSy)
            break;
    }
    FlushPending(pending);
    CloseSection();
    Sc.InPre = false;
    PopFont();
    if (readNext)
        Next();
}

// A plain text file: every line one preformatted section; comments and
// "<!" constructs are still removed by the character reader.
void THtmlParser::ParseText(const char* data, size_t size)
{
    Sc.Start(data, size);
    FSection.reset();
    PushFont(PreFont());
    Sc.InPre = true;
    NewPreSection(0);
    std::string pending;
    while (Sc.Ch != THtmlScanner::EofChar) {
        if (Sc.Ch == THtmlScanner::CR) {
            FlushPending(pending);
            CloseSection();
            NewPreSection(0);
        } else {
            pending.push_back(static_cast<char>(Sc.Ch));
            if (pending.size() > PrePiece)
                FlushPending(pending);
        }
        Sc.GetCh();
    }
    FlushPending(pending);
    Sc.InPre = false;
}
