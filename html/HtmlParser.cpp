#include "html/HtmlParser.h"

#include "html/HtmlParserState.h"
#include "html/HtmlScannerText.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "platform/StringList.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace {

constexpr int HeadingPoints[7] = {12, 24, 18, 15, 12, 10, 8};

bool SameText(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

// The ALIGN value of P, H, DIV and the like; `fallback` when it is none of
// the three.
int JustifyOf(std::string_view value, int fallback)
{
    if (SameText(value, "left"))
        return JustLeft;
    if (SameText(value, "center"))
        return JustCenter;
    if (SameText(value, "right"))
        return JustRight;
    return fallback;
}

// FONT and BASEFONT SIZE: a value of more than one character starting with
// "+" or "-" is relative to the base size; clamped to 1..7.
int FontSizeStep(const TAttribute& size, int baseStep)
{
    const bool relative = size.Text.size() > 1 && (size.Text[0] == '+' || size.Text[0] == '-');
    const long step = relative ? long(baseStep) + size.Number : size.Number;
    return static_cast<int>(std::clamp<long>(step, 1, 7));
}

QByteArray ReadWholeFile(const QString& fileName)
{
    QByteArray data;
    if (!FileSystem().ReadFile(fileName, data))
        throw EInOutError(QStringLiteral("File not found: ") + fileName);
    return data;
}

} // namespace

// ---------------------------------------------------------------------------
// State, fonts and sections.

THtmlParser::THtmlParser(TSectionList& document, TStringList& nameList)
    : FDoc(document), FNames(nameList), FCell(&document)
{
    TMyFont base;
    base.setFamily(Win1252ToQString(FDoc.FontName));
    base.Color = FDoc.FontColor;
    base.SetLogicalSize(NormalFontSize, FDoc.FontSize);
    FFonts.push_back(base);
    NewSection(0);
}

void THtmlParser::Finish()
{
    CloseSection();
    FFonts.resize(1);
    FLink.Clear();
}

void THtmlParser::Next()
{
    if (FBodyEnded) {
        Sc.Sy = EofSy;
        return;
    }
    Sc.Next();
    // Content after the end of BODY is not shown.
    if (Sc.Sy == BodyEndSy) {
        FBodyEnded = true;
        Sc.Sy = EofSy;
    }
}

bool THtmlParser::PushFont(const TMyFont& font)
{
    if (FFonts.size() >= MaxFontStack)
        return false;
    FFonts.push_back(font);
    return true;
}

void THtmlParser::PopFont()
{
    if (FFonts.size() > 1)
        FFonts.pop_back();
}

TMyFont THtmlParser::PreFont() const
{
    TMyFont font = CurrentFont();
    font.setFamily(Win1252ToQString(FDoc.PreFontName));
    font.Fixed = true;
    font.SetLogicalSize(10, FDoc.FontSize);
    return font;
}

void THtmlParser::NewSection(int level)
{
    FSection = std::make_unique<TSection>(&FDoc, level, FJustify, FLink, CurrentFont(), FStyle, FSubSuper);
}

void THtmlParser::EnsureSection(int level)
{
    if (!FSection)
        NewSection(level);
}

// An empty text section that clears nothing, holds no control, marks no
// anchor and leaves the list level as it is takes no room and changes no
// bound: it is not kept (pages are full of blanks between block tags). One
// that changes the level is kept: it ends or starts list indentation for
// the rules and tables that follow it.
void THtmlParser::CloseSection()
{
    if (!FSection)
        return;
    const bool useless = FSection->Buff.empty() && FSection->ClearAttr == ClearNone && FSection->Controls.empty() &&
                         FSection.get() != FNamedSection && FSection->ListLevel == FCellLevel &&
                         !dynamic_cast<TPreFormated*>(FSection.get());
    if (useless) {
        FSection.reset();
        return;
    }
    FCellLevel = FSection->ListLevel;
    FCell->AddSection(std::move(FSection));
}

