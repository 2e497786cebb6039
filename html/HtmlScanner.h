#pragma once
// The HTML scanner: a character reader that normalises line ends and tabs,
// removes comments and "<!" constructs (answering include directives), and a
// scanner that turns the characters into one symbol at a time: a tag with its
// attributes, an end tag, a text run, a decoded entity or the end of input.
// Page text is bytes in Windows-1252.

#include "html/HtmlScannerSymbols.h"
#include "html/HtmlScannerText.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class TAttributeList;
class TStringList;

// Answer to an include directive: the handler receives the command (as
// written) and the parameter lines NAME="value", which it owns, and returns a
// buffer and the number of its bytes to read in place of the comment.
using TIncludeHandler = std::function<void(const QString& command, std::unique_ptr<TStringList> params,
                                           QByteArray& buffer, int& buffSize)>;

class THtmlScanner {
public:
    // A value outside the byte range, so that no byte of the page (26 or NUL
    // included) can end the input early.
    static constexpr int EofChar = 0x100;
    static constexpr int CR = 13;
    static constexpr size_t MaxTokenName = 150;
    static constexpr size_t MaxTextRun = 100;

    THtmlScanner();
    ~THtmlScanner();
    THtmlScanner(const THtmlScanner&) = delete;
    THtmlScanner& operator=(const THtmlScanner&) = delete;

    // The page text; it must outlive the scan. Resets every scanner state and
    // reads the first character.
    void Start(const char* data, size_t size);

    TIncludeHandler OnInclude;

    // Character level (used by the preformatted, TEXTAREA and SCRIPT readers).
    int Ch = EofChar;   // current character after normalisation
    int LCh = EofChar;  // its upper-case copy
    void GetCh();

    // Symbol level.
    void Next();
    Symb Sy = EofSy;
    std::string LCToken;   // text of a text symbol, name of a tag
    int HeadingLevel = 0;  // for H and its end tag
    TAttributeList& Attributes() { return *FAttributes; }
    const TAttributeList& Attributes() const { return *FAttributes; }

    bool InPre = false;          // white space kept, ">" is text
    bool InScript = false;       // comments are not removed
    bool ParagraphSpace = false; // a paragraph space was just emitted

    // Reads an entity starting at the current "&" and returns its text.
    std::string ReadEntity();
    // Reads a tag starting at the current "<"; false (with "<" as text in
    // LCToken) when it does not start a tag. Sets Sy.
    bool ReadTag();
    // Skips blanks and CRs.
    void SkipBlanks();

    bool IsIncluding() const { return FIncludeActive; }

private:
    struct TSource {
        const unsigned char* Pos = nullptr;
        const unsigned char* End = nullptr;
    };

    int RawChar();
    int ReadNormalised();
    // Two slots: the directive reader gives back its look-ahead while a
    // line-end look-ahead may still be pending.
    void PushBack(int c) { FPushed[FPushedCount++] = c; }
    void SkipConstruct();
    void SkipComment();
    void ReadIncludeDirective();
    bool ReadAttribute(bool store);
    std::string ReadQuotedValue(int quote);
    void ReadTextRun();
    void ClearFlagFor(Symb s);

    TSource FMain;
    TSource FInclude;
    bool FIncludeActive = false;
    bool FOpenComment = false; // the input ended inside "<!"
    QByteArray FIncludeBuffer;  // keeps the handler's text alive while read
    int FPushed[2] = {0, 0};
    int FPushedCount = 0;
    std::string FAttrName;  // the attribute just read, as the include
    std::string FAttrText;  // directive needs it
    std::unique_ptr<TAttributeList> FAttributes;
};

inline void THtmlScanner::GetCh()
{
    // Fast path: an ordinary byte of the main source.
    if (FPushedCount == 0 && !FIncludeActive && FMain.Pos < FMain.End) {
        const int c = *FMain.Pos;
        if (c > 13 && c != '<') {
            ++FMain.Pos;
            Ch = c;
            LCh = (c >= 'a' && c <= 'z') ? c - 32 : c;
            return;
        }
    }
    Ch = ReadNormalised();
    LCh = (Ch >= 'a' && Ch <= 'z') ? Ch - 32 : Ch;
}
