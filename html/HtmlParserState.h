#pragma once
// The state of one parse and the block parsers (internal to the parser
// units). One THtmlParser lives for one entry-point call.

#include "html/HtmlParser.h"
#include "html/HtmlScanner.h"
#include "html/HtmlSections.h"

#include <string>
#include <vector>

class TStringList;

class THtmlParser {
public:
    static constexpr int MaxFontStack = 25;

    THtmlParser(TSectionList& document, TStringList& nameList);
    THtmlParser(const THtmlParser&) = delete;
    THtmlParser& operator=(const THtmlParser&) = delete;

    void ParseHtml(const char* data, size_t size);
    void ParseText(const char* data, size_t size);
    // On every exit: the current section goes to the current cell.
    void Finish();

    THtmlScanner Sc;
    TSoundType OnSound;
    TMetaType OnMeta;
    THtmlParseResult Result;

private:
    // Scanner access: the end tag of BODY ends the input for every parser.
    void Next();
    Symb Sy() const { return Sc.Sy; }

    // Sections and fonts.
    const TMyFont& CurrentFont() const { return FFonts.back(); }
    bool PushFont(const TMyFont& font);
    void PopFont();
    TMyFont PreFont() const;
    void NewSection(int level);
    void EnsureSection(int level);
    void CloseSection();
    void ChangeSectionFont();
    void AddSectionText(int level, std::string_view text);
    std::string AttributeText(TAttrSymbol symbol) const;
    bool HasAttribute(TAttrSymbol symbol) const;
    int AlignAttribute(int fallback) const;

    // Block parser (HtmlParser.cpp).
    void BlockParser(int level, const TSymbSet& terminators);
    // Performs the action of the current symbol and leaves the next
    // unhandled symbol current.
    void DoBlockSymbol(int level, const TSymbSet& terminators);
    // Actions that consume their tag without reading the next symbol, so
    // that the preformatted reader can use them too. False when the symbol
    // has no such action.
    bool DoInlineAction(int level, bool inPre);
    void DoParagraph(int level);
    void DoBreak(int level);
    void DoHeading(int level);
    void DoHeadingEnd();
    void DoRule();
    void DoStyle(Symb symbol);
    void DoFont(bool inPre);
    void DoBaseFont(bool inPre);
    void DoBigSmall(bool bigger);
    void DoAnchor(int level);
    void EndLink();
    void DoBody();
    void DoTitle();
    void DoCentered(int level, const TSymbSet& terminators);
    void DoBgSound();
    void DoMeta();
    void DoForm();
    void DoControl(int level);

    // Lists, preformatted text and plain text (HtmlParserLists.cpp).
    void ListParser(int level, Symb listSymbol, const TSymbSet& terminators);
    void DoList(int level);
    void PreParser(int level);
    void FlushPending(std::string& pending);
    void NewPreSection(int level);

    // SELECT, TEXTAREA, SCRIPT, MAP and TABLE (HtmlParserObjects.cpp).
    void ReadOptions(TSectionControl* control);
    void ReadTextArea(TSectionControl* control);
    void ReadScript();
    void ReadMap();
    void TableParser(int level);

    TSectionList& FDoc;
    TStringList& FNames;
    TCell* FCell;
    std::unique_ptr<TSection> FSection;
    const TSection* FNamedSection = nullptr; // the last section an anchor names
    int FCellLevel = 0; // list level of the last text section added to the cell
    std::vector<TMyFont> FFonts; // FFonts[0] is the base font (level 1)
    TUrlTarget FLink;
    bool FInLink = false;
    int FStyle = 0;
    int FJustify = JustLeft;
    TSubSuper FSubSuper = TSubSuper::None;
    int FBaseFontSize = 3;
    TObject* FForm = nullptr;
    int FDepth = 0;
    bool FBodyEnded = false;
};
