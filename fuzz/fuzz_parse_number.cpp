// Arbitrary text as typed into an input box: reading it never crashes and never gives a value
// that is not finite; a value read and written into a message reads back to the same value
// within the digits the message keeps (15 for a double, 7 for a single); and for plain ASCII
// text the value agrees with the C library's own conversion.
#include <cerrno>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "numbers/number.h"

namespace {

// What a message may hold: digits, a sign, a point, an exponent mark. Never "-0", "inf", "nan".
bool looks_like_message_number(const std::string& s) {
    if (s.empty() || s == "-0") return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'E')) return false;
    return true;
}

void check_double(double v) {
    const std::string text = ventora::format_double(v);
    FUZZ_CHECK(looks_like_message_number(text));
    const ventora::number back = ventora::parse_number(text);
    // The 15-digit form of a value within a rounding step of the largest double rounds up past
    // it (1.79769313486232E+308), which no double holds: such a text reads as unset.
    if (std::fabs(v) > 1.79769313486231e308) return;
    FUZZ_CHECK(back.has_value());
    // Rounding to 15 significant digits is off by at most half a unit in the 15th digit
    // (5e-15 relative), reading it back by at most half an ulp more; subnormals have
    // fewer digits, hence the absolute term.
    FUZZ_CHECK(std::fabs(*back - v) <= 5.2e-15 * std::fabs(v) + 1e-323);
    // Fifteen digits survive a trip through a normal double (DBL_DIG), so the text is stable.
    if (std::fabs(v) >= DBL_MIN) FUZZ_CHECK(ventora::format_double(back) == text);
}

void check_single(double v) {
    const std::optional<float> f = ventora::to_single(v);
    if (std::fabs(v) <= static_cast<double>(FLT_MAX)) FUZZ_CHECK(f.has_value());
    if (!f) return;
    FUZZ_CHECK(std::isfinite(*f));
    const std::string text = ventora::format_single(f);
    FUZZ_CHECK(looks_like_message_number(text));
    const ventora::number back = ventora::parse_number(text);
    FUZZ_CHECK(back.has_value());
    const std::optional<float> back_single = ventora::to_single(*back);
    FUZZ_CHECK(back_single.has_value());
    const double a = static_cast<double>(*f), b = static_cast<double>(*back_single);
    // Seven digits: 5e-7 relative, then up to half a single ulp (2^-24) in the store.
    FUZZ_CHECK(std::fabs(b - a) <= 5.7e-7 * std::fabs(a) + 1.5e-45);
}

// Plain ASCII text that the box reads as a number must mean what strtod makes of it.
void check_against_strtod(std::string_view text, double v) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\0') return;
    const std::string s(text);
    errno = 0;
    char* end = nullptr;
    const double r = std::strtod(s.c_str(), &end);
    if (errno == ERANGE || (r != 0.0 && std::fabs(r) < DBL_MIN)) return;  // range edges differ
    FUZZ_CHECK(end != s.c_str());
    FUZZ_CHECK(r == v);
    FUZZ_CHECK(std::signbit(r) == std::signbit(v));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::setlocale(LC_ALL, "C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ventora::number n = ventora::parse_number(text);
    FUZZ_CHECK(ventora::format_double(std::nullopt).empty());
    if (!n) return 0;
    FUZZ_CHECK(std::isfinite(*n));
    check_double(*n);
    check_single(*n);
    check_against_strtod(text, *n);
    return 0;
}
