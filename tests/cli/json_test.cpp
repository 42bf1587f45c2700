#include "request/json.h"
#include "request/request.h"
#include "json_tree.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

using namespace ventora::requests::json;

namespace {

struct named_text {
    const char* name;
    std::string text;
};
void PrintTo(const named_text& c, std::ostream* os) { *os << c.name; }
std::string name_of(const testing::TestParamInfo<named_text>& info) { return info.param.name; }

std::string problem(std::string_view text) { return find_problem(text); }

// Every JSON number literal is one, whatever its magnitude: the box's number rules decide what it
// means afterwards.
class JsonNumberLiteral : public testing::TestWithParam<named_text> {};
TEST_P(JsonNumberLiteral, IsANumberLiteralAndValidJson) {
    EXPECT_TRUE(is_number_literal(GetParam().text));
    EXPECT_EQ(problem(GetParam().text), "");
}
INSTANTIATE_TEST_SUITE_P(Json, JsonNumberLiteral,
                         testing::Values(named_text{"Zero", "0"}, named_text{"NegativeZero", "-0"},
                                         named_text{"Integer", "1962"},
                                         named_text{"Fraction", "0.00283"},
                                         named_text{"Exponent", "1.5e+10"},
                                         named_text{"CapitalExponent", "1E400"},
                                         named_text{"NegativeExponent", "-2.5E-3"},
                                         named_text{"LongDigits", "10533.205962449312"}),
                         name_of);

struct escape_case {
    const char* name;
    std::string json;
    std::string decoded;
};
void PrintTo(const escape_case& c, std::ostream* os) { *os << c.name; }

// Strings are decoded by the request reader: a route's project name carries the text through.
class JsonStringEscape : public testing::TestWithParam<escape_case> {};
TEST_P(JsonStringEscape, Decodes) {
    const auto d = ventora::requests::decode_route_line(R"({"calc":"route","project":{"project":)" +
                                                   GetParam().json +
                                                   R"(},"relief":{"case":"typed_rate"}})");
    EXPECT_EQ(d.error, "");
    EXPECT_EQ(d.project.project, GetParam().decoded);
}
INSTANTIATE_TEST_SUITE_P(
    Json, JsonStringEscape,
    testing::Values(escape_case{"Quote", R"("a\"b")", "a\"b"},
                    escape_case{"Backslash", R"("a\\b")", "a\\b"},
                    escape_case{"Slash", R"("a\/b")", "a/b"},
                    escape_case{"ControlLetters", R"("\b\f\n\r\t")", "\b\f\n\r\t"},
                    escape_case{"AsciiByCode", R"("8\u00300")", "800"},
                    escape_case{"NulByCode", R"("1\u0000")", std::string("1\0", 2)},
                    escape_case{"TwoByteByCode", R"("\u00e9")", "\xC3\xA9"},
                    escape_case{"ThreeByteByCode", R"("\u4E2D")", "\xE4\xB8\xAD"},
                    escape_case{"SurrogatePair", R"("\ud83d\ude00")", "\xF0\x9F\x98\x80"},
                    escape_case{"HighestCodePoint", R"("\uDBFF\uDFFF")", "\xF4\x8F\xBF\xBF"},
                    escape_case{"RawUtf8", "\"压力\"", "压力"},
                    escape_case{"FullWidthDigits", "\"１２．５\"", "１２．５"}),
    [](const auto& info) { return std::string(info.param.name); });

struct bad_case {
    const char* name;
    std::string text;
    const char* error;  // the exact message
};
void PrintTo(const bad_case& c, std::ostream* os) { *os << c.name; }

