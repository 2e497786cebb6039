// Text layout of sections and the point and position queries over it.

#include "html/HtmlSections.h"

#include "html/HtmlSectionsMeasure.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsPlaceholder(char c) { return c == ImageChar || c == ControlChar; }

} // namespace

// Per-character advances: text from its run's font, an inline image its
// layout width, a floating image nothing, a control its width.
namespace {

struct TAdvanceScratch {
    const TSection* Owner = nullptr;
    unsigned Stamp = 0;
    unsigned NextStamp = 0;
    std::vector<int> Sums;
};

TAdvanceScratch& Scratch()
{
    thread_local TAdvanceScratch scratch;
    return scratch;
}

} // namespace

const std::vector<int>& TSection::Advances() const
{
    const TAdvanceScratch& scratch = Scratch();
    if (scratch.Owner != this || scratch.Stamp != FMeasureStamp || FMeasureStamp == 0)
        MeasureText();
    return scratch.Sums;
}

void TSection::MeasureText() const
{
    TAdvanceScratch& scratch = Scratch();
    scratch.Owner = this;
    if (++scratch.NextStamp == 0) // 0 marks a section never measured
        ++scratch.NextStamp;
    scratch.Stamp = FMeasureStamp = scratch.NextStamp;
    std::vector<int>& FX = scratch.Sums;
    const int length = static_cast<int>(Buff.size());
    FX.assign(static_cast<size_t>(length) + 1, 0);
    for (int r = 0; r < Fonts.Count(); ++r) {
        const TFontObj* run = Fonts.FontObj(r);
        const int from = std::clamp(run->Pos, 0, length);
        const int to = r + 1 < Fonts.Count() ? std::clamp(Fonts.FontObj(r + 1)->Pos, from, length) : length;
        const TCharWidths& widths = CharWidths(run->TheFont());
        for (int p = from; p < to; ++p) {
            const unsigned char c = static_cast<unsigned char>(Buff[p]);
            int cost = widths[c];
            if (c == ImageChar) {
                const TImageObj* image = Images.FindImage(p);
                cost = !image || image->IsFloat() ? 0 : std::max(0, image->ObjWidth);
            } else if (c == ControlChar) {
                const TSectionControl* control = ControlAt(p);
                cost = control ? std::max(0, control->ControlWidth()) : 0;
            }
            FX[p + 1] = FX[p] + cost;
        }
    }
}

int TSection::Extent(int from, int to) const
{
    const std::vector<int>& FX = Advances();
    return FX[to] - FX[from];
}

// The number of characters of [from, to) whose extent fits in room: a
// binary search over the running sums.
int TSection::FitChars(int from, int to, int room) const
{
    if (room < 0)
        return 0;
    const std::vector<int>& FX = Advances();
    const auto first = FX.begin() + from;
    const auto last = FX.begin() + to + 1;
    const auto beyond = std::upper_bound(first, last, FX[from] + room);
    return static_cast<int>(beyond - first) - 1;
}

int TSection::ClearOffset(int y, IndentManager& indents) const
{
    if (ClearAttr == ClearNone)
        return 0;
    int left = 0, right = 0;
    indents.SideClearances(left, right);
    const int below = ClearAttr == ClearLeft ? left : ClearAttr == ClearRight ? right : std::max(left, right);
    return std::max(0, below - y);
}

int TSection::AvailableWidth(int y, IndentManager& indents) const
{
    return FWrap ? indents.RightBoundAt(y) - indents.LeftBoundAt(y) : 32000;
}