void THtmlParser::ChangeSectionFont()
{
    if (FSection)
        FSection->ChangeFont(CurrentFont(), FStyle, FSubSuper);
}

void THtmlParser::AddSectionText(int level, std::string_view text)
{
    EnsureSection(level);
    FSection->AddText(text);
}

std::string THtmlParser::AttributeText(TAttrSymbol symbol) const
{
    const TAttribute* a = Sc.Attributes().FindAttribute(symbol);
    return a ? a->Text : std::string();
}

bool THtmlParser::HasAttribute(TAttrSymbol symbol) const
{
    return Sc.Attributes().FindAttribute(symbol) != nullptr;
}

int THtmlParser::AlignAttribute(int fallback) const
{
    const TAttribute* a = Sc.Attributes().FindAttribute(AlignSy);
    return a ? JustifyOf(a->Text, fallback) : fallback;
}

// ---------------------------------------------------------------------------
// Block parser: the body of the page, of table cells and of centred blocks.

void THtmlParser::BlockParser(int level, const TSymbSet& terminators)
{
    while (Sy() != EofSy && !terminators.Contains(Sy()))
        DoBlockSymbol(level, terminators);
}

void THtmlParser::DoBlockSymbol(int level, const TSymbSet& terminators)
{
    switch (Sy()) {
    case TitleSy:
        DoTitle();
        return;
    case PSy:
    case PEndSy:
        DoParagraph(level);
        return;
    case HeadingSy:
        DoHeading(level);
        break;
    case HeadingEndSy:
        DoHeadingEnd();
        break;
    case HRSy:
        DoRule();
        break;
    case OLSy:
    case ULSy:
    case DirSy:
    case MenuSy:
    case DLSy:
    case BlockQuoteSy:
        DoList(level);
        return;
    case CenterSy:
    case DivSy:
        DoCentered(level, terminators);
        return;
    case PreSy:
        PreParser(level);
        return;
    case TableSy:
        TableParser(level);
        return;
    case BodySy:
        DoBody();
        break;
    case AddressSy:
        CloseSection();
        {
            TMyFont italic = CurrentFont();
            italic.setItalic(true);
            PushFont(italic);
        }
        NewSection(level);
        break;
    case AddressEndSy:
        CloseSection();
        PopFont();
        break;
    case TextTok:
        AddSectionText(level, Sc.LCToken);
        break;
    default:
        if (!DoInlineAction(level, false)) {
            // Unknown, misplaced or unused symbols are skipped.
        }
        break;
    }
    Next();
}

bool THtmlParser::DoInlineAction(int level, bool inPre)
{
    switch (Sy()) {
    case BRSy:
        DoBreak(level);
        return true;
    case BSy: case StrongSy: case ISy: case EmSy: case CiteSy: case VarSy:
    case USy: case SSy: case StrikeSy:
    case BEndSy: case StrongEndSy: case IEndSy: case EmEndSy: case CiteEndSy:
    case VarEndSy: case UEndSy: case SEndSy: case StrikeEndSy:
        DoStyle(Sy());
        return true;
    case TTSy: case CodeSy: case KbdSy: case SampSy:
        if (!inPre) {
            PushFont(PreFont());
            ChangeSectionFont();
        }
        return true;
    case TTEndSy: case CodeEndSy: case KbdEndSy: case SampEndSy:
        if (!inPre) {
            PopFont();
            ChangeSectionFont();
        }
        return true;
    case FontSy:
        DoFont(inPre);
        return true;
    case FontEndSy:
        PopFont();
        ChangeSectionFont();
        return true;
    case BaseFontSy:
        DoBaseFont(inPre);
        return true;
    case BigSy:
    case SmallSy:
        DoBigSmall(Sy() == BigSy);
        return true;
    case BigEndSy:
    case SmallEndSy:
        PopFont();
        ChangeSectionFont();
        return true;
    case SubSy:
    case SupSy:
        EnsureSection(level);
        FSubSuper = Sy() == SubSy ? TSubSuper::Sub : TSubSuper::Super;
        ChangeSectionFont();
        return true;
    case SubEndSy:
    case SupEndSy:
        FSubSuper = TSubSuper::None;
        ChangeSectionFont();
        return true;
    case ASy:
        DoAnchor(level);
        return true;
    case AEndSy:
        EndLink();
        return true;
    case ImageSy:
        EnsureSection(level);
        FSection->AddImage(Sc.Attributes(), FCell);
        return true;
    case InputSy:
    case SelectSy:
    case TextAreaSy:
        DoControl(level);
        return true;
    case FormSy:
        DoForm();
        return true;
    case FormEndSy:
        FForm = nullptr;
        return true;
    case MapSy:
        ReadMap();
        return true;
    case ScriptSy:
        ReadScript();
        return true;
    case BaseSy:
        if (HasAttribute(HrefSy))
            Result.Base = AttributeText(HrefSy);
        if (HasAttribute(TargetSy))
            Result.BaseTarget = AttributeText(TargetSy);
        return true;
    case BgSoundSy:
        DoBgSound();
        return true;
    case MetaSy:
        DoMeta();
        return true;
    default:
        return false;
    }
}

