// Bad input: bounded nesting on a small stack, linear time on pathological
// pages, the text limit of a section, bytes that must not cut the text.

#include "LayoutTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <chrono>
#include <functional>

namespace {

// Runs `work` on a thread with a 1 MiB stack; false when it threw.
bool RunOnSmallStack(const std::function<void()>& work)
{
    struct TJob {
        const std::function<void()>* Work;
        bool Ok = false;
    } job{&work};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 1 << 20);
    pthread_t thread;
    const int created = pthread_create(
        &thread, &attributes,
        [](void* data) -> void* {
            auto* j = static_cast<TJob*>(data);
            try {
                (*j->Work)();
                j->Ok = true;
            } catch (...) {
                j->Ok = false;
            }
            return nullptr;
        },
        &job);
    pthread_attr_destroy(&attributes);
    if (created != 0)
        return false;
    pthread_join(thread, nullptr);
    return job.Ok;
}

std::string Repeat(std::string_view piece, int count)
{
    std::string out;
    out.reserve(piece.size() * static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        out += piece;
    return out;
}

double SecondsToParse(const std::string& html)
{
    const auto start = std::chrono::steady_clock::now();
    TParsedPage page(html, 800);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST(ParserBadInput, DeepNestingIsBoundedAndKeepsItsText)
{
    for (const char* opener : {"<ul><li>", "<table><tr><td>", "<center>", "<div>"}) {
        const std::string html = Repeat(opener, 100000) + "deep text";
        std::string lastText;
        int sections = 0;
        const bool ok = RunOnSmallStack([&] {
            TParsedPage page(html, 800);
            sections = page.Doc.Count();
            // The text may lie in the innermost table cell: copy it all.
            page.Doc.SelB = 0;
            page.Doc.SelE = 1 << 30;
            // The deepest column is narrow: the words may stand on lines of
            // their own.
            lastText.clear();
            for (char c : page.Doc.SelectionText())
                if (c != '\r' && c != '\n' && c != ' ')
                    lastText += c;
            lastText = lastText.substr(lastText.size() >= 8 ? lastText.size() - 8 : 0);
        });
        EXPECT_TRUE(ok) << opener;
        EXPECT_EQ(lastText, "deeptext") << opener;
        EXPECT_GT(sections, 0) << opener;
    }
}

TEST(ParserBadInput, DeepListsStopIndentingAtTheLimit)
{
    TParsedPage page(Repeat("<ul><li>x", 1000), 800);
    int deepest = 0;
    for (TSection* s : page.Filled())
        deepest = std::max(deepest, s->ListLevel);
    EXPECT_EQ(deepest, MaxNestingDepth);
}

// Sanitizer builds run several times slower; a quadratic parse would still
// take minutes there.
constexpr double ParseSecondsLimit = SanitizedBuild() ? 10.0 : 1.0;

TEST(ParserBadInput, PathologicalPagesParseInLinearTime)
{
    const int megabyte = 1 << 20;
    EXPECT_LT(SecondsToParse(Repeat("<b>", megabyte / 3)), ParseSecondsLimit);
    EXPECT_LT(SecondsToParse(Repeat("<li>", megabyte / 4)), ParseSecondsLimit);
    EXPECT_LT(SecondsToParse(Repeat("<font size=7>", megabyte / 13)), ParseSecondsLimit);
    EXPECT_LT(SecondsToParse("<p " + Repeat("a=1 ", 100000) + ">x"), ParseSecondsLimit);
    EXPECT_LT(SecondsToParse("<img " + Repeat("src=x ", 100000) + ">"), ParseSecondsLimit);
}

TEST(ParserBadInput, SectionTextStaysWithinItsLimit)
{
    TParsedPage page(Repeat("word ", 10000), 800);
    size_t total = 0;
    for (TSection* s : page.TextSections()) {
        EXPECT_LE(s->Buff.size(), TSection::MaxText);
        total += s->Buff.size();
    }
    EXPECT_EQ(total, TSection::MaxText);
    TParsedPage pre("<pre>" + std::string(50000, 'p') + "</pre>", 800);
    for (TSection* s : pre.TextSections())
        EXPECT_LE(s->Buff.size(), TSection::MaxText);
}

TEST(ParserBadInput, ControlBytesNeverCutTheText)
{
    const std::string html("one\0two\x1A three\x01<b>\x02" "four", 23);
    TParsedPage page(html, 800);
    const auto filled = page.Filled();
    ASSERT_EQ(filled.size(), 1u);
    EXPECT_EQ(filled[0]->Buff, "onetwo threefour");
}

TEST(ParserBadInput, UnterminatedConstructsEndCleanly)
{
    for (const char* html : {"<a href=\"open", "<script>never ends", "<textarea>open", "<select><option>x",
                             "<pre>open <b", "<map name=m><area", "<table><tr><td>x", "<title>t", "<", "&#",
                             "<ul><li>x</ol></ul></dl></menu>"}) {
        EXPECT_NO_THROW(TParsedPage page(html, 300)) << html;
    }
}
