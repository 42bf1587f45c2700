// Arbitrary bytes through ventora-calc's line handling: exactly one response per input line, each
// a JSON object in valid UTF-8 that carries its line number and is either a response of one of
// the calculations or an error about the line (never an internal error: a calculation that gave a
// number that is not finite); and the output must not depend on how the input was cut into
// reads. With --steps, the same lines give the same responses with the accounts added: the same
// lines in error, each calculation's response with its "inputs" and "steps".
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "batch.h"
#include "request/json.h"
#include "json_tree.h"
#include "fuzz_check.h"

namespace {

using namespace ventora::cli;

std::size_t count_lines(std::string_view input) {
    std::size_t lines = 0;
    for (char c : input) lines += c == '\n';
    if (!input.empty() && input.back() != '\n') ++lines;
    return lines;
}

// One response line; true when it is an error response.
bool check_response(std::string_view text, std::size_t number, bool steps) {
    FUZZ_CHECK(json::find_invalid_utf8(text) == std::string_view::npos);
    const testing_json::parse_result parsed = testing_json::parse(text);
    FUZZ_CHECK(parsed.parsed.has_value());
    const testing_json::value& v = *parsed.parsed;
    FUZZ_CHECK(v.type == json::kind::object);
    FUZZ_CHECK(v.keys.size() >= 2 && v.keys[0] == "line");
    FUZZ_CHECK(v.items[0].type == json::kind::number && v.items[0].text == std::to_string(number));
    if (v.keys[1] == "error") {
        FUZZ_CHECK(v.keys.size() == 2 && v.items[1].type == json::kind::string);
        FUZZ_CHECK(!v.items[1].text.empty());
        FUZZ_CHECK(v.items[1].text.rfind("internal error", 0) != 0);
        return true;
    }
    FUZZ_CHECK(v.keys[1] == "calc" && v.items[1].type == json::kind::string);
    const std::string& calc = v.items[1].text;
    if (calc == "properties") {
        const testing_json::value* id = v.find("id");
        const testing_json::value* warnings = v.find("warnings");
        const testing_json::value* sources = v.find("sources");
        FUZZ_CHECK(id && id->type == json::kind::string && !id->text.empty());
        FUZZ_CHECK(warnings && warnings->type == json::kind::array);
        FUZZ_CHECK(sources && sources->type == json::kind::object && !sources->items.empty());
        return false;
    }
    if (calc == "route") {
        const testing_json::value* relief = v.find("relief");
        const testing_json::value* device = v.find("device");
        // The optional relief-system part: each check with its outcome, never a figure on "pass"
        // without its check having been made.
        const testing_json::value* system = v.find("system");
        FUZZ_CHECK(v.keys.size() == (system ? 5u : 4u) && relief && device);
        FUZZ_CHECK(relief->type == json::kind::object);
        FUZZ_CHECK(device->type == json::kind::object || device->type == json::kind::null);
        if (steps) {
            FUZZ_CHECK(relief->find("inputs") && relief->find("steps"));
            if (device->type == json::kind::object) FUZZ_CHECK(device->find("inputs") && device->find("steps"));
        }
        if (system) {
            FUZZ_CHECK(system->type == json::kind::object || system->type == json::kind::null);
            if (system->type == json::kind::object) {
                FUZZ_CHECK(system->find("valves"));
                for (const auto& check : system->items) {
                    const testing_json::value* outcome = check.find("outcome");
                    const testing_json::value* missing = check.find("missing");
                    FUZZ_CHECK(outcome && outcome->type == json::kind::string);
                    FUZZ_CHECK(outcome->text == "pass" || outcome->text == "fail" ||
                               outcome->text == "not_made");
                    FUZZ_CHECK(missing && missing->type == json::kind::array);
                    if (!missing->items.empty()) FUZZ_CHECK(outcome->text == "not_made");
                    if (steps) FUZZ_CHECK(check.find("inputs") && check.find("steps"));
                }
            }
        }
        return false;
    }
    FUZZ_CHECK(calc == "relief" || calc == "valve" || calc == "disc");
    const testing_json::value* status = v.find("status");
    FUZZ_CHECK(status && status->type == json::kind::string);
    const testing_json::value* messages = v.find("messages");
    FUZZ_CHECK(messages && messages->type == json::kind::array && !messages->items.empty());
    for (const auto& m : messages->items) FUZZ_CHECK(m.type == json::kind::string && !m.text.empty());
    if (steps) {
        const testing_json::value* inputs = v.find("inputs");
        const testing_json::value* list = v.find("steps");
        FUZZ_CHECK(inputs && inputs->type == json::kind::array && list && list->type == json::kind::array);
    }
    for (std::size_t i = 2; i < v.items.size(); ++i) {
        const testing_json::value& item = v.items[i];
        if (item.type != json::kind::number) continue;
        // Written shortest: reads back to a finite double.
        const double d = std::strtod(item.text.c_str(), nullptr);
        FUZZ_CHECK(std::isfinite(d));
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    batch whole;
    whole.feed(input);
    whole.end_source();
    const std::string& out = whole.output();

    // Cut the same input into pieces of a size the input itself chooses.
    batch pieces;
    const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 17;
    for (std::size_t i = 0; i < size; i += piece) pieces.feed(input.substr(i, piece));
    pieces.end_source();
    FUZZ_CHECK(pieces.output() == out);
    FUZZ_CHECK(pieces.any_error() == whole.any_error());

    const std::size_t expected = count_lines(input);
    FUZZ_CHECK(whole.lines() == expected);
    FUZZ_CHECK(out.empty() || out.back() == '\n');
    std::size_t answered = 0;
    bool any_error = false;
    for (std::size_t start = 0; start < out.size();) {
        const std::size_t nl = out.find('\n', start);
        FUZZ_CHECK(nl != std::string::npos);
        any_error = check_response(std::string_view(out).substr(start, nl - start), ++answered, false) || any_error;
        start = nl + 1;
    }
    FUZZ_CHECK(answered == expected);
    FUZZ_CHECK(any_error == whole.any_error());

    // With the accounts: one response per line again, in error exactly where the plain ones are.
    batch with_steps(options{.steps = true});
    with_steps.feed(input);
    with_steps.end_source();
    const std::string& long_out = with_steps.output();
    FUZZ_CHECK(with_steps.any_error() == whole.any_error());
    std::size_t plain_start = 0;
    answered = 0;
    for (std::size_t start = 0; start < long_out.size();) {
        const std::size_t nl = long_out.find('\n', start);
        FUZZ_CHECK(nl != std::string::npos);
        const bool error = check_response(std::string_view(long_out).substr(start, nl - start), ++answered, true);
        const std::size_t plain_nl = out.find('\n', plain_start);
        FUZZ_CHECK(plain_nl != std::string::npos);
        const std::string_view plain = std::string_view(out).substr(plain_start, plain_nl - plain_start);
        // An error line reads the same either way. A plain calculation's answer only gains members
        // at its end: without its closing brace, the plain answer begins the long one.
        const std::string_view answer = std::string_view(long_out).substr(start, nl - start);
        if (error) {
            FUZZ_CHECK(plain == answer);
        } else if (plain.find(",\"calc\":\"route\"") == std::string_view::npos) {
            FUZZ_CHECK(!plain.empty() && answer.substr(0, plain.size() - 1) == plain.substr(0, plain.size() - 1));
        }
        start = nl + 1;
        plain_start = plain_nl + 1;
    }
    FUZZ_CHECK(answered == expected);
    return 0;
}
