#include "numtext/parse.h"
#include "numtext/patterns.h"
#include "runtime/errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <string>

using namespace std::string_view_literals;

namespace
{

const double maxDouble = std::numeric_limits<double>::max();

// Tables keep one case per cell, several to a line.
// clang-format off
TEST(NumericTest, AcceptsPlainNumbersOnly)
{
    const std::string_view numeric[] = {"2", "  3  ", "\t3\t", "-5", "+4", "2.5", "2.", ".5", "1e5", "1E-5"};
    const std::string_view refused[] = {"", "abc", "2 dice", ".", "+", "1e", "1e+", "- 5", "5-", "(5)", "1,000",
        "&H10", "0x10", "$5", "1\0" "2"sv, "12\0"sv, "\xff" "5", "5\xc3", "\xc2\xa0" "5"};
    for (const auto text : numeric)
        EXPECT_TRUE(numtext::IsNumeric(text)) << '"' << text << '"';
    for (const auto text : refused)
        EXPECT_FALSE(numtext::IsNumeric(text)) << '"' << text << '"';
}

TEST(ToDoubleTest, ReadsCorrectlyRoundedValues)
{
    const struct { std::string_view text; double value; } cases[] = {
        {"2.5", 2.5}, {"  -0.125 ", -0.125}, {"+4", 4.0}, {".5", 0.5}, {"2.", 2.0}, {"1e3", 1000.0}, {"0.1", 0.1},
        {"1.7976931348623157e308", maxDouble}, {"4.9e-324", std::numeric_limits<double>::denorm_min()},
        {"1e-400", 0.0}, {"-1e-400", -0.0}, {"0e99999999999999999999", 0.0}};
    for (const auto &c : cases) {
        const double value = numtext::ToDouble(c.text);
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(std::signbit(value), std::signbit(c.value)) << c.text;
    }
}

TEST(ToDoubleTest, RejectsTextsAndHugeValues)
{
    for (const auto text : {""sv, "abc"sv, "1,000"sv, "."sv})
        EXPECT_THROW(numtext::ToDouble(text), runtime::ConversionError) << text;
    for (const auto text : {"1e400"sv, "-1.8e308"sv, "1e99999999999999999999"sv})
        EXPECT_THROW(numtext::ToDouble(text), runtime::OverflowError) << text;
}

TEST(WholeNumberTest, RoundsHalvesToEvenAndChecksRange)
{
    // An empty expectation means out of range.
    const struct { int bits; std::string_view text; std::optional<long> value; } cases[] = {
        {32, "2.5", 2}, {32, "3.5", 4}, {32, "-0.5", 0}, {32, "20.5", 20}, {32, "21.5", 22}, {32, "-3.5", -4},
        {32, "0.49999999999999994", 0}, {32, "-0", 0}, {32, " 600 ", 600}, {32, "1e300", {}},
        {32, "2147483647.4", 2147483647}, {32, "2147483647.5", {}}, {32, "2147483647.6", {}},
        {32, "-2147483648.5", -2147483648}, {32, "-2147483648.6", {}},
        {16, "2.5", 2}, {16, "-2.5", -2}, {16, "+4", 4}, {16, "40000", {}},
        {16, "32767.4", 32767}, {16, "32767.5", {}}, {16, "32767.6", {}}, {16, "-32768.5", -32768}, {16, "-32768.6", {}}};
    for (const auto &c : cases) {
        const auto convert = [&c] { return c.bits == 32 ? long{numtext::ToInt32(c.text)} : numtext::ToInt16(c.text); };
        if (c.value)
            EXPECT_EQ(convert(), *c.value) << c.bits << ' ' << c.text;
        else
            EXPECT_THROW(convert(), runtime::OverflowError) << c.bits << ' ' << c.text;
    }
    EXPECT_THROW(numtext::ToInt32("2 dice"), runtime::ConversionError);
    EXPECT_THROW(numtext::ToInt16(""), runtime::ConversionError);
}
// clang-format on

TEST(ToDoubleTest, SurvivesAMegabyteOfDigits)
{
    const std::string digits(1 << 20, '7');
    EXPECT_TRUE(numtext::IsNumeric(digits));
    EXPECT_THROW(numtext::ToDouble(digits), runtime::OverflowError);
    EXPECT_THROW(numtext::ToInt32(digits), runtime::OverflowError);
    EXPECT_FALSE(numtext::IsNumeric(digits + "x"));
    EXPECT_EQ(numtext::ToDouble("0." + std::string(1 << 20, '0') + "1"), 0.0);
}

struct PatternCase {
    const char *pattern;
    double value;
    const char *text;
};

void PrintTo(const PatternCase &c, std::ostream *out)
{
    *out << '"' << c.pattern << "\" " << std::hexfloat << c.value;
}

// clang-format off
const PatternCase examples[] = {
    {"P(####0) = ", 7, "P(7) = "}, {"P(####0) = ", 120, "P(120) = "}, {"P(####0) = ", 0, "P(0) = "},
    {"P(####0) = ", 123456, "P(123456) = "}, {"P(####0) = ", -2, "P(-2) = "},
    {"P(####0) = ", 0x1p70, "P(1180591620717411303424) = "},
    {"##0.000000000%", 1.0 / 36, "2.777777778%"}, {"##0.000000000%", 1.0 / 6, "16.666666667%"},
    {"##0.000000000%", 1, "100.000000000%"}, {"##0.000000000%", 1e-12, "0.000000000%"},
    {"##0.000000000%", 0, "0.000000000%"},
    {"#0.0%", 35.0 / 36, "97.2%"}, {"#0.0%", 1, "100.0%"}, {"#0.0%", 0.0001, "0.0%"}, {"#0.0%", -0.0001, "0.0%"},
    {"#0.0%", 0.9995, "100.0%"}, {"#0.0%", 0, "0.0%"},
    {"###0.0#", 7, "7.0"}, {"###0.0#", 10.5, "10.5"}, {"###0.0#", -2.5, "-2.5"}, {"###0.0#", 32798.5, "32798.5"},
    {"###0.0#", -32758, "-32758.0"}, {"###0.0#", 11.25, "11.25"}, {"###0.0#", 0.995, "0.99"},
    {"###0.0#", -0.0, "0.0"}};

// Exact binary halves go to the even digit, so complementary percentages
// still add up to 100.0%. Near-halves follow their exact value, which a
// product by 100 would round onto the half.
const PatternCase ties[] = {
    {"#0.0%", 0.0625, "6.2%"}, {"#0.0%", 0.1875, "18.8%"}, {"#0.0%", 0.8125, "81.2%"}, {"#0.0%", 0.9375, "93.8%"},
    {"#0.0%", 0.0125, "1.3%"}, {"#0.0%", 0.0375, "3.7%"}, {"##0.000000000%", 1.0 / 4096, "0.024414062%"},
    {"###0.0#", 11.125, "11.12"}, {"###0.0#", 11.375, "11.38"}};
// clang-format on

class FormatPatternTest : public testing::TestWithParam<PatternCase>
{
};

TEST_P(FormatPatternTest, ShowsExactlyRoundedDigits)
{
    EXPECT_EQ(numtext::FormatPattern(GetParam().value, GetParam().pattern), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Examples, FormatPatternTest, testing::ValuesIn(examples));
INSTANTIATE_TEST_SUITE_P(Ties, FormatPatternTest, testing::ValuesIn(ties));

TEST(FormatPatternLimitsTest, HandlesEveryFiniteDouble)
{
    const std::string text = numtext::FormatPattern(-maxDouble, "##0.000000000%");
    EXPECT_EQ(text.substr(0, 8), "-1797693");
    EXPECT_EQ(text.size(), 1 + 311 + 1 + 9 + 1) << text;
    for (const double bad : { std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN() }) {
        EXPECT_THROW(numtext::FormatPattern(bad, "#0.0%"), runtime::FloatingPointError);
        EXPECT_THROW(numtext::GeneralNumberText(-bad), runtime::FloatingPointError);
    }
}

TEST(IntegerTextTest, WritesPlainDigits)
{
    EXPECT_EQ(numtext::IntegerText(2), "2");
    EXPECT_EQ(numtext::IntegerText(-3), "-3");
    EXPECT_EQ(numtext::IntegerText(600), "600");
    EXPECT_EQ(numtext::IntegerText(std::numeric_limits<std::int32_t>::min()), "-2147483648");
}

// clang-format off
TEST(GeneralNumberTextTest, KeepsFifteenDigits)
{
    const struct { double value; std::string_view text; } cases[] = {
        {100, "100"}, {1.0 / 36 * 100, "2.77777777777778"}, {1.0 / 6 * 100, "16.6666666666667"}, {0.5, "0.5"},
        {0, "0"}, {-0.0, "0"}, {-2.5, "-2.5"}, {0.1 + 0.2, "0.3"}, {123456789012345, "123456789012345"},
        {999999999999999.9, "1E+15"}, {0.00001, "0.00001"}, {0.000001, "1E-06"},
        {0x1p-35, "2.91038304567337E-11"}, {-1.5e-300, "-1.5E-300"}};
    for (const auto &c : cases)
        EXPECT_EQ(numtext::GeneralNumberText(c.value), c.text) << c.value;
}
// clang-format on

// Counts below 2^53 are exact: their fraction is rounded, not the nearest
// double to it, so exact halves all round to even (the quotient 0.5335 lies
// below the half, 0.0005 above it); beyond, the quotient is rounded.
// clang-format off
TEST(FormatShareTest, RoundsTheExactFractionOfCounts)
{
    const struct { double outcomes, total; std::string_view caption, tip; } cases[] = {
        {5335, 10000, "53.4%", "53.35"}, {5, 10000, "0.0%", "0.05"}, {15, 10000, "0.2%", "0.15"},
        {1, 16, "6.2%", "6.25"}, {19681, 19683, "100.0%", "99.9898389473149"}, {21, 36, "58.3%", "58.3333333333333"},
        {0, 36, "0.0%", "0"}, {1, 0x1p52, "0.0%", "2.22044604925031E-14"},
        {9.999999999999984e19, 1e20, "100.0%", "99.9999999999998"}};
    for (const auto &c : cases) {
        EXPECT_EQ(numtext::FormatShare(c.outcomes, c.total, "#0.0%"), c.caption) << c.outcomes << "/" << c.total;
        EXPECT_EQ(numtext::GeneralPercentText(c.outcomes, c.total), c.tip) << c.outcomes << "/" << c.total;
    }
    EXPECT_EQ(numtext::FormatShare(9, 1679616, "##0.000000000%"), "0.000535837%");
    EXPECT_THROW(numtext::FormatShare(1, 0, "#0.0%"), runtime::FloatingPointError);
}
// clang-format on

} // namespace
