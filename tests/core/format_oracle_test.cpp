// format_double and format_single against the snprintf("%.*G") writer they replaced, which is
// kept here as the oracle: the two must agree byte for byte on every value, since messages,
// responses and reports were all written by the old one.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "numbers/number.h"

namespace {

using ventora::format_double;
using ventora::format_single;

// The old writer, unchanged.
std::string trim_mantissa(std::string s) {
    const auto e = s.find('E');
    std::string mantissa = s.substr(0, e);
    const std::string exponent = e == std::string::npos ? std::string() : s.substr(e);
    if (mantissa.find('.') != std::string::npos) {
        while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
        if (!mantissa.empty() && mantissa.back() == '.') mantissa.pop_back();
    }
    return mantissa + exponent;
}

std::string oracle(double value, int digits) {
    if (value == 0.0) return "0";
#ifdef _WIN32
    // Windows' C library (MinGW's as well) writes a NaN without its sign; glibc's, which wrote
    // the old messages, keeps it.
    if (std::isnan(value)) return std::signbit(value) ? "-NAN" : "NAN";
#endif
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
    return trim_mantissa(buffer);
}

std::string oracle_double(double v) { return oracle(v, 15); }
std::string oracle_single(float v) { return oracle(static_cast<double>(v), 7); }

double double_from_bits(std::uint64_t bits) {
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}
float float_from_bits(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// Compares a sweep, reporting the first few disagreements rather than millions.
class mismatches {
public:
    void check_double(double v) {
        ++checked_;
        const std::string want = oracle_double(v), got = format_double(v);
        if (want != got) note(v, want, got);
    }
    void check_single(float v) {
        ++checked_;
        const std::string want = oracle_single(v), got = format_single(v);
        if (want != got) note(static_cast<double>(v), want, got);
    }
    void expect_none() const {
        EXPECT_EQ(count_, 0U) << "of " << checked_ << " values; first ones:\n" << shown_;
        EXPECT_GT(checked_, 0U);
    }

private:
    void note(double v, const std::string& want, const std::string& got) {
        if (++count_ > 10) return;
        char bits[64];
        std::snprintf(bits, sizeof bits, "%a", v);
        shown_ += std::string(bits) + ": snprintf " + want + ", to_chars " + got + "\n";
    }
    std::size_t checked_ = 0, count_ = 0;
    std::string shown_;
};

constexpr std::size_t sweep = 1'500'000;

TEST(FormatOracle, RandomBitPatternsOfDoubles) {
    std::mt19937_64 rng(20261207);
    mismatches m;
    for (std::size_t i = 0; i < sweep; ++i) m.check_double(double_from_bits(rng()));
    m.expect_none();
}

// The values people type: a few digits, a decimal point, magnitudes from 1e-9 to 1e18, including
// every kind of tie at the 15th digit that a binary double can hold exactly.
TEST(FormatOracle, DecimalValuesOfEveryScale) {
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<std::int64_t> mantissa(0, 999'999'999'999'999'999);
    std::uniform_int_distribution<int> digits(1, 18), scale(-9, 18);
    mismatches m;
    for (std::size_t i = 0; i < sweep; ++i) {
        std::int64_t n = mantissa(rng);
        std::int64_t limit = 1;
        for (int k = digits(rng); k > 0; --k) limit *= 10;
        n %= limit;
        const double v = static_cast<double>(n) * std::pow(10.0, scale(rng) - 9);
        m.check_double(i % 2 ? v : -v);
    }
    // Whole numbers of 16 and 17 digits end in an exact tie at 15 digits when they end in 5 or 50.
    for (std::int64_t n = 1'000'000'000'000'000; n < 1'000'000'000'000'000 + 200'000; n += 5)
        m.check_double(static_cast<double>(n));
    for (std::int64_t n = 99'999'999'999'999'000; n < 100'000'000'000'001'000; n += 50)
        m.check_double(static_cast<double>(n));
    m.expect_none();
}

TEST(FormatOracle, RandomBitPatternsOfSingles) {
    std::mt19937 rng(1999);
    mismatches m;
    for (std::size_t i = 0; i < sweep; ++i) m.check_single(float_from_bits(static_cast<std::uint32_t>(rng())));
    // Every single from 9,999,000 to 10,001,000 and around 0.0001: the 7-digit changes of form.
    for (float f = 9'999'000.0F; f <= 10'001'000.0F; f = std::nextafter(f, 2e7F)) m.check_single(f);
    for (float f = 0.0000999F; f <= 0.0001001F; f = std::nextafter(f, 1.0F)) m.check_single(f);
    m.expect_none();
}

// Texts of up to 15 digits with a point and no exponent are read without from_chars; they must
// give the nearest double all the same, as strtod does.
TEST(ParseNumberOracle, ShortDecimalsReadAsStrtodReadsThem) {
    std::mt19937_64 rng(2026);
    std::uniform_int_distribution<int> length(1, 15), point(0, 15), digit(0, 9);
    std::size_t checked = 0, wrong = 0;
    std::string shown;
    for (std::size_t i = 0; i < sweep; ++i) {
        std::string text;
        const int n = length(rng);
        for (int k = 0; k < n; ++k) text.push_back(static_cast<char>('0' + digit(rng)));
        const int at = point(rng);
        if (at <= n) text.insert(static_cast<std::size_t>(at), ".");
        if (text == ".") continue;
        if (i % 3 == 0) text.insert(0, "-");
        const double want = std::strtod(text.c_str(), nullptr);
        const ventora::number got = ventora::parse_number(text);
        ++checked;
        if (!got || *got != want || std::signbit(*got) != std::signbit(want)) {
            if (++wrong <= 10) shown += text + "\n";
        }
    }
    EXPECT_EQ(wrong, 0U) << "of " << checked << ", first ones:\n" << shown;
    // 15 digits at the largest; 16 go through from_chars, and so do leading zeros past 15 digits.
    EXPECT_EQ(ventora::parse_number("999999999999999"), 999999999999999.0);
    EXPECT_EQ(ventora::parse_number("9999999999999999"), 1e16);
    EXPECT_EQ(ventora::parse_number("0.00000000000000000000001"), 1e-23);
    EXPECT_EQ(ventora::parse_number("0.1"), 0.1);
    EXPECT_EQ(ventora::parse_number("-0"), -0.0);
    EXPECT_TRUE(std::signbit(*ventora::parse_number("-0.000")));
}

struct edge {
    const char* name;
    double value;
    const char* expected;  // written out by hand, and also checked against the oracle
};
void PrintTo(const edge& e, std::ostream* os) { *os << e.name; }

class FormatDoubleEdge : public testing::TestWithParam<edge> {};
TEST_P(FormatDoubleEdge, MatchesTheOracleAndTheHandWrittenText) {
    const edge& e = GetParam();
    EXPECT_EQ(format_double(e.value), e.expected);
    EXPECT_EQ(format_double(e.value), oracle_double(e.value));
}
const edge double_edges[] = {
    {"negative_zero", -0.0, "0"},
    {"smallest_subnormal", std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
    {"largest_subnormal", 0x0.fffffffffffffp-1022, "2.2250738585072E-308"},
    {"smallest_normal", std::numeric_limits<double>::min(), "2.2250738585072E-308"},
    {"largest", std::numeric_limits<double>::max(), "1.79769313486232E+308"},
    {"most_negative", std::numeric_limits<double>::lowest(), "-1.79769313486232E+308"},
    {"just_below_1e15", 999'999'999'999'999.0, "999999999999999"},
    {"1e15_itself", 1e15, "1E+15"},
    {"rounds_up_to_1e15", 999'999'999'999'999.5, "1E+15"},
    {"rounds_up_to_1e15_negative", -999'999'999'999'999.5, "-1E+15"},
    {"tie_at_15_digits_to_even_down", 1'000'000'000'000'005.0, "1E+15"},
    {"tie_at_15_digits_to_even_up", 1'000'000'000'000'015.0, "1.00000000000002E+15"},
    {"ten_thousandth_fixed", 0.0001, "0.0001"},
    {"one_below_ten_thousandth_rounds_up_to_it", 0x1.a36e2eb1c432cp-14, "0.0001"},
    {"below_ten_thousandth_stays_exponent", 0.0000999999999999, "9.99999999999E-05"},
    {"hundred_thousandth", 1e-5, "1E-05"},
    {"rounds_up_to_10", 9.9999999999999995, "10"},
    {"rounds_up_to_1000", 999.99999999999999, "1000"},
    {"fifteen_digits_kept", 10533.2059624493, "10533.2059624493"},
    {"sixteenth_digit_rounded", 0.1 + 0.2, "0.3"},
    {"three_digit_exponent", 1.5e-100, "1.5E-100"},
    {"infinity", std::numeric_limits<double>::infinity(), "INF"},
    {"negative_infinity", -std::numeric_limits<double>::infinity(), "-INF"},
    {"nan", std::numeric_limits<double>::quiet_NaN(), "NAN"},
    {"negative_nan", -std::numeric_limits<double>::quiet_NaN(), "-NAN"},
};
INSTANTIATE_TEST_SUITE_P(Table, FormatDoubleEdge, testing::ValuesIn(double_edges),
                         [](const auto& info) { return std::string(info.param.name); });

struct single_edge {
    const char* name;
    float value;
    const char* expected;
};
void PrintTo(const single_edge& e, std::ostream* os) { *os << e.name; }

class FormatSingleEdge : public testing::TestWithParam<single_edge> {};
TEST_P(FormatSingleEdge, MatchesTheOracleAndTheHandWrittenText) {
    const single_edge& e = GetParam();
    EXPECT_EQ(format_single(e.value), e.expected);
    EXPECT_EQ(format_single(e.value), oracle_single(e.value));
}
const single_edge single_edges[] = {
    {"negative_zero", -0.0F, "0"},
    {"smallest_subnormal", std::numeric_limits<float>::denorm_min(), "1.401298E-45"},
    {"smallest_normal", std::numeric_limits<float>::min(), "1.175494E-38"},
    {"largest", std::numeric_limits<float>::max(), "3.402823E+38"},
    {"just_below_1e7", 9'999'999.0F, "9999999"},
    {"1e7_itself", 10'000'000.0F, "1E+07"},
    {"tie_at_7_digits_to_even_down", 10'000'005.0F, "1E+07"},
    {"tie_at_7_digits_to_even_up", 10'000'015.0F, "1.000002E+07"},
    // A single is never within half a unit of the 7th digit below a power of ten (its spacing
    // there is wider), so the one below 1000 keeps its seven nines.
    {"one_below_1000_stays_below", 999.99994F, "999.9999"},
    {"single_nearest_6_28", 6.28F, "6.28"},
    {"hundred_thousandth", 1e-5F, "1E-05"},
    {"ten_thousandth", 0.0001F, "0.0001"},
};
INSTANTIATE_TEST_SUITE_P(Table, FormatSingleEdge, testing::ValuesIn(single_edges),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
