#pragma once
// Bounds-checked reading of GIF bytes: little-endian fields and the data
// sub-block chains (a size byte, that many bytes, ..., a zero size) that
// extensions and image data are made of (GIF89a, section 15). No read goes
// past the end; a truncated chain simply ends there.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

class TGifReader {
public:
    explicit TGifReader(std::span<const uint8_t> data)
        : FData(data)
    {
    }

    size_t Position() const { return FPos; }
    void Rewind() { FPos = 0; }
    bool AtEnd() const { return FPos >= FData.size(); }
    size_t Remaining() const { return FData.size() - FPos; }
    bool Has(size_t count) const { return Remaining() >= count; }

    // The byte at the position, without moving; only when !AtEnd().
    uint8_t Peek() const { return FData[FPos]; }
    // Reads past the end give 0 and leave the position at the end.
    uint8_t U8() { return AtEnd() ? 0 : FData[FPos++]; }
    uint16_t U16()
    {
        const uint8_t low = U8();
        return static_cast<uint16_t>(low | (U8() << 8));
    }
    void Skip(size_t count) { FPos += std::min(count, Remaining()); }
    // Copies up to `count` bytes (fewer at the end); returns how many.
    size_t Read(uint8_t* target, size_t count)
    {
        const size_t n = std::min(count, Remaining());
        if (n > 0)
            std::memcpy(target, FData.data() + FPos, n);
        FPos += n;
        return n;
    }

    bool StartsWith(const char* text) const
    {
        const size_t n = std::strlen(text);
        return FData.size() >= n && std::memcmp(FData.data(), text, n) == 0;
    }

    // Skips a chain of data sub-blocks up to and including its terminator.
    void SkipSubBlocks()
    {
        while (!AtEnd()) {
            const uint8_t size = U8();
            if (size == 0)
                return;
            Skip(size);
        }
    }

    // Appends the data of a sub-block chain to `out`, up to `limit` bytes in
    // all (the rest of the chain is skipped), and moves past its terminator.
    void GatherSubBlocks(std::vector<uint8_t>& out, size_t limit)
    {
        while (!AtEnd()) {
            const uint8_t size = U8();
            if (size == 0)
                return;
            const size_t n = std::min<size_t>(size, Remaining());
            const size_t keep = std::min(n, limit - std::min(limit, out.size()));
            out.insert(out.end(), FData.begin() + FPos, FData.begin() + FPos + keep);
            FPos += n;
        }
    }

    // Some writers pad with zero bytes after an image's terminator.
    void SkipZeroBytes()
    {
        while (!AtEnd() && Peek() == 0)
            ++FPos;
    }

private:
    std::span<const uint8_t> FData;
    size_t FPos = 0;
};