int TSection::ComputeLayout(int y, int& charIndex, int& widest, IndentManager& indents)
{
    // 1. Start afresh.
    YPosition = y;
    StartIndex = charIndex;
    Lines.Clear();
    FFloats.clear();
    FImageBoxes.clear();
    SectionHeight = 0;
    indents.SetListLevel(y, ListLevel);
    const int length = static_cast<int>(Buff.size());
    CharCount = length;
    // 2. An empty section only clears floats.
    if (length == 0) {
        SectionHeight = DrawHeight = ClearOffset(y, indents);
        widest = 0;
        return SectionHeight;
    }
    // 3. Images are sized against the width at the top.
    FirstLineLeft = indents.LeftBoundAt(y);
    widest = indents.ColumnWidth;
    const int available = indents.RightBoundAt(y) - FirstLineLeft;
    for (TObject* item : Images) {
        auto* image = static_cast<TImageObj*>(item);
        image->SizeImage(Document->ImageContext, std::max(0, available), Fonts.GetFontObjAt(image->Pos));
        widest = std::max(widest, image->ObjWidth + Indent);
    }
    for (const auto& control : Controls)
        widest = std::max(widest, control->ControlWidth() + Indent);
    MeasureText();
    // 5. BR CLEAR: an empty line down to below the floats.
    int lineY = y;
    if (const int offset = ClearOffset(y, indents); offset > 0) {
        auto* line = new LineRec;
        line->Y = y;
        line->LineHeight = line->LineDrawHeight = offset;
        Lines.Add(line);
        SectionHeight += offset;
        lineY += offset;
    }
    // 4. Lines until the text is used up; each takes at least one character.
    int pos = 0;
    while (pos < length)
        pos = MakeLine(pos, lineY, indents, FWrap);
    // 9. Document-wide numbering, list items reaching below wider floats.
    charIndex += length;
    if (ListLevel > 0)
        SectionHeight = std::max(SectionHeight, indents.BelowWiderLefts() - YPosition);
    DrawHeight = std::max(SectionHeight, indents.ClearBottom() - YPosition);
    for (TObject* item : Lines) {
        const auto* line = static_cast<const LineRec*>(item);
        widest = std::max(widest, line->LineX + Extent(line->Start, line->Start + line->Ln));
    }
    return SectionHeight;
}

// 6. and 7. Fits one line starting at `start`, breaks it and finishes it;
// returns where the next line starts.
int TSection::MakeLine(int start, int& y, IndentManager& indents, bool wrap)
{
    const int length = static_cast<int>(Buff.size());
    int room = AvailableWidth(y, indents);
    int floatHeight = 0;
    std::vector<TImageObj*> queued;
    bool lineEmpty = true;
    bool allFit = true;
    int p = start;
    while (p < length) {
        const char c = Buff[p];
        if (IsPlaceholder(c)) {
            TImageObj* image = c == ImageChar ? Images.FindImage(p) : nullptr;
            if (image && image->IsFloat()) {
                if (lineEmpty) {
                    // A float met at the start of a line is placed at once.
                    const int before = AvailableWidth(y, indents);
                    indents.AddFloatImage(y, image);
                    FFloats.push_back({image, y});
                    FImageBoxes.push_back({image, QRect(image->FloatX, y, image->ObjWidth, image->ObjHeight)});
                    room -= before - AvailableWidth(y, indents);
                    floatHeight = std::max(floatHeight, image->ObjHeight);
                } else {
                    queued.push_back(image);
                }
                ++p;
                continue;
            }
            const int cost = Extent(p, p + 1);
            if (cost > room) {
                allFit = false;
                break;
            }
            room -= cost;
            lineEmpty = false;
            ++p;
            continue;
        }
        int segmentEnd = length;
        if (!Images.Empty() || !Controls.empty()) {
            if (const void* image = std::memchr(Buff.data() + p, ImageChar, length - p))
                segmentEnd = static_cast<int>(static_cast<const char*>(image) - Buff.data());
            if (const void* control = std::memchr(Buff.data() + p, ControlChar, segmentEnd - p))
                segmentEnd = static_cast<int>(static_cast<const char*>(control) - Buff.data());
        }
        const int fit = FitChars(p, segmentEnd, room);
        if (fit > 0)
            lineEmpty = false;
        if (fit == segmentEnd - p) {
            room -= Extent(p, segmentEnd);
            p = segmentEnd;
            continue;
        }
        p += fit;
        allFit = false;
        break;
    }
    int end = p;
    if (!allFit && wrap) {
        if (end == start)
            end = start + 1;
        const char last = Buff[end - 1];
        if (last == ' ') {
            while (end < length && Buff[end] == ' ')
                ++end;
        } else if (end < length && IsPlaceholder(Buff[end])) {
            // The line ends before the image or control.
        } else {
            int b = end - 1;
            while (b >= start && Buff[b] != ' ' && !IsPlaceholder(Buff[b]))
                --b;
            if (b >= start) {
                end = b + 1;
            } else {
                // A word longer than the line overflows whole.
                while (end < length && Buff[end] != ' ' && !IsPlaceholder(Buff[end]))
                    ++end;
                while (end < length && Buff[end] == ' ')
                    ++end;
            }
        }
    } else if (end == start) {
        end = start + 1;
    }
    queued.erase(std::remove_if(queued.begin(), queued.end(), [end](TImageObj* i) { return i->Pos >= end; }),
                 queued.end());

    auto* line = new LineRec;
    line->Start = start;
    line->Ln = end - start;
    line->Y = y;
    Lines.Add(line);
    FinishLine(*line, y, indents, queued);
    line->LineDrawHeight = std::max(line->LineDrawHeight, floatHeight);
    return end;
}

