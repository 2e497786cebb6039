#include "html/LzwDecoder.h"

#include <bit>
#include <cstring>

namespace {

// Reads codes least significant bit first from a contiguous stream.
class TCodeReader {
public:
    explicit TCodeReader(std::span<const uint8_t> codes)
        : FNext(codes.data())
        , FEnd(codes.data() + codes.size())
    {
    }

    // False when the stream holds fewer than `size` more bits.
    bool Read(int size, int& code)
    {
        if (FBitCount < size) {
            Refill();
            if (FBitCount < size)
                return false;
        }
        code = static_cast<int>(FBits & ((uint64_t { 1 } << size) - 1));
        FBits >>= size;
        FBitCount -= size;
        return true;
    }

private:
    void Refill()
    {
        if (FEnd - FNext >= 8) {
            // Loads eight bytes at once but counts only the whole bytes that
            // fit; the bits above them are the true values of the following
            // bytes, so or-ing those bytes in again later changes nothing.
            uint64_t word;
            std::memcpy(&word, FNext, sizeof word);
            if constexpr (std::endian::native == std::endian::big)
                word = ByteSwap(word);
            FBits |= word << FBitCount;
            const int taken = (63 - FBitCount) >> 3;
            FNext += taken;
            FBitCount += taken * 8;
            return;
        }
        while (FBitCount <= 56 && FNext < FEnd) {
            FBits |= uint64_t { *FNext++ } << FBitCount;
            FBitCount += 8;
        }
    }

    static uint64_t ByteSwap(uint64_t v)
    {
        uint64_t r = 0;
        for (int i = 0; i < 8; ++i)
            r = (r << 8) | ((v >> (8 * i)) & 0xFF);
        return r;
    }

    const uint8_t* FNext;
    const uint8_t* FEnd;
    uint64_t FBits = 0;
    int FBitCount = 0;
};

// Copies a string written earlier in the output (it ends at or before
// `to`). With room to spare, eight bytes at a time: reading past the
// string's end only reads output already written, and writing past it only
// touches what the next codes overwrite.
inline void CopyEarlier(uint8_t* out, size_t to, size_t from, size_t length, size_t outSize)
{
    if (to + length + 8 <= outSize) {
        for (size_t k = 0; k < length; k += 8) {
            uint64_t chunk;
            std::memcpy(&chunk, out + from + k, 8);
            std::memcpy(out + to + k, &chunk, 8);
        }
    } else {
        std::memmove(out + to, out + from, length);
    }
}

} // namespace

TLzwResult TLzwDecoder::Decode(std::span<const uint8_t> codes, int minCodeSize, std::span<uint8_t> output)
{
    TLzwResult result;
    if (minCodeSize < 0 || minCodeSize > MaxMinCodeSize) {
        result.Stop = TLzwStop::BadCodeSize;
        return result;
    }
    if (output.empty()) {
        result.Stop = TLzwStop::OutputFull;
        return result;
    }

    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    int codeSize = minCodeSize + 1;
    int growLimit = 2 * clearCode;
    int nextFree = clearCode + 2;
    bool afterClear = true; // the next code is output as it is
    size_t previousPos = 0, previousLength = 0; // where the last code's string was written

    TCodeReader reader(codes);
    uint8_t* const out = output.data();
    const size_t outSize = output.size();
    size_t pos = 0;

    auto finish = [&](TLzwStop stop) {
        result.PixelsWritten = pos;
        result.Stop = stop;
        return result;
    };
    auto grow = [&] {
        if (nextFree >= growLimit && growLimit < TableSize) {
            growLimit *= 2;
            ++codeSize;
        }
    };

    for (;;) {
        int code;
        if (!reader.Read(codeSize, code))
            return finish(TLzwStop::DataExhausted);

        if (code == clearCode) {
            codeSize = minCodeSize + 1;
            growLimit = 2 * clearCode;
            nextFree = clearCode + 2;
            afterClear = true;
            continue;
        }
        if (code == endCode)
            return finish(TLzwStop::EndCode);

        if (afterClear) {
            // After a clear (or at the start) only single-index codes exist.
            if (code >= clearCode)
                return finish(TLzwStop::CodeOutOfRange);
            previousPos = pos;
            previousLength = 1;
            out[pos++] = static_cast<uint8_t>(code);
            afterClear = false;
            // Writers count this code as taking a table slot too; that only
            // makes the codes grow here for minimum code sizes below 2.
            grow();
            if (pos == outSize)
                return finish(TLzwStop::OutputFull);
            continue;
        }

        if (code > nextFree || (code == nextFree && nextFree >= TableSize))
            return finish(TLzwStop::CodeOutOfRange);

        // The string of this code, at `pos`; what would pass the end of the
        // output is dropped.
        size_t length;
        if (code < clearCode) {
            length = 1;
            out[pos] = static_cast<uint8_t>(code);
        } else if (code < nextFree) {
            length = FLength[code];
            CopyEarlier(out, pos, FStart[code], std::min(length, outSize - pos), outSize);
        } else {
            // The code not yet in the table (KwKwK): the previous string
            // followed by its own first index.
            length = previousLength + 1;
            const size_t kept = std::min(length, outSize - pos);
            CopyEarlier(out, pos, previousPos, std::min(previousLength, kept), outSize);
            if (kept == length)
                out[pos + previousLength] = out[previousPos];
        }

        // The new entry is the previous string plus this one's first index:
        // exactly the output from the previous string's start.
        if (nextFree < TableSize) {
            FStart[nextFree] = static_cast<uint32_t>(previousPos);
            FLength[nextFree] = static_cast<uint16_t>(previousLength + 1);
            ++nextFree;
            grow();
        }

        if (pos + length >= outSize) {
            pos = outSize;
            return finish(TLzwStop::OutputFull);
        }
        previousPos = pos;
        previousLength = length;
        pos += length;
    }
}
