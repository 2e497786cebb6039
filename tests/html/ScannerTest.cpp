// The character reader and scanner: line ends, comments, include
// directives, tags and attributes, entities, text runs, colours.

#include "html/HtmlScanner.h"
#include "html/HtmlScannerText.h"
#include "html/HtmlSupport.h"
#include "platform/Exceptions.h"
#include "platform/StringList.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TToken {
    Symb Sy;
    std::string Text;
};

std::vector<TToken> Scan(std::string_view input, THtmlScanner& scanner)
{
    scanner.Start(input.data(), input.size());
    std::vector<TToken> tokens;
    for (int guard = 0; guard < 10000; ++guard) {
        scanner.Next();
        tokens.push_back({scanner.Sy, scanner.LCToken});
        if (scanner.Sy == EofSy)
            break;
    }
    return tokens;
}

std::vector<TToken> Scan(std::string_view input)
{
    THtmlScanner scanner;
    return Scan(input, scanner);
}

// The text of all text symbols, joined.
std::string TextOf(std::string_view input)
{
    std::string text;
    for (const TToken& t : Scan(input))
        if (t.Sy == TextTok)
            text += t.Text;
    return text;
}

std::string Normalised(std::string_view input)
{
    THtmlScanner scanner;
    scanner.Start(input.data(), input.size());
    std::string out;
    while (scanner.Ch != THtmlScanner::EofChar) {
        out.push_back(scanner.Ch == THtmlScanner::CR ? '|' : static_cast<char>(scanner.Ch));
        scanner.GetCh();
    }
    return out;
}

} // namespace

TEST(ScannerReader, LineEndsBecomeOneCRAndTabsBlanks)
{
    EXPECT_EQ(Normalised("a\r\nb\n\rc\rd\ne\tf"), "a|b|c|d|e f");
    EXPECT_EQ(Normalised("a\n\nb"), "a||b");
    EXPECT_EQ(Normalised("a\r\n\r\nb"), "a||b");
}

TEST(ScannerReader, CommentsAndDeclarationsVanish)
{
    EXPECT_EQ(Normalised("<!DOCTYPE html>a<!-- x -->b<!--y--><!--z-->c"), "abc");
    // Dashes followed by anything but blanks and ">" continue the comment.
    EXPECT_EQ(Normalised("a<!-- one -- two --- three -- \r\n >b"), "ab");
    EXPECT_EQ(Normalised("a<!-- x --!>still comment -->b"), "ab");
    EXPECT_EQ(Normalised("a<b"), "a<b");
}

TEST(ScannerReader, OpenCommentAtEndRaisesAfterTheTextBeforeIt)
{
    THtmlScanner scanner;
    const std::string input = "text <!-- never closed";
    scanner.Start(input.data(), input.size());
    scanner.Next();
    EXPECT_EQ(scanner.LCToken, "text ");
    try {
        scanner.Next();
        FAIL() << "no error";
    } catch (const EParseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Open Comment at End of HTML File"));
    }
    const std::string declaration = "<!DOCTYPE";
    scanner.Start(declaration.data(), declaration.size());
    EXPECT_THROW(scanner.Next(), EParseError);
}

TEST(ScannerReader, IncludeDirectiveReadsHandlerTextInPlace)
{
    THtmlScanner scanner;
    int calls = 0;
    QString command;
    QStringList lines;
    scanner.OnInclude = [&](const QString& cmd, std::unique_ptr<TStringList> params, QByteArray& buffer,
                            int& size) {
        ++calls;
        command = cmd;
        for (int i = 0; i < params->Count(); ++i)
            lines << params->Strings(i);
        buffer = "<b>inc</b>XYZ";
        size = buffer.size() - 3; // only the handler's length is read
    };
    const auto tokens = Scan("A<!--#include file=\"x.htm\" -->Z", scanner);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(command, QStringLiteral("include"));
    EXPECT_EQ(lines, QStringList{QStringLiteral("FILE=\"x.htm\"")});
    std::string text;
    for (const TToken& t : tokens)
        if (t.Sy == TextTok)
            text += t.Text;
    EXPECT_EQ(tokens[1].Sy, BSy);
    EXPECT_EQ(text, "AincZ");
}

TEST(ScannerReader, IncludeInsideIncludedTextIsAComment)
{
    THtmlScanner scanner;
    int calls = 0;
    scanner.OnInclude = [&](const QString&, std::unique_ptr<TStringList>, QByteArray& buffer, int& size) {
        ++calls;
        buffer = "in<!--#include file=\"z\" -->side";
        size = buffer.size();
    };
    const auto tokens = Scan("[<!--#echo-->]", scanner);
    std::string text;
    for (const TToken& t : tokens)
        if (t.Sy == TextTok)
            text += t.Text;
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(text, "[inside]");
}

TEST(ScannerText, WhiteSpaceCollapsesOutsidePre)
{
    EXPECT_EQ(TextOf("one  \r\n\ttwo"), "one two");
    THtmlScanner scanner;
    scanner.Start("a  \tb", 5);
    scanner.InPre = true;
    scanner.Next();
    EXPECT_EQ(scanner.LCToken, "a   b");
}

TEST(ScannerText, RunsAreCutAtHundredCharacters)
{
    const auto tokens = Scan(std::string(250, 'x'));
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0].Text.size(), 100u);
    EXPECT_EQ(tokens[2].Text.size(), 50u);
}

