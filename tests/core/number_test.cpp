#include <cfloat>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "numbers/number.h"

using ventora::format_double;
using ventora::format_single;
using ventora::number;
using ventora::parse_number;
using ventora::to_single;

namespace {

struct parse_case {
    const char* name;
    const char* text;
    number expected;
};
void PrintTo(const parse_case& c, std::ostream* os) { *os << c.name; }


class ParseNumber : public testing::TestWithParam<parse_case> {};

TEST_P(ParseNumber, ReadsTheTextOfABox) {
    const auto& c = GetParam();
    const number got = parse_number(c.text);
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << "text: [" << c.text << "]";
    if (got) {
        EXPECT_EQ(*got, *c.expected) << "text: [" << c.text << "]";
        EXPECT_EQ(std::signbit(*got), std::signbit(*c.expected)) << "text: [" << c.text << "]";
    }
}

const parse_case parse_cases[] = {
    {"Integer", "8610", 8610.0},
    {"Decimal", "1500.7", 1500.7},
    {"LeadingPoint", ".5", 0.5},
    {"TrailingPoint", "5.", 5.0},
    {"PlusSign", "+2", 2.0},
    {"MinusSign", "-5", -5.0},
    {"Exponent", "1e3", 1000.0},
    {"ExponentUpperSigned", "2.5E-2", 0.025},
    {"ExponentPlus", "1E+2", 100.0},
    {"BlanksAround", "  12.5 \t", 12.5},
    {"Zero", "0", 0.0},
    {"NegativeZero", "-0", -0.0},
    {"NearestDouble", "0.1", 0.1},
    {"Empty", "", std::nullopt},
    {"BlanksOnly", "   ", std::nullopt},
    {"Letters", "abc", std::nullopt},
    {"TrailingLetter", "12a", std::nullopt},
    {"LoneSign", "-", std::nullopt},
    {"LonePoint", ".", std::nullopt},
    {"ExponentWithoutDigits", "1e", std::nullopt},
    {"ExponentSignOnly", "1e+", std::nullopt},
    {"BlankInside", "1 2", std::nullopt},
    {"GroupSeparator", "1,000", std::nullopt},
    {"DecimalComma", "1,5", std::nullopt},
    {"TwoSigns", "+-1", std::nullopt},
    {"TwoPoints", "1.2.3", std::nullopt},
    {"Hex", "0x10", std::nullopt},
    {"Infinity", "inf", std::nullopt},
    {"NotANumber", "nan", std::nullopt},
    {"BeyondDoubleRange", "1e309", std::nullopt},
    {"NegativeBeyondDoubleRange", "-1.8e308", std::nullopt},
    {"HugeExponent", "1e99999999999999999999", std::nullopt},
    {"LargestDouble", "1.7976931348623157e308", DBL_MAX},
    {"BelowSmallestDoubleIsZero", "1e-400", 0.0},
    {"NegativeBelowSmallestIsNegativeZero", "-1e-400", -0.0},
    {"ManyZerosBeforeDigitsIsSmall", "0.000000000000000000001e-310", 0.0},
    {"ZeroWithHugeExponentIsZero", "0e999999", 0.0},
    {"FullWidthDigits", "１２．５", 12.5},
    {"FullWidthSignAndExponent", "－３Ｅ２", -300.0},
    {"FullWidthLowerExponentAndPlus", "＋１ｅ＋３", 1000.0},
    {"IdeographicBlank", "\u3000７\u3000", 7.0},
    {"FullWidthLetter", "１２ａ", std::nullopt},
    {"OtherChinese", "十", std::nullopt},
    {"TruncatedUtf8", "\xEF\xBC", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Table, ParseNumber, testing::ValuesIn(parse_cases),
                         [](const auto& info) { return std::string(info.param.name); });

struct format_case {
    const char* name;
    number value;
    const char* expected;
};
void PrintTo(const format_case& c, std::ostream* os) { *os << c.name; }


class FormatDouble : public testing::TestWithParam<format_case> {};

TEST_P(FormatDouble, WritesTheShortestGeneralForm) {
    EXPECT_EQ(format_double(GetParam().value), GetParam().expected);
}

const format_case double_cases[] = {
    {"Whole", 8610.0, "8610"},
    {"Fraction", 1500.7, "1500.7"},
    {"Fifteen", 10533.205962449312, "10533.2059624493"},
    {"NoTrailingZeros", 31.4, "31.4"},
    {"RoundsAwayRepresentationError", 127.35000000000001, "127.35"},
    {"Negative", -0.5, "-0.5"},
    {"Zero", 0.0, "0"},
    {"NegativeZero", -0.0, "0"},
    {"Unset", std::nullopt, ""},
    {"LargestPlain", 999999999999999.0, "999999999999999"},
    {"LargeUsesExponent", 1e15, "1E+15"},
    {"LargeMantissa", 1.5e20, "1.5E+20"},
    {"SmallPlain", 0.0001, "0.0001"},
    {"SmallUsesExponent", 0.00001, "1E-05"},
    {"SmallMantissa", 1.5e-7, "1.5E-07"},
    {"ThreeDigitExponent", 2e-300, "2E-300"},
    {"Largest", DBL_MAX, "1.79769313486232E+308"},
    {"SingleWidenedShowsItsDigits", static_cast<double>(6.28F), "6.28000020980835"},
};

INSTANTIATE_TEST_SUITE_P(Table, FormatDouble, testing::ValuesIn(double_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FormatSingle, WritesUpToSevenDigits) {
    EXPECT_EQ(format_single(6.28F), "6.28");
    EXPECT_EQ(format_single(31.4F), "31.4");
    EXPECT_EQ(format_single(35.168F), "35.168");
    EXPECT_EQ(format_single(1234567.0F), "1234567");
    EXPECT_EQ(format_single(12345678.0F), "1.234568E+07");
    EXPECT_EQ(format_single(0.0F), "0");
    EXPECT_EQ(format_single(std::nullopt), "");
}

TEST(ToSingle, RoundsToNearestAndRefusesBeyondRange) {
    EXPECT_EQ(to_single(6.28), 6.28F);
    EXPECT_EQ(to_single(1e39), std::nullopt);
    EXPECT_EQ(to_single(-1e39), std::nullopt);
    EXPECT_EQ(to_single(static_cast<double>(FLT_MAX)), FLT_MAX);
    // Just above the largest single still rounds down to it.
    EXPECT_EQ(to_single(static_cast<double>(FLT_MAX) * (1 + 1e-9)), FLT_MAX);
    EXPECT_EQ(to_single(std::numeric_limits<double>::infinity()), std::nullopt);
    EXPECT_EQ(to_single(std::nan("")), std::nullopt);
}

}  // namespace
