#pragma once
// Reaching into laid-out tables from the table tests.

#include "LayoutTestSupport.h"

#include "html/HtmlTables.h"

#include <string>
#include <vector>

inline std::vector<ThtmlTable*> TablesOf(const TCell& cell)
{
    std::vector<ThtmlTable*> tables;
    for (TObject* item : cell)
        if (auto* table = dynamic_cast<ThtmlTable*>(item))
            tables.push_back(table);
    return tables;
}

inline ThtmlTable* TableOf(const TParsedPage& page, size_t index = 0)
{
    const std::vector<ThtmlTable*> tables = TablesOf(page.Doc);
    return index < tables.size() ? tables[index] : nullptr;
}

inline TCellObj* CellOf(const ThtmlTable& table, int row, int column) { return table.Row(row)->Cell(column); }

// The text of a cell's sections, joined.
inline std::string TextOf(const TCell& cell)
{
    std::string text;
    for (TObject* item : cell)
        if (auto* s = dynamic_cast<TSection*>(item))
            text += s->Buff;
    return text;
}

// The content range of a cell as the table measures it (without padding).
inline std::pair<int, int> RangeOf(TCellObj& cell)
{
    int minimum = 0, maximum = 0;
    cell.Cell.WidthRange(minimum, maximum);
    return { minimum, maximum };
}

inline std::string Repeat(const std::string& text, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += text;
    return out;
}
