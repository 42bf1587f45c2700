#include "numbers/number.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace ventora {
namespace {

// Maps the full-width characters of Chinese input methods to ASCII. Returns false when the text
// holds a byte sequence that is neither ASCII nor one of those characters (it cannot be a number).
bool to_ascii(std::string_view text, std::string& out) {
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        // U+3000 ideographic space: E3 80 80.
        if (c == 0xE3 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
            static_cast<unsigned char>(text[i + 2]) == 0x80) {
            out.push_back(' ');
            i += 3;
            continue;
        }
        // U+FF01..U+FF5E full-width ASCII: EF BC 81..BF and EF BD 80..9E.
        if (c == 0xEF && i + 2 < text.size()) {
            const auto c1 = static_cast<unsigned char>(text[i + 1]);
            const auto c2 = static_cast<unsigned char>(text[i + 2]);
            unsigned code = 0;
            if (c1 == 0xBC && c2 >= 0x81 && c2 <= 0xBF) code = 0xFF00u + (c2 - 0x80u);
            if (c1 == 0xBD && c2 >= 0x80 && c2 <= 0x9E) code = 0xFF40u + (c2 - 0x80u);
            if (code != 0) {
                const char ascii = static_cast<char>(code - 0xFF00u + 0x20u);
                if ((ascii >= '0' && ascii <= '9') || ascii == '.' || ascii == '+' || ascii == '-' ||
                    ascii == 'e' || ascii == 'E') {
                    out.push_back(ascii);
                    i += 3;
                    continue;
                }
            }
        }
        return false;
    }
    return true;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// 10^digits for the two precisions used.
double digits_limit(int digits) { return digits == 15 ? 1e15 : digits == 7 ? 1e7 : 0.0; }

// Writes value in the general format with `digits` significant digits (as "%.*G" does: exponent
// form when the decimal exponent after rounding is below -4 or at least `digits`, the exponent
// signed and of at least two digits), then drops the mantissa's trailing zeros and a point that
// nothing follows. The rounding to `digits` digits is done once, by to_chars, and both forms are
// laid out from those digits.
std::string general_format(double value, int digits) {
    if (value == 0.0) return "0";  // also turns -0 into 0
    if (std::isnan(value)) return std::signbit(value) ? "-NAN" : "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

    const double magnitude = std::fabs(value);
    // A whole number of at most `digits` digits is written as it is (most results are).
    if (magnitude < digits_limit(digits) && magnitude == std::floor(magnitude)) {
        char whole[24];
        const auto [end, ec] = std::to_chars(whole, whole + sizeof whole, static_cast<long long>(value));
        (void)ec;
        return std::string(whole, end);
    }

    // The digits and decimal exponent, d.ddd...e±XXX: at most 1 + 1 + 16 + 5 characters.
    char sci[40];
    const char* sci_end = nullptr;
    // The shortest digits that read back to the double are the value rounded to 15 digits
    // whenever there are no more than 15 of them: the double lies within 1.2e-16 of them
    // (relative), well inside the 5e-16 that rounding at the 15th digit allows. Subnormals
    // (coarser) and singles (spacing up to 6e-8 against 5e-8 at the 7th digit) are not so
    // lucky: they, and doubles with more digits, are rounded by to_chars at the given precision.
    int count = 0;
    const bool normal = magnitude >= std::numeric_limits<double>::min();
    if (digits == 15 && normal) {
        sci_end = std::to_chars(sci, sci + sizeof sci, magnitude, std::chars_format::scientific).ptr;
        for (const char* p = sci; p != sci_end && *p != 'e'; ++p) count += *p != '.';
    }
    if (digits != 15 || !normal || count > 15) {
        sci_end = std::to_chars(sci, sci + sizeof sci, magnitude, std::chars_format::scientific, digits - 1).ptr;
    }
    char mantissa[24];
    count = 0;
    const char* p = sci;
    for (; p != sci_end && *p != 'e'; ++p)
        if (*p != '.') mantissa[count++] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), sci_end, exponent);
    while (count > 1 && mantissa[count - 1] == '0') --count;  // trailing zeros go

    std::string out;
    out.reserve(32);
    if (value < 0) out.push_back('-');
    if (exponent < -4 || exponent >= digits) {
        out.push_back(mantissa[0]);
        if (count > 1) {
            out.push_back('.');
            out.append(mantissa + 1, static_cast<std::size_t>(count - 1));
        }
        out.push_back('E');
        out.push_back(exponent < 0 ? '-' : '+');
        const int magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10) out.push_back('0');
        out += std::to_string(magnitude);
    } else if (exponent >= 0) {
        // The integer part has exponent + 1 digits; those past the kept ones are zeros.
        const int whole = exponent + 1;
        for (int i = 0; i < whole; ++i) out.push_back(i < count ? mantissa[i] : '0');
        if (count > whole) {
            out.push_back('.');
            out.append(mantissa + whole, static_cast<std::size_t>(count - whole));
        }
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(mantissa, static_cast<std::size_t>(count));
    }
    return out;
}

}  // namespace