class JsonRejects : public testing::TestWithParam<bad_case> {};
TEST_P(JsonRejects, WithAMessageNamingThePlace) {
    EXPECT_EQ(problem(GetParam().text), GetParam().error);
    EXPECT_FALSE(ventora::requests::decode_line(GetParam().text).req.has_value());
}
INSTANTIATE_TEST_SUITE_P(
    Json, JsonRejects,
    testing::Values(
        bad_case{"Empty", "", "not valid JSON: expected a value but found the end of the line at byte 1"},
        bad_case{"Word", "nul", "not valid JSON: expected true, false or null at byte 1"},
        bad_case{"Capitalised", "True", "not valid JSON: expected a value but found 'T' at byte 1"},
        bad_case{"LeadingZero", "01", "not valid JSON: a number must not start with a leading zero at byte 2"},
        bad_case{"LonelyMinus", "-", "not valid JSON: expected a digit but found the end of the line at byte 2"},
        bad_case{"PointWithoutDigits", "1.", "not valid JSON: expected a digit after the decimal point but found the end of the line at byte 3"},
        bad_case{"PointFirst", ".5", "not valid JSON: expected a value but found '.' at byte 1"},
        bad_case{"PlusSign", "+1", "not valid JSON: expected a value but found '+' at byte 1"},
        bad_case{"EmptyExponent", "1e+", "not valid JSON: expected a digit in the exponent but found the end of the line at byte 4"},
        bad_case{"NaN", "NaN", "not valid JSON: expected a value but found 'N' at byte 1"},
        bad_case{"Infinity", "-Infinity", "not valid JSON: expected a digit but found 'I' at byte 2"},
        bad_case{"TrailingCommaInList", "[1,]", "not valid JSON: expected a value but found ']' at byte 4"},
        bad_case{"TrailingCommaInObject", R"({"a":1,})", "not valid JSON: expected a key in double quotes but found '}' at byte 8"},
        bad_case{"MissingColon", R"({"a" 1})", "not valid JSON: expected ':' but found '1' at byte 6"},
        bad_case{"MissingComma", "[1 2]", "not valid JSON: expected ',' or ']' but found '2' at byte 4"},
        bad_case{"UnclosedObject", R"({"a":1)", "not valid JSON: expected ',' or '}' but found the end of the line at byte 7"},
        bad_case{"SingleQuotes", "{'a':1}", "not valid JSON: expected a key in double quotes but found a single quote (JSON takes double quotes) at byte 2"},
        bad_case{"UnquotedKey", "{a:1}", "not valid JSON: expected a key in double quotes but found 'a' at byte 2"},
        bad_case{"TwoValues", "{} {}", "not valid JSON: unexpected text after the JSON value at byte 4"},
        bad_case{"Comment", "{} // note", "not valid JSON: unexpected text after the JSON value at byte 4"},
        bad_case{"UnknownEscape", R"("\x41")", "not valid JSON: unknown escape \\'x' at byte 3"},
        bad_case{"ShortUnicodeEscape", R"("\u12")", "not valid JSON: incomplete \\u escape at byte 4"},
        bad_case{"BadHexDigit", R"("\u12G4")", "not valid JSON: bad hexadecimal digit in a \\u escape at byte 4"},
        bad_case{"LoneHighSurrogate", R"("\ud800")", "not valid JSON: a high surrogate not followed by a low one at byte 2"},
        bad_case{"HighSurrogateThenLetter", R"("\ud800\u0041")", "not valid JSON: a high surrogate not followed by a low one at byte 2"},
        bad_case{"LoneLowSurrogate", R"("\udc00")", "not valid JSON: a lone low surrogate in a \\u escape at byte 2"},
        bad_case{"RawTabInString", "\"a\tb\"", "not valid JSON: control character U+0009 inside a string (it must be escaped) at byte 3"},
        bad_case{"RawNulInString", std::string("\"a\0b\"", 5), "not valid JSON: control character U+0000 inside a string (it must be escaped) at byte 3"},
        bad_case{"UnterminatedString", R"({"a":"b)", "not valid JSON: unterminated string at byte 6"},
        bad_case{"DuplicateKey", R"({"a":1,"b":2,"a":3})", "duplicate key \"a\" at byte 14"},
        bad_case{"NestedDuplicateKey", R"({"o":{"x":1,"x":1}})", "duplicate key \"x\" at byte 13"},
        bad_case{"InvalidUtf8", "\"\xFF\"", "invalid UTF-8 at byte 2"},
        bad_case{"ByteOrderMark", "\xEF\xBB\xBF{}", "not valid JSON: expected a value but found a non-ASCII character at byte 1"},
        bad_case{"FullWidthBrace", "\xEF\xBD\x9B}", "not valid JSON: expected a value but found a non-ASCII character at byte 1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JsonProblem, FindsADuplicateAmongManyKeys) {
    // Past 32 members the check changes method; it must still see a duplicate on either side.
    std::string text = "{";
    for (int i = 0; i < 40; ++i) text += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + ",";
    EXPECT_EQ(problem(text + "\"last\":0}"), "");
    EXPECT_EQ(problem(text + "\"k3\":0}"), "duplicate key \"k3\" at byte " + std::to_string(text.size() + 1));
    EXPECT_EQ(problem(text + "\"k39\":0}"), "duplicate key \"k39\" at byte " + std::to_string(text.size() + 1));
}

TEST(JsonProblem, LimitsNesting) {
    const auto nested = [](int depth) {
        return std::string(static_cast<std::size_t>(depth), '[') + std::string(static_cast<std::size_t>(depth), ']');
    };
    EXPECT_EQ(problem(nested(max_depth)), "");
    EXPECT_EQ(problem(nested(max_depth + 1)), "not valid JSON: nesting deeper than 64 levels at byte 65");
    // Far deeper input is refused at the same place, without exhausting the stack.
    EXPECT_EQ(problem(std::string(100000, '[')), "not valid JSON: nesting deeper than 64 levels at byte 65");
    std::string objects;
    for (int i = 0; i < 100; ++i) objects += "{\"a\":";
    EXPECT_NE(problem(objects), "");
}

// An error quotes at most 64 bytes of the line, cut before a character rather than inside it.
TEST(JsonProblem, QuotesAtMost64BytesOfAKey) {
    const std::string long_key(100000, 'k');
    EXPECT_EQ(problem("{\"" + long_key + "\":1,\"" + long_key + "\":2}"),
              "duplicate key \"" + std::string(64, 'k') + "...\" at byte 100007");
    const std::string key64(64, 'k');
    EXPECT_EQ(problem("{\"" + key64 + "\":1,\"" + key64 + "\":2}"),
              "duplicate key \"" + key64 + "\" at byte 71");
    // 63 ASCII bytes, then a 3-byte character across the 64th: the cut comes before it.
    const std::string mixed = std::string(63, 'k') + "压力";
    EXPECT_EQ(problem("{\"" + mixed + "\":1,\"" + mixed + "\":2}"),
              "duplicate key \"" + std::string(63, 'k') + "...\" at byte 76");
}

// No request holds 1024 values; a line with more is refused at the value past the limit, however
// long it goes on, so that nothing reads millions of them.
TEST(JsonProblem, LimitsTheNumberOfValues) {
    const auto list = [](std::size_t numbers) {
        std::string text = "[";
        for (std::size_t i = 0; i < numbers; ++i) text += i ? ",7" : "7";
        return text + "]";
    };
    // The list itself and 1023 numbers: exactly at the limit.
    EXPECT_EQ(problem(list(1023)), "");
    // One more: the 1024th number, at byte 1 + 2 * 1023 + 1.
    EXPECT_EQ(problem(list(1024)), "not a request: more than 1024 values in one line at byte 2048");
    EXPECT_EQ(problem(list(5'000'000)), "not a request: more than 1024 values in one line at byte 2048");
}

struct utf8_case {
    const char* name;
    std::string text;
    std::size_t first_bad;  // npos when valid
};
void PrintTo(const utf8_case& c, std::ostream* os) { *os << c.name; }

class Utf8 : public testing::TestWithParam<utf8_case> {};
TEST_P(Utf8, FindsTheFirstIllFormedSequence) {
    EXPECT_EQ(find_invalid_utf8(GetParam().text), GetParam().first_bad);
}
constexpr auto valid = std::string_view::npos;
INSTANTIATE_TEST_SUITE_P(
    Json, Utf8,
    testing::Values(utf8_case{"Empty", "", valid}, utf8_case{"Ascii", "abc\x7F", valid},
                    utf8_case{"FirstTwoByte", "\xC2\x80", valid},
                    utf8_case{"LastTwoByte", "\xDF\xBF", valid},
                    utf8_case{"FirstThreeByte", "\xE0\xA0\x80", valid},
                    utf8_case{"LastBeforeSurrogates", "\xED\x9F\xBF", valid},
                    utf8_case{"FirstAfterSurrogates", "\xEE\x80\x80", valid},
                    utf8_case{"LastThreeByte", "\xEF\xBF\xBF", valid},
                    utf8_case{"FirstFourByte", "\xF0\x90\x80\x80", valid},
                    utf8_case{"LastCodePoint", "\xF4\x8F\xBF\xBF", valid},
                    utf8_case{"Chinese", "压力容器", valid},
                    utf8_case{"OverlongTwoByte", "a\xC0\x80", 1},
                    utf8_case{"OverlongC1", "a\xC1\xBF", 1},
                    utf8_case{"OverlongThreeByte", "ab\xE0\x9F\xBF", 2},
                    utf8_case{"EncodedSurrogate", "\xED\xA0\x80", 0},
                    utf8_case{"OverlongFourByte", "\xF0\x8F\xBF\xBF", 0},
                    utf8_case{"BeyondLastCodePoint", "\xF4\x90\x80\x80", 0},
                    utf8_case{"F5", "\xF5\x80\x80\x80", 0},
                    utf8_case{"FF", "x\xFF", 1},
                    utf8_case{"LoneContinuation", "\x80", 0},
                    utf8_case{"TruncatedAtEnd", "\xE4\xB8", 0},
                    utf8_case{"TruncatedBeforeAscii", "\xE4\xB8" "a", 0},
                    utf8_case{"BadThirdByte", "\xE4\xB8\xC0", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JsonWrite, EscapesOnlyWhatMustBeEscaped) {
    std::string out;
    write_string(out, "a\"b\\c\n\r\t\b\f\x01\x1F\x7F/压力");
    EXPECT_EQ(out, "\"a\\\"b\\\\c\\n\\r\\t\\b\\f\\u0001\\u001f\x7F/压力\"");
}

// Text is taken eight bytes at a time until a block holds something to escape: an escape in any
// place of a block, in the first block or a later one, and in the tail, is still written.
TEST(JsonWrite, EscapesInEveryPlaceOfALongText) {
    for (std::size_t at = 0; at < 27; ++at) {
        for (const char c : {'"', '\\', '\n', '\x1F'}) {
            std::string text(27, 'a');
            text[at] = c;
            std::string out;
            write_string(out, text);
            const std::string escaped = c == '"' ? "\\\"" : c == '\\' ? "\\\\" : c == '\n' ? "\\n" : "\\u001f";
            std::string expected = "\"";
            expected.append(at, 'a');
            expected += escaped;
            expected.append(26 - at, 'a');
            expected += '"';
            EXPECT_EQ(out, expected) << "at " << at;
        }
    }
    // Bytes from 0x20 up, and UTF-8 (high bit set), need nothing.
    std::string out;
    write_string(out, " !#[]~\x7F压力容器安全阀");
    EXPECT_EQ(out, "\" !#[]~\x7F压力容器安全阀\"");
}

TEST(JsonWrite, StringsReadBack) {
    std::string all_controls;
    for (int c = 0; c < 0x20; ++c) all_controls.push_back(static_cast<char>(c));
    for (const std::string& s : {std::string(), all_controls, std::string("\"\\/"),
                                 std::string("当前计算出的面积(m^2)： "), std::string("\xF0\x9F\x98\x80")}) {
        std::string out;
        write_string(out, s);
        const auto r = ventora::cli::testing_json::parse(out);
        ASSERT_TRUE(r.parsed) << r.error;
        EXPECT_EQ(r.parsed->text, s);
    }
}

struct number_text {
    const char* name;
    double value;
    const char* text;
};
void PrintTo(const number_text& c, std::ostream* os) { *os << c.name; }

class JsonWriteNumber : public testing::TestWithParam<number_text> {};
TEST_P(JsonWriteNumber, IsShortestAndReadsBack) {
    std::string out;
    write_number(out, GetParam().value);
    EXPECT_EQ(out, GetParam().text);
    EXPECT_TRUE(is_number_literal(out));
    EXPECT_EQ(problem(out), "");
    const double back = std::strtod(out.c_str(), nullptr);
    EXPECT_EQ(back, GetParam().value);
    EXPECT_EQ(std::signbit(back), std::signbit(GetParam().value));
}
INSTANTIATE_TEST_SUITE_P(
    Json, JsonWriteNumber,
    testing::Values(
        number_text{"Whole", 1962.0, "1962"}, number_text{"Coefficient", 0.65, "0.65"},
        number_text{"Zero", 0.0, "0"}, number_text{"NegativeZero", -0.0, "-0"},
        number_text{"Negative", -1.0, "-1"},
        // 26569 × ψ, ψ = 0.39644721150398254 in single precision: the full double, not 15 digits.
        number_text{"SubcriticalCapacity", 10533.205962449312, "10533.205962449312"},
        // The single nearest 6.28, widened: 6.280000209808349609375 exactly.
        number_text{"SingleArea", static_cast<double>(6.28F), "6.28000020980835"},
        number_text{"SingleArea31", static_cast<double>(31.4F), "31.399999618530273"},
        number_text{"Large", 1e21, "1e+21"}, number_text{"Small", 1.5e-7, "1.5e-07"},
        number_text{"Largest", DBL_MAX, "1.7976931348623157e+308"},
        number_text{"SmallestNormal", DBL_MIN, "2.2250738585072014e-308"},
        number_text{"SmallestSubnormal", 5e-324, "5e-324"},
        number_text{"LargestSingle", static_cast<double>(FLT_MAX), "3.4028234663852886e+38"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
