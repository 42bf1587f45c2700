#include "book/book_numbers.h"

#include <array>
#include <cmath>
#include <numbers>
#include <cstdio>
#include <vector>

#include "numbers/number.h"

namespace ventora::book {
namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

// The length of the number written at `at` (1962, 0.25, 1.5E-07), 0 when none starts there.
std::size_t number_length(std::string_view s, std::size_t at) {
    std::size_t i = at;
    while (i < s.size() && digit(s[i])) ++i;
    if (i == at) return 0;
    if (i + 1 < s.size() && s[i] == '.' && digit(s[i + 1])) {
        ++i;
        while (i < s.size() && digit(s[i])) ++i;
    }
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && digit(s[j])) {
            while (j < s.size() && digit(s[j])) ++j;
            i = j;
        }
    }
    return i - at;
}

// Significant digits of a number as written: 0.0667 has 3, 1962.5 has 5, 1.5E-07 has 2.
int significant_digits(std::string_view token) {
    const std::size_t e = token.find_first_of("Ee");
    const std::string_view mantissa = token.substr(0, e);
    int count = 0;
    bool leading = true;
    for (char c : mantissa) {
        if (!digit(c)) continue;
        if (leading && c == '0') continue;
        leading = false;
        ++count;
    }
    // Trailing zeros of a whole number (14700) are places, not digits the rule cuts.
    if (mantissa.find('.') == std::string_view::npos) {
        for (auto it = mantissa.rbegin(); it != mantissa.rend() && *it == '0' && count > 1; ++it)
            --count;
    }
    return count;
}

// `text` with every number passed through `rewrite`.
template <class F>
std::string with_numbers(std::string_view text, F rewrite) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const bool after_word = i > 0 && (std::isalpha(static_cast<unsigned char>(text[i - 1])) ||
                                          digit(text[i - 1]) || text[i - 1] == '.');
        const std::size_t n = after_word ? 0 : number_length(text, i);
        if (n == 0) {
            out += text[i++];
            continue;
        }
        out += rewrite(text.substr(i, n));
        i += n;
    }
    return out;
}

// A recursive-descent reading of the account notation's arithmetic.
class reader {
public:
    explicit reader(std::string_view s) : s_(s) {}

    std::optional<double> whole() {
        const double v = sum();
        skip();
        if (!ok_ || i_ != s_.size()) return std::nullopt;
        return v;
    }

private:
    void skip() {
        while (i_ < s_.size() && s_[i_] == ' ') ++i_;
    }
    bool eat(std::string_view t) {
        skip();
        if (s_.substr(i_, t.size()) != t) return false;
        i_ += t.size();
        return true;
    }
    bool minus() { return eat("−") || eat("-"); }
    void expect(std::string_view t) {
        if (!eat(t)) ok_ = false;
    }
    double sum() {
        double v = product();
        while (ok_) {
            if (eat("+")) v += product();
            else if (minus()) v -= product();
            else break;
        }
        return v;
    }
    double product() {
        double v = power();
        while (ok_) {
            if (eat("·") || eat("×")) v *= power();
            else if (eat("/")) v /= power();
            else break;
        }
        return v;
    }
    double power() {
        const double base = unary();
        if (!eat("^{")) return base;
        const double exponent = sum();
        expect("}");
        return std::pow(base, exponent);
    }
    double unary() {
        if (minus()) return -unary();
        return primary();
    }
    double primary() {
        if (eat("√(") || eat("sin(") || eat("ln(") || eat("lg(") || eat("(")) {
            const std::string_view opened = s_.substr(0, i_);
            const double v = sum();
            expect(")");
            if (opened.ends_with("√(")) return std::sqrt(v);
            if (opened.ends_with("sin(")) return std::sin(v);
            if (opened.ends_with("ln(")) return std::log(v);
            if (opened.ends_with("lg(")) return std::log10(v);
            return v;
        }
        if (eat("π")) return std::numbers::pi;
        skip();
        const std::size_t n = number_length(s_, i_);
        if (n == 0) {
            ok_ = false;
            return 0;
        }
        const number v = parse_number(s_.substr(i_, n));
        i_ += n;
        if (!v) ok_ = false;
        return value_or_zero(v);
    }

    std::string_view s_;
    std::size_t i_ = 0;
    bool ok_ = true;
};

bool plain_number(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return !s.empty() && number_length(s, 0) == s.size();
}

// The relations a substitution may state between its sides.
constexpr std::array<std::string_view, 5> separators = {" = ", " ≤ ", " ≥ ", " < ", " > "};

struct piece {
    std::string_view text;
    std::string_view before;  // the separator in front of it; empty for the first
    bool arithmetic = false;
    bool plain = false;
};

