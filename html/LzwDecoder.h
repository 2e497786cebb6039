#pragma once
// The variable-length LZW decompression of GIF image data (GIF89a, section 22
// and appendix F), on its own: codes in, colour indices out. The caller
// gathers the data sub-blocks into one contiguous code stream first; this
// unit knows nothing of blocks, rows or colours.

#include <cstddef>
#include <cstdint>
#include <span>

// Why decoding stopped.
enum class TLzwStop {
    EndCode, // the end-of-information code
    OutputFull, // every pixel was written; later codes are not read
    DataExhausted, // the code stream ran out before the end code
    CodeOutOfRange, // a code beyond the next free table entry (corrupt data)
    BadCodeSize, // a minimum code size above 8: the tables would overflow
};

struct TLzwResult {
    size_t PixelsWritten = 0;
    TLzwStop Stop = TLzwStop::EndCode;
};

class TLzwDecoder {
public:
    static constexpr int MaxCodeSize = 12;
    static constexpr int TableSize = 1 << MaxCodeSize; // 4096 entries
    static constexpr int MaxMinCodeSize = 8;

    // Decodes `codes` (bits least significant first) into `output`; indices
    // beyond output.size() are discarded. What is written before a fault
    // stays written.
    TLzwResult Decode(std::span<const uint8_t> codes, int minCodeSize, std::span<uint8_t> output);

private:
    // Every string of the table has already been written to the output:
    // entry c is the FLength[c] indices at FStart[c], so a code is a copy
    // from earlier output. Codes below the clear code stand for themselves.
    uint32_t FStart[TableSize];
    uint16_t FLength[TableSize];
};
