#include "request/json.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

namespace ventora::requests::json {
namespace {

bool is_ws(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void append_utf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Walks one text that is already known to be valid UTF-8 and names the first thing wrong with
// it, in reading order. Nothing is built: only an object's keys are kept, to find a duplicate.
class checker {
public:
    explicit checker(std::string_view text) : s_(text) {}

    std::string run() {
        skip_ws();
        if (!check_value(0)) return std::move(error_);
        skip_ws();
        if (i_ != s_.size()) fail("unexpected text after the JSON value");
        return std::move(error_);
    }

private:
    bool fail(std::string_view what) {
        return fail_at(what, i_);
    }
    bool fail_at(std::string_view what, std::size_t at) {
        if (error_.empty()) {
            error_ = "not valid JSON: ";
            error_ += what;
            error_ += " at byte ";
            error_ += std::to_string(at + 1);
        }
        return false;
    }
    // Names the character found where something else was expected.
    std::string found() const {
        if (i_ >= s_.size()) return "the end of the line";
        const char c = s_[i_];
        if (c == '\'') return "a single quote (JSON takes double quotes)";
        if (c >= 0x21 && c <= 0x7E) return std::string("'") + c + "'";
        if (c == ' ') return "a blank";
        if (static_cast<unsigned char>(c) < 0x80) {
            static const char digits[] = "0123456789ABCDEF";
            const auto u = static_cast<unsigned char>(c);
            return std::string("control character U+00") + digits[u >> 4] + digits[u & 0xF];
        }
        return "a non-ASCII character";
    }

    void skip_ws() {
        while (i_ < s_.size() && is_ws(s_[i_])) ++i_;
    }

    bool literal(std::string_view word) {
        if (s_.substr(i_, word.size()) != word) return fail("expected true, false or null");
        i_ += word.size();
        return true;
    }

    bool check_value(int depth) {
        if (i_ >= s_.size()) return fail("expected a value but found the end of the line");
        if (++values_ > max_values) {
            error_ = "not a request: more than " + std::to_string(max_values) +
                     " values in one line at byte " + std::to_string(i_ + 1);
            return false;
        }
        switch (s_[i_]) {
            case '{': return check_object(depth + 1);
            case '[': return check_array(depth + 1);
            case '"': return check_string(nullptr);
            case 't': return literal("true");
            case 'f': return literal("false");
            case 'n': return literal("null");
            default:
                if (s_[i_] == '-' || is_digit(s_[i_])) return check_number();
                return fail("expected a value but found " + found());
        }
    }

    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    bool check_number() {
        const std::size_t start = i_;
        if (s_[i_] == '-') ++i_;
        if (i_ >= s_.size() || !is_digit(s_[i_])) return fail("expected a digit but found " + found());
        if (s_[i_] == '0') {
            ++i_;
            if (i_ < s_.size() && is_digit(s_[i_]))
                return fail("a number must not start with a leading zero");
        } else {
            while (i_ < s_.size() && is_digit(s_[i_])) ++i_;
        }
        if (i_ < s_.size() && s_[i_] == '.') {
            ++i_;
            if (i_ >= s_.size() || !is_digit(s_[i_]))
                return fail("expected a digit after the decimal point but found " + found());
            while (i_ < s_.size() && is_digit(s_[i_])) ++i_;
        }
        if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
            ++i_;
            if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
            if (i_ >= s_.size() || !is_digit(s_[i_]))
                return fail("expected a digit in the exponent but found " + found());
            while (i_ < s_.size() && is_digit(s_[i_])) ++i_;
        }
        (void)start;
        return true;
    }

    bool parse_hex4(unsigned& out) {
        if (s_.size() - i_ < 4) return fail("incomplete \\u escape");
        out = 0;
        for (int k = 0; k < 4; ++k) {
            const int h = hex_value(s_[i_ + static_cast<std::size_t>(k)]);
            if (h < 0) return fail("bad hexadecimal digit in a \\u escape");
            out = out * 16 + static_cast<unsigned>(h);
        }
        i_ += 4;
        return true;
    }

    // A string; its decoded text goes to out when one is given (keys only).
    bool check_string(std::string* out) {
        const std::size_t open = i_;
        ++i_;  // the opening quote
        if (out) out->clear();
        for (;;) {
            // Copy the run of plain characters in one go.
            std::size_t run = i_;
            while (run < s_.size()) {
                const auto c = static_cast<unsigned char>(s_[run]);
                if (c == '"' || c == '\\' || c < 0x20) break;
                ++run;
            }
            if (out) out->append(s_.data() + i_, run - i_);
            i_ = run;
            if (i_ >= s_.size()) return fail_at("unterminated string", open);
            const char c = s_[i_];
            if (c == '"') {
                ++i_;
                return true;
            }
            if (c != '\\') return fail(found() + " inside a string (it must be escaped)");
            ++i_;
            if (i_ >= s_.size()) return fail_at("unterminated string", open);
            const char e = s_[i_++];
            char plain = 0;
            switch (e) {
                case '"': plain = '"'; break;
                case '\\': plain = '\\'; break;
                case '/': plain = '/'; break;
                case 'b': plain = '\b'; break;
                case 'f': plain = '\f'; break;
                case 'n': plain = '\n'; break;
                case 'r': plain = '\r'; break;
                case 't': plain = '\t'; break;
                case 'u': {
                    const std::size_t escape_at = i_ - 2;
                    unsigned cp = 0;
                    if (!parse_hex4(cp)) return false;
                    if (cp >= 0xDC00 && cp <= 0xDFFF)
                        return fail_at("a lone low surrogate in a \\u escape", escape_at);
                    if (cp >= 0xD800 && cp <= 0xDBFF) {
                        if (s_.substr(i_, 2) != "\\u")
                            return fail_at("a high surrogate not followed by a low one", escape_at);
                        i_ += 2;
                        unsigned low = 0;
                        if (!parse_hex4(low)) return false;
                        if (low < 0xDC00 || low > 0xDFFF)
                            return fail_at("a high surrogate not followed by a low one", escape_at);
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    }
                    if (out) append_utf8(*out, cp);
                    break;
                }
                default:
                    --i_;
                    return fail("unknown escape \\" + found());
            }
            if (plain != 0 && out) out->push_back(plain);
        }
    }

    bool check_array(int depth) {
        if (depth > max_depth) return fail("nesting deeper than " + std::to_string(max_depth) + " levels");
        ++i_;  // '['
        skip_ws();
        if (i_ < s_.size() && s_[i_] == ']') {
            ++i_;
            return true;
        }
        for (;;) {
            skip_ws();
            if (!check_value(depth)) return false;
            skip_ws();
            if (i_ < s_.size() && s_[i_] == ',') {
                ++i_;
                continue;
            }
            if (i_ < s_.size() && s_[i_] == ']') {
                ++i_;
                return true;
            }
            return fail("expected ',' or ']' but found " + found());
        }
    }

    bool check_object(int depth) {
        if (depth > max_depth) return fail("nesting deeper than " + std::to_string(max_depth) + " levels");
        ++i_;  // '{'
        skip_ws();
        if (i_ < s_.size() && s_[i_] == '}') {
            ++i_;
            return true;
        }
        // Small objects (every request) check for a duplicate by a linear scan; large ones by set.
        constexpr std::size_t linear_limit = 32;
        std::unordered_set<std::string> seen;
        std::vector<std::string> keys;
        for (;;) {
            skip_ws();
            if (i_ >= s_.size() || s_[i_] != '"')
                return fail("expected a key in double quotes but found " + found());
            const std::size_t key_at = i_;
            std::string key;
            if (!check_string(&key)) return false;
            bool duplicate = false;
            if (keys.size() < linear_limit) {
                for (const auto& k : keys) duplicate = duplicate || k == key;
            } else {
                if (seen.empty()) seen.insert(keys.begin(), keys.end());
                duplicate = !seen.insert(key).second;
            }
            if (duplicate) {
                // A key is quoted in full only up to 64 bytes, so that one line cannot flood
                // the output (cut at a character boundary).
                std::size_t cut = key.size();
                if (cut > 64) {
                    cut = 64;
                    while (cut > 0 && (static_cast<unsigned char>(key[cut]) & 0xC0) == 0x80) --cut;
                    key = key.substr(0, cut) + "...";
                }
                error_ = "duplicate key ";
                write_string(error_, key);
                error_ += " at byte " + std::to_string(key_at + 1);
                return false;
            }
            skip_ws();
            if (i_ >= s_.size() || s_[i_] != ':') return fail("expected ':' but found " + found());
            ++i_;
            skip_ws();
            keys.push_back(std::move(key));
            if (!check_value(depth)) return false;
            skip_ws();
            if (i_ < s_.size() && s_[i_] == ',') {
                ++i_;
                continue;
            }
            if (i_ < s_.size() && s_[i_] == '}') {
                ++i_;
                return true;
            }
            return fail("expected ',' or '}' but found " + found());
        }
    }

    std::string_view s_;
    std::size_t i_ = 0;
    std::size_t values_ = 0;
    std::string error_;
};

}  // namespace

std::size_t find_invalid_utf8(std::string_view text) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        // Well-formed sequences (Unicode, table 3-7): the second byte's range depends on the
        // first, which rules out overlong forms, surrogates and code points above U+10FFFF.
        std::size_t len = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) lo = 0xA0;
            if (c == 0xED) hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) lo = 0x90;
            if (c == 0xF4) hi = 0x8F;
        } else {
            return i;
        }
        if (n - i < len) return i;
        if (s[i + 1] < lo || s[i + 1] > hi) return i;
        for (std::size_t k = 2; k < len; ++k)
            if (s[i + k] < 0x80 || s[i + k] > 0xBF) return i;
        i += len;
    }
    return std::string_view::npos;
}

