// The LZW decoder on its own: code streams packed by hand, and round trips
// through the reference encoder of the tests.

#include "html/LzwDecoder.h"

#include "GifTestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using giftest::LzwEncode;
using giftest::TCodePacker;
using giftest::TTableFull;

namespace {

struct TDecoded {
    std::vector<uint8_t> Pixels;
    TLzwResult Result;
};

TDecoded Decode(const std::vector<uint8_t>& codes, int minCodeSize, size_t outputSize)
{
    auto decoder = std::make_unique<TLzwDecoder>();
    TDecoded d;
    d.Pixels.assign(outputSize, 0xEE);
    d.Result = decoder->Decode(codes, minCodeSize, d.Pixels);
    d.Pixels.resize(d.Result.PixelsWritten);
    return d;
}

std::vector<uint8_t> RandomIndices(size_t count, int colors, unsigned seed, int runLength = 1)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> v;
    while (v.size() < count) {
        const uint8_t value = uint8_t(random() % unsigned(colors));
        for (int i = 0; i < runLength && v.size() < count; ++i)
            v.push_back(value);
    }
    return v;
}

} // namespace

TEST(LzwDecoder, HandPackedStreamWithCodeNotYetInTable)
{
    // Minimum code size 2: clear 4, end 5, first free 6, codes of 3 bits.
    TCodePacker p;
    p.Put(4, 3); // clear
    p.Put(1, 3); // "1"
    p.Put(6, 3); // not yet in the table: "1" + "1" (entry 6 = "11")
    p.Put(2, 3); // "2"; entry 7 = "112"; next free 8 reaches 2^3: codes grow to 4 bits
    p.Put(7, 4); // "112"
    p.Put(5, 4); // end
    const TDecoded d = Decode(p.Finish(), 2, 100);
    EXPECT_EQ(d.Result.Stop, TLzwStop::EndCode);
    EXPECT_EQ(d.Pixels, (std::vector<uint8_t> { 1, 1, 1, 2, 1, 1, 2 }));
}

TEST(LzwDecoder, LeadingClearsAndMissingClearAreAccepted)
{
    TCodePacker twoClears;
    twoClears.Put(4, 3);
    twoClears.Put(4, 3);
    twoClears.Put(3, 3);
    twoClears.Put(5, 3);
    EXPECT_EQ(Decode(twoClears.Finish(), 2, 10).Pixels, std::vector<uint8_t> { 3 });

    // No clear code at all: the table starts as after one.
    TCodePacker none;
    none.Put(2, 3);
    none.Put(0, 3);
    none.Put(6, 3); // "20"
    none.Put(5, 4); // next free 8 reached 2^3 after entry 7: end code in 4 bits
    EXPECT_EQ(Decode(none.Finish(), 2, 10).Pixels, (std::vector<uint8_t> { 2, 0, 2, 0 }));
}

TEST(LzwDecoder, RoundTripsThroughEveryCodeSize)
{
    for (int minCodeSize = 1; minCodeSize <= 8; ++minCodeSize) {
        const auto pixels = RandomIndices(20000, 1 << minCodeSize, unsigned(minCodeSize), 3);
        const TDecoded d = Decode(LzwEncode(pixels, minCodeSize), minCodeSize, pixels.size());
        EXPECT_EQ(d.Pixels, pixels) << "minimum code size " << minCodeSize;
    }
}

TEST(LzwDecoder, FullTableWithoutClearKeepsTwelveBitCodes)
{
    // Random data fills the 4096 entries quickly; the encoder then goes on
    // with 12-bit codes and no new entries (a "deferred clear").
    const auto pixels = RandomIndices(200000, 256, 7);
    for (TTableFull mode : { TTableFull::EmitClear, TTableFull::KeepCodes }) {
        const TDecoded d = Decode(LzwEncode(pixels, 8, mode), 8, pixels.size());
        EXPECT_EQ(d.Pixels, pixels);
        EXPECT_EQ(d.Result.Stop, TLzwStop::OutputFull);
    }
}

TEST(LzwDecoder, ExcessPixelsAreDiscarded)
{
    const std::vector<uint8_t> pixels(1000, 3); // long runs: strings longer than what is left
    const TDecoded d = Decode(LzwEncode(pixels, 2), 2, 777);
    EXPECT_EQ(d.Result.Stop, TLzwStop::OutputFull);
    EXPECT_EQ(d.Pixels, std::vector<uint8_t>(777, 3));
}

TEST(LzwDecoder, DamageKeepsWhatWasDecoded)
{
    const auto pixels = RandomIndices(5000, 16, 3);
    auto codes = LzwEncode(pixels, 4);

    // Truncated: the stream ends before the end code.
    std::vector<uint8_t> truncated(codes.begin(), codes.begin() + long(codes.size() / 2));
    TDecoded cut = Decode(truncated, 4, pixels.size());
    EXPECT_EQ(cut.Result.Stop, TLzwStop::DataExhausted);
    ASSERT_GT(cut.Pixels.size(), 1000u);
    EXPECT_TRUE(std::equal(cut.Pixels.begin(), cut.Pixels.end(), pixels.begin()));

    // A code beyond the next free entry stops decoding, keeping the rest.
    TCodePacker p;
    p.Put(4, 3); // clear
    p.Put(1, 3); // "1"
    p.Put(2, 3); // "2"; entry 6 = "12"
    p.Put(7, 3); // the next free code: entry 7 = "22"; codes grow to 4 bits
    p.Put(3, 4); // "3"; entry 8 = "223"
    p.Put(12, 4); // beyond the next free code (9)
    p.Put(1, 4);
    const TDecoded bad = Decode(p.Finish(), 2, 100);
    EXPECT_EQ(bad.Result.Stop, TLzwStop::CodeOutOfRange);
    EXPECT_EQ(bad.Pixels, (std::vector<uint8_t> { 1, 2, 2, 2, 3 }));

    // After a clear, only single-index codes are valid.
    TCodePacker afterClear;
    afterClear.Put(4, 3);
    afterClear.Put(6, 3);
    EXPECT_EQ(Decode(afterClear.Finish(), 2, 10).Result.Stop, TLzwStop::CodeOutOfRange);
}

TEST(LzwDecoder, RefusesMinimumCodeSizeAboveEightAndEmptyInput)
{
    const auto codes = LzwEncode({ 1, 2, 3 }, 8);
    const TDecoded tooWide = Decode(codes, 9, 10);
    EXPECT_EQ(tooWide.Result.Stop, TLzwStop::BadCodeSize);
    EXPECT_TRUE(tooWide.Pixels.empty());

    const TDecoded empty = Decode({}, 8, 10);
    EXPECT_EQ(empty.Result.Stop, TLzwStop::DataExhausted);
    EXPECT_TRUE(empty.Pixels.empty());
}