void THtmlParser::DoTitle()
{
    Next();
    while (Sy() == TextTok) {
        Result.Title += Sc.LCToken;
        Next();
    }
}

void THtmlParser::DoBody()
{
    if (FDoc.Count() > 0)
        return;
    FSection.reset();
    TColor color;
    if (ColorFromString(AttributeText(TextSy), color)) {
        FFonts.back().Color = color;
        FDoc.FontColor = color;
    }
    if (ColorFromString(AttributeText(LinkSy), color))
        FDoc.HotSpotColor = color;
    if (ColorFromString(AttributeText(BGColorSy), color))
        FDoc.SetBackground(color);
    if (HasAttribute(BackgroundSy))
        FDoc.SetBackgroundImage(AttributeText(BackgroundSy));
    NewSection(0);
}

// P and end of P: one paragraph space for any run of them; the last ALIGN
// read sets the new section's justification.
void THtmlParser::DoParagraph(int level)
{
    CloseSection();
    if (!Sc.ParagraphSpace) {
        FCell->AddSection(std::make_unique<TParagraphSpace>(&FDoc));
        Sc.ParagraphSpace = true;
    }
    int justify = FJustify;
    while (Sy() == PSy || Sy() == PEndSy) {
        if (Sy() == PSy)
            justify = AlignAttribute(FJustify);
        Next();
    }
    const int saved = FJustify;
    FJustify = justify;
    NewSection(level);
    FJustify = saved;
}

void THtmlParser::DoBreak(int level)
{
    const int justify = FSection ? FSection->CurrentJustification() : FJustify;
    CloseSection();
    const int saved = FJustify;
    FJustify = justify;
    NewSection(level);
    FJustify = saved;
    if (HasAttribute(ClearSy)) {
        const std::string clear = AttributeText(ClearSy);
        FSection->ClearAttr = SameText(clear, "left") ? ClearLeft : SameText(clear, "right") ? ClearRight : ClearAll;
    }
}

void THtmlParser::DoHeading(int listLevel)
{
    if (FFonts.size() >= MaxFontStack)
        return;
    const int level = Sc.HeadingLevel;
    CloseSection();
    TMyFont font = CurrentFont();
    font.setBold(level >= 1);
    font.SetLogicalSize(HeadingPoints[level], FDoc.FontSize);
    PushFont(font);
    FCell->AddSection(std::make_unique<THeadingSpace>(&FDoc, level));
    const int saved = FJustify;
    FJustify = AlignAttribute(FJustify);
    NewSection(listLevel);
    FJustify = saved;
}

void THtmlParser::DoHeadingEnd()
{
    if (FFonts.size() <= 1)
        return;
    CloseSection();
    FCell->AddSection(std::make_unique<THeadingSpace>(&FDoc, Sc.HeadingLevel));
    PopFont();
}

