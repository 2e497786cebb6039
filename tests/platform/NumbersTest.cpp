#include "platform/Exceptions.h"
#include "platform/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(Numbers, RoundGoesHalfToEven)
{
    EXPECT_EQ(Round(0.5L), 0);
    EXPECT_EQ(Round(1.5L), 2);
    EXPECT_EQ(Round(2.5L), 2);
    EXPECT_EQ(Round(-2.5L), -2);
    EXPECT_EQ(Round(-3.5L), -4);
    EXPECT_EQ(Round(2.4999L), 2);
    EXPECT_EQ(Round(-0.6L), -1);
    EXPECT_EQ(Trunc(-2.9L), -2);
    EXPECT_EQ(Trunc(2.9L), 2);
}

TEST(Numbers, RoundAndTruncRefuseWhatHasNoInteger)
{
    EXPECT_THROW(Round(std::numeric_limits<long double>::quiet_NaN()), ERangeError);
    EXPECT_THROW(Round(std::numeric_limits<long double>::infinity()), ERangeError);
    EXPECT_THROW(Trunc(1e30L), ERangeError);
}

TEST(Numbers, MulDivRoundsAndReportsFailureAsMinusOne)
{
    EXPECT_EQ(MulDiv(12, 96, 72), 16);
    EXPECT_EQ(MulDiv(10, 96, 72), 13); // 13.33
    EXPECT_EQ(MulDiv(3, 1, 2), 2);     // 1.5 away from zero
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(2000000000, 2000000000, 1), -1);
    EXPECT_EQ(MulDiv(2000000000, 2000000000, 2000000000), 2000000000);
}

TEST(Numbers, GeneralFormatChoosesFixedOrScientific)
{
    EXPECT_EQ(FloatToStrG(0.00001L, 5), "0.00001");
    EXPECT_EQ(FloatToStrG(0.000001L, 5), "1E-6");
    EXPECT_EQ(FloatToStrG(123456.0L, 5), "1.2346E5");
    EXPECT_EQ(FloatToStrG(12345.0L, 5), "12345");
    EXPECT_EQ(FloatToStrG(1.2246467991473532e-16L, 5), "1.2246E-16");
    EXPECT_EQ(FloatToStrG(45.0L, 7), "45");
    EXPECT_EQ(FloatToStrG(0.0L, 5), "0");
    EXPECT_EQ(FloatToStrG(-0.5L, 5), "-0.5");
    EXPECT_EQ(FloatToStrG(1.0L / 3.0L, 5), "0.33333");
    EXPECT_EQ(FloatToStrG(99999.7L, 5), "1E5");
    EXPECT_EQ(FloatToStrG(std::numeric_limits<long double>::infinity(), 5), "INF");
    EXPECT_EQ(FloatToStrG(-std::numeric_limits<long double>::infinity(), 5), "-INF");
    EXPECT_EQ(FloatToStrG(std::numeric_limits<long double>::quiet_NaN(), 5), "NAN");
}

class LocaleSeparator : public ::testing::Test {
protected:
    void TearDown() override { SetDecimalSeparator(QLatin1Char('.')); }
};

TEST_F(LocaleSeparator, FormatAndParsingFollowTheSeparator)
{
    SetDecimalSeparator(QLatin1Char(','));
    EXPECT_EQ(FloatToStrG(1.5L, 5), "1,5");
    EXPECT_EQ(FloatToStrG(1.2246467991473532e-16L, 5), "1,2246E-16");
    EXPECT_DOUBLE_EQ(double(StrToFloat(" 2,25 ")), 2.25);
    EXPECT_THROW(StrToFloat("2.25"), EConvertError);
}

TEST(Numbers, TextToRealAcceptsNumbersOnly)
{
    long double v = 0;
    EXPECT_TRUE(TryStrToFloat("-1.5e3", v));
    EXPECT_DOUBLE_EQ(double(v), -1500.0);
    EXPECT_TRUE(TryStrToFloat(".5", v));
    EXPECT_DOUBLE_EQ(double(v), 0.5);
    for (const char* bad : {"", " ", "abc", "1.2.3", "1e", "--1", "1 2", "0x10", "inf", "nan", "."})
        EXPECT_FALSE(TryStrToFloat(bad, v)) << bad;
    try {
        StrToFloat("x1");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'x1' is not a valid floating point value");
    }
    EXPECT_EQ(StrToIntDef(" 42 ", 1), 42);
    EXPECT_EQ(StrToIntDef("-", 1), 1);
    EXPECT_EQ(StrToIntDef("99999999999", 1), 1);
}