// 8. Heights, room for tall images and controls, x by justification; the
// floats queued in mid-line are placed below it.
void TSection::FinishLine(LineRec& line, int& y, IndentManager& indents, std::vector<TImageObj*>& queued)
{
    const int end = line.Start + line.Ln;
    bool onlyPlaceholders = true;
    for (int p = line.Start; p < end && onlyPlaceholders; ++p)
        onlyPlaceholders = IsPlaceholder(Buff[p]);
    if (!onlyPlaceholders) {
        int first = 0;
        Fonts.GetFontObjAt(line.Start, &first);
        for (int r = first; r < Fonts.Count() && Fonts.FontObj(r)->Pos < std::max(end, line.Start + 1); ++r) {
            line.LineHeight = std::max(line.LineHeight, Fonts.FontObj(r)->FontHeight);
            line.Descent = std::max(line.Descent, Fonts.FontObj(r)->Descent);
        }
    }
    const int lineHeight = line.LineHeight;
    for (int p = line.Start; p < end; ++p) {
        if (Buff[p] == ImageChar) {
            TImageObj* image = Images.FindImage(p);
            if (!image || image->IsFloat())
                continue;
            const int h = image->ObjHeight;
            switch (image->Alignment) {
            case TImageAlign::Top:
                line.SpaceAfter = std::max(line.SpaceAfter, h - lineHeight);
                break;
            case TImageAlign::Middle: {
                const int after = (h - lineHeight) / 2;
                line.SpaceAfter = std::max(line.SpaceAfter, after);
                line.SpaceBefore = std::max(line.SpaceBefore, h - lineHeight - after);
                break;
            }
            default:
                line.SpaceBefore = std::max(line.SpaceBefore, h + line.Descent - lineHeight);
                break;
            }
        } else if (Buff[p] == ControlChar) {
            if (TSectionControl* control = ControlAt(p)) {
                const int h = control->ControlHeight();
                line.SpaceBefore =
                    std::max(line.SpaceBefore, control->OnBaseline() ? h + line.Descent - lineHeight : h - lineHeight);
                control->YValue = line.Y;
            }
        }
    }
    // Justification, the text width taken without trailing blanks.
    int textEnd = end;
    while (textEnd > line.Start && Buff[textEnd - 1] == ' ')
        --textEnd;
    const int textWidth = Extent(line.Start, textEnd);
    const int left = indents.LeftBoundAt(line.Y);
    const int right = indents.RightBoundAt(line.Y);
    switch (FWrap ? Justify : JustLeft) {
    case JustCenter:
        line.LineX = std::max(left, (left + right - textWidth) / 2);
        break;
    case JustRight:
        line.LineX = right - textWidth - 1;
        break;
    default:
        line.LineX = left;
        break;
    }
    // Hit boxes of the inline images.
    const int baseline = line.Y + line.SpaceBefore + lineHeight - line.Descent;
    for (int p = line.Start; p < end; ++p) {
        if (Buff[p] != ImageChar)
            continue;
        TImageObj* image = Images.FindImage(p);
        if (!image || image->IsFloat())
            continue;
        const int x = line.LineX + Extent(line.Start, p);
        int top = baseline - image->ObjHeight;
        if (image->Alignment == TImageAlign::Top)
            top = line.Y + line.SpaceBefore;
        else if (image->Alignment == TImageAlign::Middle)
            top = line.Y + line.SpaceBefore + (lineHeight - image->ObjHeight) / 2;
        FImageBoxes.push_back({image, QRect(x, top, image->ObjWidth, image->ObjHeight)});
    }
    const int height = line.Height();
    SectionHeight += height;
    y += height;
    line.LineDrawHeight = height;
    for (TImageObj* image : queued) {
        indents.AddFloatImage(y, image);
        FFloats.push_back({image, y});
        FImageBoxes.push_back({image, QRect(image->FloatX, y, image->ObjWidth, image->ObjHeight)});
        line.LineDrawHeight = std::max(line.LineDrawHeight, y - line.Y + image->ObjHeight);
    }
}