TEST(ScannerText, GreaterThanAndControlBytesAreOtherCharacters)
{
    const std::string input("a>b\0c", 5);
    const auto tokens = Scan(input);
    ASSERT_EQ(tokens.size(), 6u);
    EXPECT_EQ(tokens[1].Sy, OtherChar);
    EXPECT_EQ(tokens[3].Sy, OtherChar);
    EXPECT_EQ(tokens[4].Text, "c"); // a NUL does not end the input
    // Neither does the byte 26.
    EXPECT_EQ(TextOf(std::string("x\x1Ay", 3)), "xy");
}

TEST(ScannerEntities, NamedAndNumeric)
{
    EXPECT_EQ(TextOf("&amp;&lt;&gt;&quot;"), "&<>\"");
    EXPECT_EQ(TextOf("&AMP;"), "&AMP;");
    EXPECT_EQ(TextOf("&eacute;&nbsp;&yuml;&AElig"), "\xE9\xA0\xFF\xC6");
    EXPECT_EQ(TextOf("&#233;&#9;x&#300;&#10;"), "\xE9 x&#300;\n");
    EXPECT_EQ(TextOf("&#123456;"), "&#123456;");
    EXPECT_EQ(TextOf("&#;&unknown;&x"), "&#;&unknown;&x");
    EXPECT_EQ(TextOf("&abcdefgh;"), "&abcdefgh;");
    EXPECT_EQ(TextOf("a & b"), "a & b");
}

TEST(ScannerTags, NamesLevelsAndEndTags)
{
    const auto tokens = Scan("<H2 align=center>x</h2><H><h9></FOO><br/></><P>< b>");
    EXPECT_EQ(tokens[0].Sy, HeadingSy);
    EXPECT_EQ(tokens[2].Sy, HeadingEndSy);
    EXPECT_EQ(tokens[3].Sy, HeadingSy);
    EXPECT_EQ(tokens[5].Sy, UnknownSy);
    EXPECT_EQ(tokens[6].Sy, BRSy);
    EXPECT_EQ(tokens[7].Sy, UnknownSy);
    EXPECT_EQ(tokens[8].Sy, PSy);
    EXPECT_EQ(tokens[9].Sy, TextTok);
    EXPECT_EQ(tokens[9].Text, "<");

    THtmlScanner scanner;
    scanner.Start("<h2><h><h7>", 11);
    scanner.Next();
    EXPECT_EQ(scanner.HeadingLevel, 2);
    scanner.Next();
    EXPECT_EQ(scanner.HeadingLevel, 0);
    scanner.Next();
    EXPECT_EQ(scanner.HeadingLevel, 0);
    EXPECT_EQ(LookupTag("LI", true), UnknownSy);
    EXPECT_EQ(LookupTag("TR", true), TREndSy);
}

TEST(ScannerTags, AttributeValues)
{
    THtmlScanner scanner;
    const std::string input =
        "<img src=\" a&amp;b.gif \" WIDTH=50% height=-7px alt='it' border ismap FOO=bar>";
    scanner.Start(input.data(), input.size());
    scanner.Next();
    ASSERT_EQ(scanner.Sy, ImageSy);
    const TAttributeList& a = scanner.Attributes();
    EXPECT_EQ(a.FindAttribute(SrcSy)->Text, "a&b.gif");
    EXPECT_EQ(a.FindAttribute(WidthSy)->Number, 50);
    EXPECT_EQ(a.FindAttribute(WidthSy)->Text, "50%");
    EXPECT_EQ(a.FindAttribute(HeightSy)->Text, "-7PX");
    EXPECT_EQ(a.FindAttribute(HeightSy)->Number, 0);
    EXPECT_EQ(a.FindAttribute(AltSy)->Text, "it");
    EXPECT_EQ(a.FindAttribute(BorderSy)->Number, 1);
    EXPECT_NE(a.FindAttribute(IsMapSy), nullptr);
    EXPECT_NE(a.FindAttribute(UnknownAttrSy), nullptr);
}

TEST(ScannerTags, AttributesKeptOnlyForListedTags)
{
    THtmlScanner scanner;
    const std::string input = "<p align=right><b class=x><i>";
    scanner.Start(input.data(), input.size());
    scanner.Next();
    scanner.Next();
    scanner.Next();
    // B and I do not store: the list still holds P's attributes.
    EXPECT_EQ(scanner.Attributes().FindAttribute(AlignSy)->Text, "right");
}

TEST(ScannerTags, QuotedValueOpenAtEndEndsCleanly)
{
    const auto tokens = Scan("<a href=\"never closed");
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].Sy, ASy);
    EXPECT_EQ(tokens[1].Sy, EofSy);
}

TEST(ScannerTags, ParagraphSpaceFlagClearedByContent)
{
    THtmlScanner scanner;
    scanner.Start("<b>x", 4);
    scanner.ParagraphSpace = true;
    scanner.Next();
    EXPECT_TRUE(scanner.ParagraphSpace);
    scanner.Next();
    EXPECT_FALSE(scanner.ParagraphSpace);
}

TEST(ScannerColors, NamesAndHexValues)
{
    TColor c = 0;
    EXPECT_TRUE(ColorFromString("Navy", c));
    EXPECT_EQ(c, 0x800000);
    EXPECT_TRUE(ColorFromString("#FF8000", c));
    EXPECT_EQ(c, 0x0080FF);
    EXPECT_TRUE(ColorFromString("00ff00", c));
    EXPECT_EQ(c, 0x00FF00);
    EXPECT_FALSE(ColorFromString("#FFF", c));
    EXPECT_FALSE(ColorFromString("orange", c));
    EXPECT_FALSE(ColorFromString("", c));
}
