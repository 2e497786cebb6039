// SELECT options, TEXTAREA text, SCRIPT, MAP and TABLE.

#include "html/HtmlParserState.h"
#include "html/HtmlTables.h"

#include <cctype>

namespace {

constexpr size_t MaxOptionText = 80;
constexpr size_t MaxTextAreaRun = 100;

bool IsLineBlank(int c) { return c == ' ' || c == THtmlScanner::CR || c == '\t'; }

// Case-insensitive comparison of collected text with an ASCII word.
bool SameWord(const std::string& text, std::string_view word)
{
    if (text.size() != word.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i])
            return false;
    return true;
}

// VALIGN of TR, TD and TH: "top" and "baseline" 0, "middle" 1, "bottom" 2;
// `fallback` for anything else.
int VAlignOf(const TAttributeList& attributes, int fallback)
{
    const TAttribute* a = attributes.FindAttribute(VAlignSy);
    if (!a)
        return fallback;
    if (SameWord(a->Text, "top") || SameWord(a->Text, "baseline"))
        return 0;
    if (SameWord(a->Text, "middle"))
        return 1;
    if (SameWord(a->Text, "bottom"))
        return 2;
    return fallback;
}

} // namespace

// SELECT: options until the end of SELECT; text outside an option is
// ignored. The end tag stays current.
void THtmlParser::ReadOptions(TSectionControl* control)
{
    bool pending = false;
    bool selected = false;
    std::string value;
    std::string caption;
    auto endOption = [&] {
        if (!pending)
            return;
        pending = false;
        caption = TrimSpaces(caption);
        if (!caption.empty() && control)
            control->AddOption(value, caption, selected);
    };
    Next();
    while (Sy() != SelectEndSy && Sy() != EofSy) {
        if (Sy() == OptionSy) {
            endOption();
            pending = true;
            selected = HasAttribute(SelectedSy);
            value = AttributeText(ValueSy).substr(0, MaxOptionText);
            caption.clear();
        } else if (Sy() == OptionEndSy) {
            endOption();
        } else if (Sy() == TextTok && pending && caption.size() < MaxOptionText) {
            caption += Sc.LCToken.substr(0, MaxOptionText - caption.size());
        }
        Next();
    }
    endOption();
    if (control)
        control->ResetToInitial();
}

// TEXTAREA: its own little scanner; only "</textarea" (any case) ends the
// text, every other "<" is text.
void THtmlParser::ReadTextArea(TSectionControl* control)
{
    std::string line;
    auto addLine = [&] {
        if (control)
            control->AddLine(line);
        line.clear();
    };
    for (;;) {
        const int c = Sc.Ch;
        if (c == THtmlScanner::EofChar)
            break;
        if (c == THtmlScanner::CR) {
            addLine();
            Sc.GetCh();
        } else if (c == '&') {
            line += Sc.ReadEntity();
        } else if (c == '<') {
            std::string word;
            do {
                word.push_back(static_cast<char>(Sc.Ch));
                Sc.GetCh();
            } while (!IsLineBlank(Sc.Ch) && Sc.Ch != '>' && Sc.Ch != THtmlScanner::EofChar &&
                     Sc.Ch != '<' && word.size() < 16);
            if (SameWord(word, "</textarea")) {
                while (Sc.Ch != '>' && Sc.Ch != THtmlScanner::EofChar)
                    Sc.GetCh();
                if (Sc.Ch == '>')
                    Sc.GetCh();
                break;
            }
            line += word;
        } else {
            size_t run = 0;
            while (run < MaxTextAreaRun && Sc.Ch != THtmlScanner::CR && Sc.Ch != '&' && Sc.Ch != '<' &&
                   Sc.Ch != THtmlScanner::EofChar) {
                line.push_back(static_cast<char>(Sc.Ch));
                Sc.GetCh();
                ++run;
            }
        }
    }
    if (!line.empty())
        addLine();
    if (control)
        control->ResetToInitial();
    Sc.Sy = TextAreaEndSy;
}

// SCRIPT: only "</script>" written without blanks ends it. Comments are
// kept as script text. With a handler the text goes to it, line ends as
// CR LF; the buffer grows with the input only.
void THtmlParser::ReadScript()
{
    const std::string language = AttributeText(LanguageSy);
    const bool collect = static_cast<bool>(FDoc.OnScript);
    static constexpr std::string_view End = "</script>";
    std::string script;
    const bool wasScript = Sc.InScript;
    Sc.InScript = true;
    while (Sc.Ch != THtmlScanner::EofChar) {
        if (Sc.Ch == '<') {
            std::string candidate;
            while (candidate.size() < End.size() && Sc.Ch != THtmlScanner::EofChar &&
                   std::tolower(Sc.Ch) == End[candidate.size()]) {
                candidate.push_back(static_cast<char>(Sc.Ch));
                Sc.GetCh();
            }
            if (candidate.size() == End.size())
                break;
            if (collect)
                script += candidate;
            continue;
        }
        if (collect) {
            if (Sc.Ch == THtmlScanner::CR)
                script += "\r\n";
            else
                script.push_back(static_cast<char>(Sc.Ch));
        }
        Sc.GetCh();
    }
    Sc.InScript = wasScript;
    if (collect)
        FDoc.OnScript(FDoc.Viewer, language, script);
    Sc.Sy = ScriptEndSy;
}