int TPreFormated::ComputeLayout(int y, int& charIndex, int& widest, IndentManager& indents)
{
    FWrap = false;
    const int height = TSection::ComputeLayout(y, charIndex, widest, indents);
    if (!Buff.empty())
        widest = Advances().back() + Indent;
    return height;
}

// ---------------------------------------------------------------------------
// Width range (tables).

void TSection::WidthRange(int& minimum, int& maximum)
{
    int floats = 0;
    int widestImage = 0;
    for (TObject* item : Images) {
        auto* image = static_cast<TImageObj*>(item);
        image->SizeImage(Document->ImageContext, 0, Fonts.GetFontObjAt(image->Pos));
        if (image->IsFloat())
            floats += image->ObjWidth + image->HSpace;
        else
            widestImage = std::max(widestImage, image->ObjWidth);
    }
    MeasureText();
    const int length = static_cast<int>(Buff.size());
    maximum = Advances().back() + floats + Indent;
    int widestWord = 0;
    int wordStart = 0;
    for (int p = 0; p <= length; ++p) {
        if (p == length || Buff[p] == ' ' || Buff[p] == ImageChar) {
            widestWord = std::max(widestWord, Extent(wordStart, p));
            wordStart = p + 1;
        }
    }
    minimum = std::max(widestWord, widestImage) + floats + Indent;
}

void TPreFormated::WidthRange(int& minimum, int& maximum)
{
    MeasureText();
    maximum = Advances().back() + Indent;
    minimum = std::min(500, maximum);
}

// ---------------------------------------------------------------------------
// Queries. x is relative to the cell's left edge, y is document space.

const LineRec* TSection::LineAtY(int y) const
{
    for (const TObject* item : Lines) {
        const auto* line = static_cast<const LineRec*>(item);
        if (y >= line->Y && y < line->Y + line->Height())
            return line;
    }
    return nullptr;
}

int TSection::CharsUpToX(const LineRec& line, int x) const
{
    return std::min(FitChars(line.Start, line.Start + line.Ln, x - line.LineX), line.Ln);
}

bool TSection::LinkAt(int x, int y, TObject*& formControl, std::unique_ptr<TUrlTarget>& link)
{
    // Images first.
    for (const TImageBox& box : FImageBoxes) {
        if (!box.Box.contains(x, y))
            continue;
        TImageObj* image = box.Image;
        const int ix = x - box.Box.left();
        const int iy = y - box.Box.top();
        if (image->MyFormControl) {
            formControl = image->MyFormControl;
            return true;
        }
        if (image->UseMap) {
            const TMapItem* map = FindMapItem(&Document->MapList, image->MapName);
            return map && map->HitTest(ix, iy, link);
        }
        const TFontObj* run = Fonts.GetFontObjAt(image->Pos);
        if (!run || run->UrlTarget.Empty())
            return false;
        link = std::make_unique<TUrlTarget>(run->UrlTarget.Url, run->UrlTarget.Target);
        if (image->IsMap)
            link->Url += "?" + std::to_string(ix) + "," + std::to_string(iy);
        return true;
    }
    const LineRec* line = LineAtY(y);
    if (!line || x < line->LineX)
        return false;
    const int n = CharsUpToX(*line, x);
    if (n >= line->Ln)
        return false;
    const TFontObj* run = Fonts.GetFontObjAt(line->Start + n);
    if (!run || run->UrlTarget.Empty())
        return false;
    link = std::make_unique<TUrlTarget>(run->UrlTarget.Url, run->UrlTarget.Target);
    return true;
}

