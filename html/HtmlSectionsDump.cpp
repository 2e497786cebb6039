// The text dump of the laid-out model, used by golden layout tests and by
// htmlsnap --layout. One line per section (kind, y, heights), one per text
// line (x, y, height, text); text is written as UTF-8, placeholders as
// [img] and [ctl].

#include "html/HtmlSections.h"

#include <array>

namespace {

void AppendPad(std::string& out, int indent) { out.append(static_cast<size_t>(indent) * 2, ' '); }

// The UTF-8 form of each byte from 128 up, made once: a dump of a long page
// would otherwise convert its text one character at a time.
const std::array<std::string, 128>& UpperHalfUtf8()
{
    static const std::array<std::string, 128> table = [] {
        std::array<std::string, 128> made;
        for (size_t i = 0; i < made.size(); ++i) {
            const char c = static_cast<char>(128 + i);
            made[i] = Win1252ToQString(std::string_view(&c, 1)).toStdString();
        }
        return made;
    }();
    return table;
}

void AppendPrintable(std::string& out, std::string_view bytes)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    for (char c : bytes) {
        const auto code = static_cast<unsigned char>(c);
        if (c == ImageChar)
            out += "[img]";
        else if (c == ControlChar)
            out += "[ctl]";
        else if (code < 32) {
            out += "\\x";
            out += Hex[code >> 4];
            out += Hex[code & 15];
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (code < 128)
            out += c;
        else
            out += UpperHalfUtf8()[code - 128];
    }
}

void AppendHeader(std::string& out, const TSectionBase& s)
{
    out += s.KindName();
    out += " y=";
    out += std::to_string(s.YPosition);
    out += " h=";
    out += std::to_string(s.SectionHeight);
    out += " dh=";
    out += std::to_string(s.DrawHeight);
}

} // namespace

void TSectionBase::DumpLayout(std::string& out, int indent) const
{
    AppendPad(out, indent);
    AppendHeader(out, *this);
    out += '\n';
}

void THorzLine::DumpLayout(std::string& out, int indent) const
{
    AppendPad(out, indent);
    AppendHeader(out, *this);
    out += " bar=" + std::to_string(BarLeft) + ".." + std::to_string(BarRight) +
           " size=" + std::to_string(Thickness) + "\n";
}

void TSection::DumpLayout(std::string& out, int indent) const
{
    AppendPad(out, indent);
    AppendHeader(out, *this);
    if (ListLevel > 0)
        out += " level=" + std::to_string(ListLevel);
    if (ListKind == ListNumbered) {
        const auto* item = static_cast<const TOListItem*>(this);
        out += " marker=" + ListNumberText(item->NumberType, item->ItemNumber);
    }
    out += "\n";
    for (const TObject* item : Lines) {
        const auto* line = static_cast<const LineRec*>(item);
        AppendPad(out, indent + 1);
        out += "line x=" + std::to_string(line->LineX) + " y=" + std::to_string(line->Y) +
               " h=" + std::to_string(line->Height()) + " \"";
        AppendPrintable(out, std::string_view(Buff).substr(line->Start, line->Ln));
        out += "\"\n";
    }
    for (const TFloatPlacement& placed : FFloats) {
        AppendPad(out, indent + 1);
        out += "float x=" + std::to_string(placed.Image->FloatX) + " y=" + std::to_string(placed.Y) +
               " w=" + std::to_string(placed.Image->ObjWidth) + " h=" + std::to_string(placed.Image->ObjHeight) +
               "\n";
    }
}

void TCell::DumpLayout(std::string& out, int indent) const
{
    for (const TObject* item : *this)
        static_cast<const TSectionBase*>(item)->DumpLayout(out, indent);
}

std::string TSectionList::LayoutDump() const
{
    std::string out;
    DumpLayout(out, 0);
    return out;
}
