#include "json.h"

#include <charconv>
#include <cmath>
#include <string>
#include <unordered_set>

namespace ventora::cli::json {
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

// Recursive descent over one text that is already known to be valid UTF-8.
class parser {
public:
    explicit parser(std::string_view text) : s_(text) {}

    parse_result run() {
        parse_result result;
        value v;
        skip_ws();
        if (!parse_value(v, 0)) {
            result.error = std::move(error_);
            return result;
        }
        skip_ws();
        if (i_ != s_.size()) {
            fail("unexpected text after the JSON value");
            result.error = std::move(error_);
            return result;
        }
        result.parsed = std::move(v);
        return result;
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

    bool parse_value(value& v, int depth) {
        if (i_ >= s_.size()) return fail("expected a value but found the end of the line");
        switch (s_[i_]) {
            case '{': return parse_object(v, depth + 1);
            case '[': return parse_array(v, depth + 1);
            case '"': v.type = kind::string; return parse_string(v.text);
            case 't': v.type = kind::boolean; v.boolean = true; return literal("true");
            case 'f': v.type = kind::boolean; v.boolean = false; return literal("false");
            case 'n': v.type = kind::null; return literal("null");
            default:
                if (s_[i_] == '-' || is_digit(s_[i_])) return parse_number(v);
                return fail("expected a value but found " + found());
        }
    }

    // -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
    bool parse_number(value& v) {
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
        v.type = kind::number;
        v.text.assign(s_.substr(start, i_ - start));
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

    bool parse_string(std::string& out) {
        const std::size_t open = i_;
        ++i_;  // the opening quote
        out.clear();
        for (;;) {
            // Copy the run of plain characters in one go.
            std::size_t run = i_;
            while (run < s_.size()) {
                const auto c = static_cast<unsigned char>(s_[run]);
                if (c == '"' || c == '\\' || c < 0x20) break;
                ++run;
            }
            out.append(s_.data() + i_, run - i_);
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
            switch (e) {
                case '"': out.push_back('"'); break;
                case '\\': out.push_back('\\'); break;
                case '/': out.push_back('/'); break;
                case 'b': out.push_back('\b'); break;
                case 'f': out.push_back('\f'); break;
                case 'n': out.push_back('\n'); break;
                case 'r': out.push_back('\r'); break;
                case 't': out.push_back('\t'); break;
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
                    append_utf8(out, cp);
                    break;
                }
                default:
                    --i_;
                    return fail("unknown escape \\" + found());
            }
        }
    }

    bool parse_array(value& v, int depth) {
        if (depth > max_depth) return fail("nesting deeper than " + std::to_string(max_depth) + " levels");
        v.type = kind::array;
        ++i_;  // '['
        skip_ws();
        if (i_ < s_.size() && s_[i_] == ']') {
            ++i_;
            return true;
        }
        for (;;) {
            skip_ws();
            v.items.emplace_back();
            if (!parse_value(v.items.back(), depth)) return false;
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

    bool parse_object(value& v, int depth) {
        if (depth > max_depth) return fail("nesting deeper than " + std::to_string(max_depth) + " levels");
        v.type = kind::object;
        ++i_;  // '{'
        skip_ws();
        if (i_ < s_.size() && s_[i_] == '}') {
            ++i_;
            return true;
        }
        // Small objects (every request) check for a duplicate by a linear scan; large ones by set.
        constexpr std::size_t linear_limit = 32;
        std::unordered_set<std::string> seen;
        for (;;) {
            skip_ws();
            if (i_ >= s_.size() || s_[i_] != '"')
                return fail("expected a key in double quotes but found " + found());
            const std::size_t key_at = i_;
            std::string key;
            if (!parse_string(key)) return false;
            bool duplicate = false;
            if (v.keys.size() < linear_limit) {
                for (const auto& k : v.keys) duplicate = duplicate || k == key;
            } else {
                if (seen.empty()) seen.insert(v.keys.begin(), v.keys.end());
                duplicate = !seen.insert(key).second;
            }
            if (duplicate) {
                error_ = "duplicate key ";
                write_string(error_, key);
                error_ += " at byte " + std::to_string(key_at + 1);
                return false;
            }
            skip_ws();
            if (i_ >= s_.size() || s_[i_] != ':') return fail("expected ':' but found " + found());
            ++i_;
            skip_ws();
            v.keys.push_back(std::move(key));
            v.items.emplace_back();
            if (!parse_value(v.items.back(), depth)) return false;
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
    std::string error_;
};

}  // namespace

const value* value::find(std::string_view key) const {
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (keys[i] == key) return &items[i];
    return nullptr;
}

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

parse_result parse(std::string_view text) {
    if (const auto bad = find_invalid_utf8(text); bad != std::string_view::npos) {
        parse_result r;
        r.error = "invalid UTF-8 at byte " + std::to_string(bad + 1);
        return r;
    }
    return parser(text).run();
}

void write_string(std::string& out, std::string_view s) {
    static const char hex[] = "0123456789abcdef";
    out.push_back('"');
    std::size_t run = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
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

}  // namespace ventora::cli::json
