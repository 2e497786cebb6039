#pragma once
// The HTML parser: a single-pass, recursive-descent reader over the
// scanner's symbols that fills a document (TSectionList) cell by cell. There
// is no tree: nesting exists only as recursion (lists, tables, centred
// blocks, bounded in depth) and as a stack of fonts. Unknown or misplaced
// tags are skipped; malformed markup is never an error.

#include "html/HtmlScanner.h"
#include "html/HtmlSections.h"

#include <QString>

#include <functional>
#include <memory>
#include <string>

class TStringList;

// OnInclude of the viewer.
using TIncludeType = TIncludeHandler;
// OnSoundRequest: BGSOUND (Terminate is always false from the parser).
using TSoundType = std::function<void(const std::string& SRC, int Loop, bool Terminate)>;
// META: the HTTP-EQUIV, NAME and CONTENT values (empty when absent).
using TMetaType = std::function<void(const std::string& HttpEq, const std::string& Name, const std::string& Content)>;

// What the viewer reads after a parse.
struct THtmlParseResult {
    std::string Title;
    std::string Base;       // BASE HREF
    std::string BaseTarget; // BASE TARGET
};

// Parses an HTML file. An open comment at the end keeps what was built; a
// file that cannot be read raises EInOutError.
THtmlParseResult ParseHtmlFile(TSectionList& document, TStringList& nameList, const QString& fileName,
                               const TIncludeType& includeHandler = {}, const TSoundType& soundHandler = {},
                               const TMetaType& metaHandler = {});
// Parses text held in memory; an open comment at the end raises EParseError
// after the document has been tidied.
THtmlParseResult ParseHtmlBuffer(TSectionList& document, TStringList& nameList, const char* buffer,
                                 size_t length, const TIncludeType& includeHandler = {});
// Shows a plain text file as preformatted text, one section per line.
THtmlParseResult ParseTextFile(TSectionList& document, TStringList& nameList, const QString& fileName);

// Nesting deeper than this (lists, tables, CENTER, DIV) is handled at the
// deepest level allowed.
constexpr int MaxNestingDepth = 256;