std::string find_problem(std::string_view text) {
    if (const auto bad = find_invalid_utf8(text); bad != std::string_view::npos)
        return "invalid UTF-8 at byte " + std::to_string(bad + 1);
    return checker(text).run();
}

bool is_number_literal(std::string_view t) {
    std::size_t i = 0;
    const std::size_t n = t.size();
    if (i < n && t[i] == '-') ++i;
    if (i >= n || !is_digit(t[i])) return false;
    if (t[i] == '0') {
        ++i;
    } else {
        while (i < n && is_digit(t[i])) ++i;
    }
    if (i < n && t[i] == '.') {
        ++i;
        if (i >= n || !is_digit(t[i])) return false;
        while (i < n && is_digit(t[i])) ++i;
    }
    if (i < n && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
        if (i >= n || !is_digit(t[i])) return false;
        while (i < n && is_digit(t[i])) ++i;
    }
    return i == n;
}

namespace {
// True when one of the 8 bytes in w is a control character, '"' or '\\' (the bytes that must be
// escaped), by the usual "has a zero byte" bit trick on w, w ^ '"' and w ^ '\\'.
bool needs_escape(std::uint64_t w) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL, highs = 0x8080808080808080ULL;
    const auto has_zero = [](std::uint64_t x) { return (x - ones) & ~x & highs; };
    const std::uint64_t below_space = (w - ones * 0x20) & ~w & highs;
    return (below_space | has_zero(w ^ (ones * '"')) | has_zero(w ^ (ones * '\\'))) != 0;
}
}  // namespace

void write_string(std::string& out, std::string_view s) {
    static const char hex[] = "0123456789abcdef";
    out.push_back('"');
    // Runs of eight bytes with nothing to escape (most of every message) go in one step.
    std::size_t i = 0;
    while (i + 8 <= s.size()) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        if (needs_escape(w)) break;
        i += 8;
    }
    std::size_t run = 0;
    for (; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x20 && c != '"' && c != '\\') continue;
        out.append(s.data() + run, i - run);
        run = i + 1;
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            default:
                out += "\\u00";
                out.push_back(hex[c >> 4]);
                out.push_back(hex[c & 0xF]);
        }
    }
    out.append(s.data() + run, s.size() - run);
    out.push_back('"');
}

void write_number(std::string& out, double v) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    // 32 characters hold every double's shortest form ("-2.2250738585072014e-308" is 24).
    out.append(buffer, static_cast<std::size_t>(end - buffer));
    (void)ec;
}

}  // namespace ventora::requests::json