// MAP: areas until the end of MAP; a map left open at the end of input is
// discarded.
void THtmlParser::ReadMap()
{
    auto map = std::make_unique<TMapItem>();
    map->MapKey = UpperCase1252(AttributeText(NameSy));
    Next();
    while (Sy() != MapEndSy && Sy() != EofSy) {
        if (Sy() == AreaSy)
            map->AddArea(Sc.Attributes());
        Next();
    }
    if (Sy() == MapEndSy)
        FDoc.MapList.Add(map.release());
}

// TABLE: rows of cells into a ThtmlTable. Each cell's content is read by
// the block parser with that cell current; text between cells goes to the
// enclosing cell. Fonts pushed in a cell are popped and style flags
// restored between cells. The table is added to the enclosing cell when it
// ends, also when the input fails inside it, so that nothing dangles.
void THtmlParser::TableParser(int level)
{
    if (FDepth >= MaxNestingDepth) {
        Next();
        return;
    }
    ++FDepth;
    CloseSection();
    const size_t fontDepth = FFonts.size();
    TCell* const enclosing = FCell;
    // The list level of what the enclosing cell last received: text between
    // cells goes on adding to it.
    int enclosingLevel = FCellLevel;
    const int savedJustify = FJustify;
    const int savedStyle = FStyle;
    static constexpr TSymbSet CellEnds = {TableEndSy, TDSy, TDEndSy, TRSy, TREndSy, THSy,
                                          THEndSy, CaptionSy, CaptionEndSy};
    auto table = std::make_unique<ThtmlTable>(&FDoc, level, enclosing, FJustify, Sc.Attributes());
    std::unique_ptr<TCellList> row;
    std::unique_ptr<TCellObj> cell;
    int rowJustify = 0;
    int rowVAlign = 1;

    auto enterCell = [&](TCell* target) {
        enclosingLevel = FCellLevel;
        FCell = target;
        FCellLevel = 0;
    };
    auto leaveCell = [&] {
        CloseSection();
        FCell = enclosing;
        FCellLevel = enclosingLevel;
    };
    auto finishCell = [&] {
        if (FCell != enclosing)
            leaveCell();
        if (cell) {
            if (!row)
                row = std::make_unique<TCellList>();
            row->Add(cell.release());
        }
    };
    auto finishRow = [&] {
        finishCell();
        table->AddRow(std::move(row));
    };
    auto restoreCellState = [&] {
        FFonts.resize(std::max<size_t>(1, std::min(FFonts.size(), fontDepth)));
        FStyle = savedStyle;
    };
    auto finishTable = [&] {
        EndLink();
        restoreCellState();
        finishRow();
        enclosing->AddSection(std::move(table));
        FJustify = savedJustify;
        FStyle = savedStyle;
        --FDepth;
    };

    try {
        Next();
        while (Sy() != TableEndSy && Sy() != EofSy) {
            switch (Sy()) {
            case TRSy:
                EndLink();
                finishRow();
                row = std::make_unique<TCellList>(Sc.Attributes());
                rowJustify = AlignAttribute(0);
                rowVAlign = VAlignOf(Sc.Attributes(), 1);
                Next();
                break;
            case TDSy:
            case THSy: {
                EndLink();
                finishCell();
                if (!row)
                    row = std::make_unique<TCellList>();
                restoreCellState();
                const bool header = Sy() == THSy;
                FJustify = AlignAttribute(rowJustify ? rowJustify : header ? JustCenter : JustLeft);
                FStyle = header ? (FStyle | StyleBold) : (FStyle & ~StyleBold);
                cell = std::make_unique<TCellObj>(&FDoc, Sc.Attributes(), VAlignOf(Sc.Attributes(), rowVAlign));
                enterCell(&cell->Cell);
                Next();
                while (Sy() == TextTok && Sc.LCToken == " ")
                    Next();
                // A P at the top of a cell adds no space.
                Sc.ParagraphSpace = true;
                NewSection(0);
                BlockParser(0, CellEnds);
                break;
            }
            case TDEndSy:
            case THEndSy:
                EndLink();
                finishCell();
                Next();
                break;
            case TREndSy:
                EndLink();
                finishRow();
                Next();
                break;
            case CaptionSy:
                EndLink();
                restoreCellState();
                finishCell();
                table->TopCaption = !SameWord(AttributeText(AlignSy), "bottom");
                FJustify = JustCenter;
                enterCell(&table->Caption.Cell);
                Next();
                NewSection(0);
                BlockParser(0, CellEnds);
                leaveCell();
                if (Sy() == CaptionEndSy)
                    Next();
                break;
            case TextTok:
                // Text between cells goes to the enclosing cell.
                NewSection(level);
                BlockParser(level, CellEnds);
                CloseSection();
                break;
            default:
                Next();
                break;
            }
        }
    } catch (...) {
        finishTable();
        throw;
    }
    finishTable();
    Next();
}
