#pragma once
// Builds GIF files in memory for the decoder tests: a reference LZW encoder
// and a writer of the block structure, so that each test states the file it
// needs in a few lines.

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace giftest {

// Packs codes least significant bit first.
class TCodePacker {
public:
    void Put(int code, int size)
    {
        FBits |= uint64_t(code) << FCount;
        FCount += size;
        while (FCount >= 8) {
            Bytes.push_back(uint8_t(FBits));
            FBits >>= 8;
            FCount -= 8;
        }
    }
    std::vector<uint8_t> Finish()
    {
        if (FCount > 0)
            Bytes.push_back(uint8_t(FBits));
        FBits = 0;
        FCount = 0;
        return Bytes;
    }
    std::vector<uint8_t> Bytes;

private:
    uint64_t FBits = 0;
    int FCount = 0;
};

enum class TTableFull { EmitClear, KeepCodes };

// Standard GIF LZW: a clear code first, entries added until the table holds
// 4096, then (by choice) a clear code or codes without new entries.
inline std::vector<uint8_t> LzwEncode(
    const std::vector<uint8_t>& indices, int minCodeSize, TTableFull whenFull = TTableFull::EmitClear)
{
    const int clear = 1 << minCodeSize;
    int codeSize = minCodeSize + 1;
    int next = clear + 2;
    std::unordered_map<uint32_t, int> table;
    TCodePacker packer;
    packer.Put(clear, codeSize);
    if (indices.empty()) {
        packer.Put(clear + 1, codeSize);
        return packer.Finish();
    }
    int prefix = indices[0];
    for (size_t i = 1; i < indices.size(); ++i) {
        const uint32_t key = (uint32_t(prefix) << 8) | indices[i];
        auto found = table.find(key);
        if (found != table.end()) {
            prefix = found->second;
            continue;
        }
        packer.Put(prefix, codeSize);
        if (next < 4096) {
            table[key] = next++;
            if (next > (1 << codeSize) && codeSize < 12)
                ++codeSize;
            if (next == 4096 && whenFull == TTableFull::EmitClear) {
                packer.Put(clear, codeSize);
                table.clear();
                codeSize = minCodeSize + 1;
                next = clear + 2;
            }
        }
        prefix = indices[i];
    }
    packer.Put(prefix, codeSize);
    packer.Put(clear + 1, codeSize);
    return packer.Finish();
}

// Wraps bytes into data sub-blocks of at most 255 bytes and a terminator.
inline void AppendSubBlocks(QByteArray& out, const std::vector<uint8_t>& data)
{
    for (size_t pos = 0; pos < data.size(); pos += 255) {
        const size_t n = std::min<size_t>(255, data.size() - pos);
        out.append(char(n));
        out.append(reinterpret_cast<const char*>(data.data() + pos), qsizetype(n));
    }
    out.append('\0');
}

inline void AppendU16(QByteArray& out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

// Bits of a colour table of n entries (n a power of two, 2 to 256).
inline int TableBits(size_t entries)
{
    int bits = 1;
    while ((size_t { 1 } << bits) < entries)
        ++bits;
    return bits;
}

struct TFrameSpec {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    std::vector<uint8_t> Pixels; // row by row, top first
    std::vector<QRgb> LocalTable; // none when empty
    bool Interlaced = false;
    bool Control = false; // write a graphic control extension
    int Disposal = 0;
    int DelayCs = 0;
    int TransparentIndex = -1; // -1: opaque
    std::string Comment; // written before the frame when not empty
    int MinCodeSize = -1; // -1: from the colour table
};

inline void AppendTable(QByteArray& out, const std::vector<QRgb>& table)
{
    const size_t entries = size_t { 1 } << TableBits(table.size());
    for (size_t i = 0; i < entries; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
}

inline std::vector<uint8_t> InterlacedOrder(const std::vector<uint8_t>& pixels, int width, int height)
{
    std::vector<uint8_t> out;
    static constexpr int start[4] = { 0, 4, 2, 1 }, step[4] = { 8, 8, 4, 2 };
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < height; y += step[pass])
            out.insert(out.end(), pixels.begin() + y * width, pixels.begin() + (y + 1) * width);
    return out;
}

class TGifBuilder {
public:
    TGifBuilder(int width, int height, std::vector<QRgb> globalTable = {})
        : FGlobal(std::move(globalTable))
    {
        FBytes = "GIF89a";
        AppendU16(FBytes, width);
        AppendU16(FBytes, height);
        FBytes.append(char(FGlobal.empty() ? 0 : 0x80 | (TableBits(FGlobal.size()) - 1)));
        FBytes.append('\0'); // background colour index
        FBytes.append('\0'); // aspect ratio
        if (!FGlobal.empty())
            AppendTable(FBytes, FGlobal);
    }

    TGifBuilder& Loop(int count)
    {
        FBytes.append("\x21\xFF\x0B"
                      "NETSCAPE2.0"
                      "\x03\x01",
            16);
        AppendU16(FBytes, count);
        FBytes.append('\0');
        return *this;
    }

    TGifBuilder& Raw(const QByteArray& bytes)
    {
        FBytes.append(bytes);
        return *this;
    }

    TGifBuilder& Frame(const TFrameSpec& f)
    {
        if (!f.Comment.empty()) {
            FBytes.append("\x21\xFE", 2);
            AppendSubBlocks(FBytes, std::vector<uint8_t>(f.Comment.begin(), f.Comment.end()));
        }
        if (f.Control || f.TransparentIndex >= 0) {
            FBytes.append("\x21\xF9\x04", 3);
            FBytes.append(char((f.Disposal << 2) | (f.TransparentIndex >= 0 ? 1 : 0)));
            AppendU16(FBytes, f.DelayCs);
            FBytes.append(char(f.TransparentIndex >= 0 ? f.TransparentIndex : 0));
            FBytes.append('\0');
        }
        FBytes.append(',');
        AppendU16(FBytes, f.Left);
        AppendU16(FBytes, f.Top);
        AppendU16(FBytes, f.Width);
        AppendU16(FBytes, f.Height);
        int packed = f.Interlaced ? 0x40 : 0;
        if (!f.LocalTable.empty())
            packed |= 0x80 | (TableBits(f.LocalTable.size()) - 1);
        FBytes.append(char(packed));
        if (!f.LocalTable.empty())
            AppendTable(FBytes, f.LocalTable);
        const size_t tableSize = !f.LocalTable.empty() ? f.LocalTable.size() : std::max<size_t>(FGlobal.size(), 4);
        const int minCodeSize = f.MinCodeSize >= 0 ? f.MinCodeSize : std::max(2, TableBits(tableSize));
        FBytes.append(char(minCodeSize));
        const auto rows = f.Interlaced ? InterlacedOrder(f.Pixels, f.Width, f.Height) : f.Pixels;
        AppendSubBlocks(FBytes, LzwEncode(rows, minCodeSize));
        return *this;
    }

    QByteArray Bytes() const { return FBytes + ';'; }
    QByteArray BytesWithoutTrailer() const { return FBytes; }

private:
    std::vector<QRgb> FGlobal;
    QByteArray FBytes;
};

// A frame of one colour index.
inline TFrameSpec SolidFrame(int left, int top, int width, int height, uint8_t index)
{
    TFrameSpec f;
    f.Left = left;
    f.Top = top;
    f.Width = width;
    f.Height = height;
    f.Pixels.assign(size_t(width) * size_t(height), index);
    return f;
}

// Red, green, blue, white as indices 0 to 3.
inline std::vector<QRgb> FourColors()
{
    return { qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255) };
}

} // namespace giftest