void THtmlParser::DoRule()
{
    CloseSection();
    FCell->AddSection(std::make_unique<THorzLine>(&FDoc, Sc.Attributes()));
}

void THtmlParser::DoStyle(Symb symbol)
{
    const bool end = IsEndTag(symbol);
    const Symb start = end ? static_cast<Symb>(symbol - TagsWithEndTag) : symbol;
    int flag = 0;
    switch (start) {
    case BSy: case StrongSy: flag = StyleBold; break;
    case ISy: case EmSy: case CiteSy: case VarSy: flag = StyleItalic; break;
    case USy: flag = StyleUnderline; break;
    default: flag = StyleStrikeOut; break;
    }
    FStyle = end ? (FStyle & ~flag) : (FStyle | flag);
    ChangeSectionFont();
}

void THtmlParser::DoFont(bool inPre)
{
    TMyFont font = CurrentFont();
    bool changed = false;
    if (const TAttribute* size = Sc.Attributes().FindAttribute(SizeSy)) {
        const int step = FontSizeStep(*size, FBaseFontSize);
        font.SetLogicalSize((inPre || font.Fixed ? PreFontConv : FontConv)[step - 1], FDoc.FontSize);
        changed = true;
    }
    TColor color;
    if (ColorFromString(AttributeText(ColorSy), color)) {
        font.Color = color;
        changed = true;
    }
    std::string face = AttributeText(FaceSy);
    face = TrimSpaces(face.substr(0, face.find(',')));
    if (!face.empty()) {
        font.setFamily(Win1252ToQString(face.substr(0, 50)));
        changed = true;
    }
    if (PushFont(changed ? font : CurrentFont()) && changed)
        ChangeSectionFont();
}

// BASEFONT before any section: it sets the base size step and the font of
// the page; it is applied to the base level so that no end tag removes it.
void THtmlParser::DoBaseFont(bool inPre)
{
    if (FCell != &FDoc || FDoc.Count() > 0)
        return;
    const TAttribute* size = Sc.Attributes().FindAttribute(SizeSy);
    if (!size)
        return;
    FBaseFontSize = FontSizeStep(*size, FBaseFontSize);
    TMyFont& font = FFonts.back();
    font.SetLogicalSize((inPre || font.Fixed ? PreFontConv : FontConv)[FBaseFontSize - 1], FDoc.FontSize);
    ChangeSectionFont();
}

void THtmlParser::DoBigSmall(bool bigger)
{
    TMyFont font = CurrentFont();
    const auto& table = font.Fixed ? PreFontConv : FontConv;
    const auto it = std::find(table.begin(), table.end(), font.LogicalSize());
    if (it == table.end())
        return;
    const int step = static_cast<int>(it - table.begin()) + (bigger ? 1 : -1);
    if (step < 0 || step >= static_cast<int>(table.size()))
        return;
    font.SetLogicalSize(table[step], FDoc.FontSize);
    if (PushFont(font))
        ChangeSectionFont();
}

void THtmlParser::DoAnchor(int level)
{
    if (HasAttribute(HrefSy)) {
        EndLink();
        FLink.Url = AttributeText(HrefSy);
        FLink.Target = AttributeText(TargetSy);
        TMyFont font = CurrentFont();
        font.setUnderline(true);
        font.Color = FDoc.HotSpotColor;
        PushFont(font);
        EnsureSection(level);
        FSection->SetLink(true, CurrentFont(), FStyle, FSubSuper, FLink);
        FInLink = true;
    }
    if (HasAttribute(NameSy)) {
        EnsureSection(level);
        FNames.AddObject(Win1252ToQString(UpperCase1252(AttributeText(NameSy))), FSection.get());
        FNamedSection = FSection.get();
    }
}

void THtmlParser::EndLink()
{
    if (!FInLink)
        return;
    FInLink = false;
    FLink.Clear();
    PopFont();
    if (FSection)
        FSection->SetLink(false, CurrentFont(), FStyle, FSubSuper, FLink);
}