std::vector<piece> pieces_of(std::string_view s) {
    std::vector<piece> out;
    std::string_view before;
    for (;;) {
        std::size_t cut = std::string_view::npos;
        std::string_view sep;
        for (std::string_view candidate : separators) {
            const std::size_t at = s.find(candidate);
            if (at < cut) {
                cut = at;
                sep = candidate;
            }
        }
        piece p{s.substr(0, cut), before};
        p.arithmetic = evaluate(p.text).has_value();
        p.plain = p.arithmetic && plain_number(p.text);
        out.push_back(p);
        if (cut == std::string_view::npos) return out;
        s.remove_prefix(cut + sep.size());
        before = sep;
    }
}

bool holds(std::string_view relation, double a, double b) {
    if (relation == " ≤ ") return a <= b;
    if (relation == " ≥ ") return a >= b;
    if (relation == " < ") return a < b;
    if (relation == " > ") return a > b;
    return true;
}

std::string at_digits(std::string_view text, int digits) {
    return with_numbers(text, [digits](std::string_view token) {
        const number v = parse_number(token);
        return v ? rounded_text(*v, digits) : std::string(token);
    });
}

// The step printed with its values substituted at `digits` and its results at book_digits, or
// nothing when a checker could not recompute the printed results from the printed values.
std::optional<printed_step> try_digits(const account::step& s, const std::vector<piece>& pieces,
                                       int digits) {
    printed_step out;
    out.digits = digits;
    // A result the regulation then rounds down is printed with the digits that floor it to the
    // rounded value (22001.99 → 22001, where 22002 would not).
    const bool floored = s.note.find("向下取整") != std::string::npos;
    const int result_digits = floored ? digits : book_digits;
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const piece& p = pieces[i];
        // A number after the expression is a result ("… = 1962.5"), printed like every result.
        const bool result_piece = p.plain && p.before == " = " && i > 0 && pieces[i - 1].arithmetic;
        // Numbers in a text that is no arithmetic (an implicit equation, a figure named in
        // words) take the step's digits too: no checker can recompute them to more.
        texts.push_back(at_digits(p.text, result_piece ? result_digits : digits));
        out.substituted += std::string(p.before) + texts.back();
    }
    auto value_of = [&](std::size_t i) { return *evaluate(texts[i]); };

    // Every relation stated must hold between the printed sides.
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        if (pieces[i].before == " = " || !pieces[i - 1].arithmetic || !pieces[i].arithmetic) continue;
        if (!holds(pieces[i].before, value_of(i - 1), value_of(i))) return std::nullopt;
    }

    // The expression substituted, and the result printed after it.
    std::optional<std::size_t> expression, result;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (pieces[i].before != "" && pieces[i].before != " = ") break;
        if (!expression && pieces[i].arithmetic && !pieces[i].plain) expression = i;
        else if (expression && pieces[i].plain) result = i;
    }
    const std::optional<double> recomputed =
        expression ? std::optional<double>(value_of(*expression)) : std::nullopt;
    if (recomputed && result && rounded_text(*recomputed, result_digits) != texts[*result])
        return std::nullopt;

    const number value = plain_number(s.value) ? parse_number(s.value) : std::nullopt;
    if (!value) {
        out.value = s.value;
        return out;
    }
    if (floored) {
        // The regulation's rounding: the value as the message shows it, which the printed
        // result must floor to.
        out.value = s.value;
        const std::optional<double> before =
            result ? evaluate(texts[*result]) : recomputed;
        if (before && std::floor(*before) != *value) return std::nullopt;
        return out;
    }
    out.value = rounded_text(*value, book_digits);
    if (recomputed && !result && rounded_text(*recomputed, book_digits) != out.value)
        return std::nullopt;
    return out;
}

}  // namespace

std::string rounded_text(double value, int digits) {
    if (!std::isfinite(value) || value == 0) return format_double(value);
    const int whole = static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
    const int places = std::max(digits, whole);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", std::min(places, 17), value);
    return format_double(parse_number(buffer));
}

std::string shortened(std::string_view text) {
    return with_numbers(text, [](std::string_view token) {
        const number v = parse_number(token);
        if (!v || significant_digits(token) <= book_digits) return std::string(token);
        return rounded_text(*v, book_digits);
    });
}

std::optional<double> evaluate(std::string_view expression) {
    const std::optional<double> v = reader(expression).whole();
    if (!v || !std::isfinite(*v)) return std::nullopt;
    return v;
}

printed_step printed(const account::step& s) {
    const std::vector<piece> pieces = pieces_of(s.substituted);
    for (int digits = book_digits; digits <= 15; ++digits) {
        if (auto out = try_digits(s, pieces, digits)) return *out;
    }
    return {s.substituted, s.value, 0};
}

}  // namespace ventora::book
