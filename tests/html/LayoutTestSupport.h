#pragma once
// A page parsed from HTML text and laid out, for the parser and layout
// tests.

#include "html/HtmlParser.h"
#include "html/HtmlSections.h"
#include "platform/StringList.h"

#include <QImage>
#include <QPainter>

#include <string>
#include <string_view>

struct TParsedPage {
    TSectionList Doc;
    TStringList Names;
    THtmlParseResult Result;
    int Height = 0;
    int Widest = 0;

    explicit TParsedPage(std::string_view html, int width = 600)
    {
        Doc.SetBackground(clWhite);
        Result = ParseHtmlBuffer(Doc, Names, html.data(), html.size());
        Layout(width);
    }

    int Layout(int width)
    {
        int chars = 0;
        Height = Doc.DoLayout(0, width, Widest, chars);
        return Height;
    }

    std::string Dump() const { return Doc.LayoutDump(); }

    // The text sections (TSection and kinds) in order.
    std::vector<TSection*> TextSections() const
    {
        std::vector<TSection*> result;
        for (TObject* item : Doc)
            if (auto* s = dynamic_cast<TSection*>(item))
                result.push_back(s);
        return result;
    }
    // The non-empty text sections.
    std::vector<TSection*> Filled() const
    {
        std::vector<TSection*> result;
        for (TSection* s : TextSections())
            if (!s->Buff.empty() && s->Buff != " ")
                result.push_back(s);
        return result;
    }
    template <class T>
    T* FirstOf() const
    {
        for (TObject* item : Doc)
            if (auto* s = dynamic_cast<T*>(item))
                return s;
        return nullptr;
    }
    const LineRec& Line(const TSection& s, int index) const { return *s.Lines.ItemAs<LineRec>(index); }

    QImage Render(int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(ToQColor(Doc.Background));
        QPainter painter(&image);
        Doc.Draw(painter, QRect(0, 0, width, height), 2000, 0, 0);
        return image;
    }
};
