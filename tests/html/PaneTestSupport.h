#pragma once
// A shown viewer control over pages held in memory, for the control's tests.

#include "TestSupport.h"

#include "html/HtmlPane.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QTest>

#include <string>

class TPaneTest : public ::testing::Test {
protected:
    TPaneTest()
        : FGuard(Files)
    {
        Pane.resize(400, 300);
        Pane.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&Pane));
        Pane.OnSoundRequest = [this](const std::string& src, int, bool terminate) {
            if (src.empty() && terminate)
                ++HtmlLoads;
        };
    }

    void AddPage(const QString& path, const std::string& html) { Files.AddFile(path, QByteArray::fromStdString(html)); }

    void AddPicture(const QString& path, int width, int height)
    {
        QImage picture(width, height, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "BMP");
        Files.AddFile(path, data);
    }

public:
    // A page of `count` paragraphs, each long enough for a few lines.
    static std::string LongBody(int count)
    {
        std::string body;
        for (int i = 0; i < count; ++i)
            body += "<p>Paragraphe " + std::to_string(i)
                + " avec assez de mots pour remplir une ligne ou deux dans la fenetre.</p>\n";
        return body;
    }

protected:
    // Paints what is pending, so that painted positions are known.
    void Settle()
    {
        Pane.PaintPanel()->repaint();
        QCoreApplication::processEvents();
    }

    // The panel point over a document character index.
    QPoint PointOfChar(int index)
    {
        int x = 0;
        int y = 0;
        EXPECT_TRUE(Pane.SectionList().CharIndexToXY(index, x, y));
        return QPoint(x + Pane.MarginWidth() + 2, y - Pane.VScrollPosition() + 4);
    }

    int IndexOfText(const std::string& text) { return Pane.SectionList().FindText(0, text, true); }

    TMemoryFileSystem Files { QStringLiteral("C:\\Pages\\") };
    TScopedFileSystem FGuard;
    THtmlPane Pane;
    int HtmlLoads = 0;
};
