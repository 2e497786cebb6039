// Text is measured character by character and drawn run by run: the two must
// agree to the pixel, or a long run overlaps the word that follows it.

#include "html/HtmlSectionsMeasure.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

TEST(TextMeasure, ARunDrawnInOnePieceIsAsWideAsItsCharacters)
{
    const std::string text = "Korvalith vous fait decouvrir un espace de calcul : une sphere de rayon 1 ";
    for (const char* family : {"Times New Roman", "Arial", "Courier New"}) {
        for (int pixels : {12, 16, 21}) {
            QFont font(family);
            font.setPixelSize(pixels);
            const TCharWidths& widths = CharWidths(font);
            int summed = 0;
            for (unsigned char c : text)
                summed += widths[c];
            const int drawn = QFontMetrics(PaintFont(font)).horizontalAdvance(QString::fromLatin1(text.c_str()));
            EXPECT_EQ(drawn, summed) << family << " " << pixels;
        }
    }
}
