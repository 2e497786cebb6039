#include "html/LzwDecoder.h"

#include <bit>
#include <cstring>

namespace {

// Reads codes least significant bit first from a contiguous stream.
class TCodeReader {
public:
    explicit TCodeReader(std::span<const uint8_t> codes) : FNext(codes.data()), FEnd(codes.data() + codes.size()) {}

    // False when the stream holds fewer than `size` more bits.
    bool Read(int size, int& code)
    {
        if (FBitCount < size) {
            Refill();
            if (FBitCount < size)
                return false;
        }
        code = static_cast<int>(FBits & ((uint64_t{1} << size) - 1));
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
            FBits |= uint64_t{*FNext++} << FBitCount;
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

}  // namespace

void TLzwDecoder::ResetTable(int clearCode)
{
    for (int i = 0; i < clearCode; ++i) {
        FPrefix[i] = 0;
        FSuffix[i] = static_cast<uint8_t>(i);
        FFirst[i] = static_cast<uint8_t>(i);
        FLength[i] = 1;
    }
}

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
    ResetTable(clearCode);
    int codeSize = minCodeSize + 1;
    int growLimit = 2 * clearCode;
    int nextFree = clearCode + 2;
    int previous = -1;  // no string yet: the next code is output as it is

    TCodeReader reader(codes);
    uint8_t* const out = output.data();
    const size_t outSize = output.size();
    size_t pos = 0;

    auto finish = [&](TLzwStop stop) {
        result.PixelsWritten = pos;
        result.Stop = stop;
        return result;
    };

    for (;;) {
        int code;
        if (!reader.Read(codeSize, code))
            return finish(TLzwStop::DataExhausted);

        if (code == clearCode) {
            codeSize = minCodeSize + 1;
            growLimit = 2 * clearCode;
            nextFree = clearCode + 2;
            previous = -1;
            continue;
        }
        if (code == endCode)
            return finish(TLzwStop::EndCode);

        if (previous < 0) {
            // After a clear (or at the start) only single-index codes exist.
            if (code >= clearCode)
                return finish(TLzwStop::CodeOutOfRange);
            out[pos++] = static_cast<uint8_t>(code);
            previous = code;
            // Writers count this code as taking a table slot too; that only
            // makes the codes grow here for minimum code sizes below 2.
            if (nextFree >= growLimit && growLimit < TableSize) {
                growLimit *= 2;
                ++codeSize;
            }
            if (pos == outSize)
                return finish(TLzwStop::OutputFull);
            continue;
        }

        if (code > nextFree || (code == nextFree && nextFree >= TableSize))
            return finish(TLzwStop::CodeOutOfRange);

        if (nextFree < TableSize) {
            // The new entry is the previous string plus the first index of
            // this one; for the code not yet in the table (KwKwK) that first
            // index is the previous string's own.
            const int first = code == nextFree ? FFirst[previous] : FFirst[code];
            FPrefix[nextFree] = static_cast<uint16_t>(previous);
            FSuffix[nextFree] = static_cast<uint8_t>(first);
            FFirst[nextFree] = FFirst[previous];
            FLength[nextFree] = static_cast<uint16_t>(FLength[previous] + 1);
            ++nextFree;
            if (nextFree >= growLimit && growLimit < TableSize) {
                growLimit *= 2;
                ++codeSize;
            }
        }

        // Write the string of `code` back to front; the part that would pass
        // the end of the output is dropped.
        size_t length = FLength[code];
        int entry = code;
        if (pos + length > outSize) {
            for (size_t drop = pos + length - outSize; drop > 0; --drop)
                entry = FPrefix[entry];
            length = outSize - pos;
        }
        uint8_t* w = out + pos + length;
        for (size_t k = length; k > 0; --k) {
            *--w = FSuffix[entry];
            entry = FPrefix[entry];
        }
        pos += length;
        previous = code;
        if (pos == outSize)
            return finish(TLzwStop::OutputFull);
    }
}