TImageObj* TSection::ImageAt(int x, int y, int& imageX, int& imageY)
{
    for (const TImageBox& box : FImageBoxes)
        if (box.Box.contains(x, y)) {
            imageX = x - box.Box.left();
            imageY = y - box.Box.top();
            return box.Image;
        }
    return nullptr;
}

int TSection::CharIndexAt(int x, int y, TCharHit& hit)
{
    const LineRec* line = LineAtY(y);
    if (!line)
        return -1;
    hit.LineHeight = line->Height();
    hit.LineTop = line->Y;
    if (x < line->LineX) {
        hit.BeforeText = true;
        hit.CaretX = line->LineX;
        return StartIndex + line->Start;
    }
    int n = CharsUpToX(*line, x);
    if (n < line->Ln) {
        const int into = x - line->LineX - Extent(line->Start, line->Start + n);
        if (into * 2 > Extent(line->Start + n, line->Start + n + 1))
            ++n;
    }
    hit.BeyondEnd = n >= line->Ln;
    hit.CaretX = line->LineX + Extent(line->Start, line->Start + n);
    return StartIndex + line->Start + n;
}

bool TSection::CharIndexToXY(int index, int& x, int& y)
{
    const int pos = index - StartIndex;
    if (pos < 0 || pos > static_cast<int>(Buff.size()) || Lines.Empty())
        return false;
    for (const TObject* item : Lines) {
        const auto* line = static_cast<const LineRec*>(item);
        if ((pos >= line->Start && pos < line->Start + line->Ln) || item == Lines.Last()) {
            x = line->LineX + Extent(line->Start, std::clamp(pos, line->Start, line->Start + line->Ln));
            y = line->Y;
            return true;
        }
    }
    return false;
}

bool TSection::CharAtIndex(int index, char& ch, TSectionBase*& owner)
{
    const int pos = index - StartIndex;
    if (pos < 0 || pos >= static_cast<int>(Buff.size()))
        return false;
    ch = Buff[pos];
    owner = this;
    return true;
}

int TSection::FindText(int from, std::string_view text, bool matchCase)
{
    text = text.substr(0, 255);
    if (text.empty())
        return -1;
    const size_t start = static_cast<size_t>(std::max(0, from - StartIndex));
    if (start >= Buff.size())
        return -1;
    if (matchCase) {
        const size_t found = Buff.find(text, start);
        return found == std::string::npos ? -1 : StartIndex + static_cast<int>(found);
    }
    const std::string lowerText = LowerCase1252(text);
    const std::string lowerBuff = LowerCase1252(Buff);
    const size_t found = lowerBuff.find(lowerText, start);
    return found == std::string::npos ? -1 : StartIndex + static_cast<int>(found);
}

// Three blanks for every 35 pixels of a fully selected line's x; CR LF when
// the selection covers the line to its end.
void TSection::CopySelection(std::string& sink)
{
    const int selB = Document->SelB;
    const int selE = Document->SelE;
    for (const TObject* item : Lines) {
        const auto* line = static_cast<const LineRec*>(item);
        const int lineStart = StartIndex + line->Start;
        const int lineEnd = lineStart + line->Ln;
        if (line->Ln == 0 || selB >= lineEnd || selE <= lineStart)
            continue;
        if (selB <= lineStart)
            sink.append(static_cast<size_t>(3 * std::max(0, line->LineX / 35)), ' ');
        for (int i = std::max(selB, lineStart); i < std::min(selE, lineEnd); ++i) {
            const char c = Buff[i - StartIndex];
            if (!IsPlaceholder(c))
                sink.push_back(c);
        }
        if (selE >= lineEnd)
            sink += "\r\n";
    }
}