void THtmlParser::DoCentered(int level, const TSymbSet& terminators)
{
    if (FDepth >= MaxNestingDepth) {
        Next();
        return;
    }
    ++FDepth;
    CloseSection();
    const int saved = FJustify;
    FJustify = Sy() == CenterSy ? JustCenter : AlignAttribute(FJustify);
    NewSection(level);
    Next();
    BlockParser(level, terminators + TSymbSet{CenterEndSy, DivEndSy});
    CloseSection();
    FJustify = saved;
    NewSection(level);
    if (Sy() == CenterEndSy || Sy() == DivEndSy)
        Next();
    --FDepth;
}

void THtmlParser::DoBgSound()
{
    if (OnSound && HasAttribute(SrcSy)) {
        const TAttribute* loop = Sc.Attributes().FindAttribute(LoopSy);
        OnSound(AttributeText(SrcSy), loop ? loop->Number : 1, false);
    }
}

void THtmlParser::DoMeta()
{
    if (OnMeta)
        OnMeta(AttributeText(HttpEqSy), AttributeText(NameSy), AttributeText(ContentSy));
}

void THtmlParser::DoForm()
{
    FForm = nullptr;
    if (FDoc.FormFactory) {
        auto form = FDoc.FormFactory(FDoc, Sc.Attributes());
        FForm = form.get();
        if (form)
            FDoc.FormList.Add(form.release());
    }
}

void THtmlParser::DoControl(int level)
{
    EnsureSection(level);
    const Symb tag = Sy();
    const std::string kind = tag == InputSy ? AttributeText(TypeSy) : std::string(SymbName(tag));
    TSectionControl* control = FSection->AddFormControl(kind, Sc.Attributes(), FCell, FForm);
    if (tag == SelectSy)
        ReadOptions(control);
    else if (tag == TextAreaSy)
        ReadTextArea(control);
}

// ---------------------------------------------------------------------------
// Entry points.

void THtmlParser::ParseHtml(const char* data, size_t size)
{
    Sc.Start(data, size);
    Next();
    BlockParser(0, {});
}

namespace {

template <class Parse>
THtmlParseResult RunParser(TSectionList& document, TStringList& nameList, bool keepOnOpenComment,
                           const TIncludeType& includeHandler, const TSoundType& sound, const TMetaType& meta,
                           Parse parse)
{
    THtmlParser parser(document, nameList);
    parser.Sc.OnInclude = includeHandler;
    parser.OnSound = sound;
    parser.OnMeta = meta;
    try {
        parse(parser);
    } catch (const EParseError&) {
        parser.Finish();
        if (!keepOnOpenComment)
            throw;
        return parser.Result;
    } catch (...) {
        parser.Finish();
        throw;
    }
    parser.Finish();
    return parser.Result;
}

} // namespace

THtmlParseResult ParseHtmlFile(TSectionList& document, TStringList& nameList, const QString& fileName,
                               const TIncludeType& includeHandler, const TSoundType& soundHandler,
                               const TMetaType& metaHandler)
{
    const QByteArray data = ReadWholeFile(fileName);
    return RunParser(document, nameList, true, includeHandler, soundHandler, metaHandler,
                     [&](THtmlParser& p) { p.ParseHtml(data.constData(), static_cast<size_t>(data.size())); });
}

THtmlParseResult ParseHtmlBuffer(TSectionList& document, TStringList& nameList, const char* buffer,
                                 size_t length, const TIncludeType& includeHandler)
{
    return RunParser(document, nameList, false, includeHandler, {}, {},
                     [&](THtmlParser& p) { p.ParseHtml(buffer, buffer ? length : 0); });
}

THtmlParseResult ParseTextFile(TSectionList& document, TStringList& nameList, const QString& fileName)
{
    const QByteArray data = ReadWholeFile(fileName);
    return RunParser(document, nameList, true, {}, {}, {},
                     [&](THtmlParser& p) { p.ParseText(data.constData(), static_cast<size_t>(data.size())); });
}
