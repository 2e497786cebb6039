#pragma once
// A page parsed into a document and laid out at a width, as the layout
// benchmarks measure it.

#include "html/HtmlParser.h"
#include "platform/StringList.h"

#include <string>

struct TLaidOutPage {
    TSectionList Doc;
    TStringList Names;
    int Width;
    int Height = 0;

    TLaidOutPage(const std::string& page, int width) : Width(width)
    {
        Doc.SetBackground(clWhite);
        ParseHtmlBuffer(Doc, Names, page.data(), page.size());
        Height = Layout();
    }

    int Layout()
    {
        int widest = 0, chars = 0;
        return Doc.DoLayout(0, Width, widest, chars);
    }
};