number parse_number(std::string_view text) {
    // Plain ASCII (nearly every text) is read where it stands; only full-width forms are copied.
    bool ascii = true;
    for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    std::string copy;
    if (!ascii && !to_ascii(text, copy)) return std::nullopt;
    const std::string_view s = ascii ? text : std::string_view(copy);

    std::size_t begin = 0, end = s.size();
    while (begin < end && is_blank(s[begin])) ++begin;
    while (end > begin && is_blank(s[end - 1])) --end;

    // Check the whole grammar here: from_chars alone would accept a prefix.
    std::size_t i = begin;
    bool negative = false;
    if (i < end && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const std::size_t mantissa_begin = i;
    std::size_t digits = 0;
    while (i < end && is_digit(s[i])) ++i, ++digits;
    if (i < end && s[i] == '.') {
        ++i;
        while (i < end && is_digit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < end && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < end && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t exponent_digits = 0;
        while (i < end && is_digit(s[i])) ++i, ++exponent_digits;
        if (exponent_digits == 0) return std::nullopt;
    }
    if (i != end) return std::nullopt;

    // Most texts are a few digits with perhaps a point and no exponent. With at most 15 digits
    // the digits form an integer that a double holds exactly, and dividing it by the exact power
    // of ten (at most 10^22) rounds once, correctly: the value is the nearest double, as
    // from_chars would give.
    if (digits <= 15) {
        static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        std::int64_t whole = 0;
        int decimals = -1;  // -1 until the point
        bool plain = true;
        for (std::size_t k = mantissa_begin; k < end; ++k) {
            const char c = s[k];
            if (c == '.') {
                decimals = 0;
            } else if (is_digit(c)) {
                whole = whole * 10 + (c - '0');
                if (decimals >= 0) ++decimals;
            } else {
                plain = false;  // an exponent
                break;
            }
        }
        if (plain) {
            const double value = static_cast<double>(whole) / powers[decimals < 0 ? 0 : decimals];
            return negative ? -value : value;
        }
    }

    // from_chars takes no leading '+'; the sign is applied afterwards.
    double value = 0.0;
    const char* first = s.data() + mantissa_begin;
    const char* last = s.data() + end;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Out of range either way: decide by where the first significant digit stands.
        std::string_view body(first, static_cast<std::size_t>(last - first));
        const auto epos = body.find_first_of("eE");
        const std::string_view mant = body.substr(0, epos);
        long long exponent = 0;
        if (epos != std::string_view::npos) {
            std::string_view ex = body.substr(epos + 1);
            bool ex_negative = false;
            if (!ex.empty() && (ex[0] == '+' || ex[0] == '-')) {
                ex_negative = ex[0] == '-';
                ex.remove_prefix(1);
            }
            for (char c : ex) {
                exponent = exponent * 10 + (c - '0');
                if (exponent > 1'000'000'000) break;
            }
            if (ex_negative) exponent = -exponent;
        }
        // Position of the first non-zero digit relative to the decimal point.
        const auto point = mant.find('.');
        const long long int_len =
            static_cast<long long>(point == std::string_view::npos ? mant.size() : point);
        long long position = 0;
        long long index = 0;
        for (char c : mant) {
            if (c == '.') continue;
            if (c != '0') {
                position = int_len - index;
                break;
            }
            ++index;
        }
        if (exponent + position > 0) return std::nullopt;  // too large
        return negative ? -0.0 : 0.0;                       // too small: reads as zero
    }
    if (ec != std::errc() || ptr != last) return std::nullopt;
    return negative ? -value : value;
}

std::string format_double(const number& value) {
    if (!value) return {};
    return general_format(*value, 15);
}

std::string format_single(const std::optional<float>& value) {
    if (!value) return {};
    return general_format(static_cast<double>(*value), 7);
}

std::optional<float> to_single(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    // Values up to half a unit in the last place above the largest single still round down to
    // it; from there on the store overflows.
    constexpr double overflow_bound = 0x1.ffffffp127;
    constexpr float largest = std::numeric_limits<float>::max();
    const double magnitude = std::fabs(value);
    if (magnitude >= overflow_bound) return std::nullopt;
    if (magnitude > static_cast<double>(largest)) return value < 0 ? -largest : largest;
    return static_cast<float>(value);
}

}  // namespace ventora
