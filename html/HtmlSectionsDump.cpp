// The text dump of the laid-out model, used by golden layout tests and by
// htmlsnap --layout. One line per section (kind, y, heights), one per text
// line (x, y, height, text); text is written as UTF-8, placeholders as
// [img] and [ctl].

#include "html/HtmlSections.h"

namespace {

std::string Pad(int indent) { return std::string(static_cast<size_t>(indent) * 2, ' '); }

std::string Printable(std::string_view bytes)
{
    std::string out;
    for (char c : bytes) {
        if (c == ImageChar)
            out += "[img]";
        else if (c == ControlChar)
            out += "[ctl]";
        else if (static_cast<unsigned char>(c) < 32)
            out += "\\x" + std::string(1, "0123456789ABCDEF"[(c >> 4) & 15]) + "0123456789ABCDEF"[c & 15];
        else if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else
            out += Win1252ToQString(std::string_view(&c, 1)).toStdString();
    }
    return out;
}

std::string Header(const TSectionBase& s)
{
    return s.KindName() + " y=" + std::to_string(s.YPosition) + " h=" + std::to_string(s.SectionHeight) +
           " dh=" + std::to_string(s.DrawHeight);
}

} // namespace

void TSectionBase::DumpLayout(std::string& out, int indent) const
{
    out += Pad(indent) + Header(*this) + "\n";
}

void THorzLine::DumpLayout(std::string& out, int indent) const
{
    out += Pad(indent) + Header(*this) + " bar=" + std::to_string(BarLeft) + ".." + std::to_string(BarRight) +
           " size=" + std::to_string(Thickness) + "\n";
}

void TSection::DumpLayout(std::string& out, int indent) const
{
    out += Pad(indent) + Header(*this);
    if (ListLevel > 0)
        out += " level=" + std::to_string(ListLevel);
    if (ListKind == ListNumbered) {
        const auto* item = static_cast<const TOListItem*>(this);
        out += " marker=" + ListNumberText(item->NumberType, item->ItemNumber);
    }
    out += "\n";
    for (const TObject* item : Lines) {
        const auto* line = static_cast<const LineRec*>(item);
        out += Pad(indent + 1) + "line x=" + std::to_string(line->LineX) + " y=" + std::to_string(line->Y) +
               " h=" + std::to_string(line->Height()) + " \"" +
               Printable(std::string_view(Buff).substr(line->Start, line->Ln)) + "\"\n";
    }
    for (const TFloatPlacement& placed : FFloats)
        out += Pad(indent + 1) + "float x=" + std::to_string(placed.Image->FloatX) + " y=" + std::to_string(placed.Y) +
               " w=" + std::to_string(placed.Image->ObjWidth) + " h=" + std::to_string(placed.Image->ObjHeight) +
               "\n";
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
