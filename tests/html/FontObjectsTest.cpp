// Font objects: logical sizes scaled by the document's default size, the
// FONT size tables, run metrics and run lookups by text position.

#include "html/HtmlFonts.h"

#include <QFontMetrics>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

TEST(FontSizes, LogicalSizeScalesWithTheDocumentDefault)
{
    TMyFont font;
    font.SetLogicalSize(12, 12);
    EXPECT_EQ(font.LogicalSize(), 12);
    EXPECT_EQ(font.Size(), 12);
    EXPECT_EQ(font.pixelSize(), 16); // 12 points at 96 dpi
    font.SetLogicalSize(24, 10);
    EXPECT_EQ(font.Size(), 20);
    font.SetLogicalSize(8, 18);
    EXPECT_EQ(font.Size(), 12);

    TMyFont copy;
    font.Fixed = true;
    font.Color = clRed;
    copy.Assign(font);
    EXPECT_EQ(copy.LogicalSize(), 8);
    EXPECT_TRUE(copy.Fixed);
    EXPECT_EQ(copy.Color, clRed);
    EXPECT_EQ(copy.pixelSize(), font.pixelSize());
}

TEST(FontSizes, FontTagStepsForProportionalAndFixedText)
{
    EXPECT_EQ(FontConv[BaseFontSize - 1], 12);
    EXPECT_EQ(FontConv.front(), 8);
    EXPECT_EQ(FontConv.back(), 36);
    EXPECT_EQ(PreFontConv[BaseFontSize - 1], 10);
    EXPECT_EQ(PreFontConv.back(), 30);
}

TEST(FontRuns, MetricsFollowTheFont)
{
    TMyFont font;
    font.setFamily(QStringLiteral("Liberation Serif"));
    font.SetLogicalSize(12, 12);
    TFontObj run(font, 0);
    EXPECT_GT(run.TextHeight, 10);
    EXPECT_GE(run.FontHeight, run.TextHeight);
    EXPECT_GT(run.Descent, 0);
    const int small = run.FontHeight;
    font.SetLogicalSize(24, 12);
    run.SetFont(font);
    EXPECT_GT(run.FontHeight, small + 10);
    EXPECT_EQ(run.TheFont().LogicalSize(), 24);
    EXPECT_TRUE(run.UrlTarget.Empty());
}

// Runs share their metrics between equal fonts; fonts that differ in face,
// size, weight or slant must each get their own, also once more fonts have
// been seen than are remembered.
TEST(FontRuns, EveryFontGetsItsOwnMetrics)
{
    std::vector<TMyFont> fonts;
    for (const char* family : {"Liberation Serif", "Liberation Mono"})
        for (int size : {8, 12, 18, 36})
            for (int style = 0; style < 4; ++style) {
                TMyFont font;
                font.setFamily(QString::fromLatin1(family));
                font.SetLogicalSize(size, 12);
                font.setBold(style & 1);
                font.setItalic(style & 2);
                fonts.push_back(font);
            }
    for (int round = 0; round < 2; ++round)
        for (const TMyFont& font : fonts) {
            const TFontObj run(font, 0);
            const QFontMetrics direct(font);
            SCOPED_TRACE(font.toString().toStdString());
            EXPECT_EQ(run.TextHeight, direct.height());
            EXPECT_EQ(run.FontHeight, direct.height() + std::max(0, direct.leading()));
            EXPECT_EQ(run.Descent, direct.descent());
        }
}

TEST(FontRuns, LookupsFindTheRunInForceAndItsLength)
{
    TFontList runs;
    EXPECT_EQ(runs.GetFontObjAt(3), nullptr);
    EXPECT_EQ(runs.GetFontCountAt(3, 10), 7);
    TMyFont font;
    for (int pos : {0, 5, 12})
        runs.Add(new TFontObj(font, pos));
    int index = -1;
    EXPECT_EQ(runs.GetFontObjAt(0, &index)->Pos, 0);
    EXPECT_EQ(runs.GetFontObjAt(4)->Pos, 0);
    EXPECT_EQ(runs.GetFontObjAt(5, &index)->Pos, 5);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(runs.GetFontObjAt(400)->Pos, 12);
    EXPECT_EQ(runs.GetFontCountAt(2, 20), 3);
    EXPECT_EQ(runs.GetFontCountAt(5, 20), 7);
    EXPECT_EQ(runs.GetFontCountAt(13, 20), 7);
    int overhang = -1;
    EXPECT_NE(runs.GetFontAt(6, overhang), nullptr);
    EXPECT_EQ(overhang, 0);
}
