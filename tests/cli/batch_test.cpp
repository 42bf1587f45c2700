#include "batch.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "request/json.h"
#include "json_tree.h"

using namespace ventora::cli;

namespace {

// Reads a response back: it must be exactly one JSON object.
testing_json::value read_response(const std::string& text) {
    const testing_json::parse_result r = testing_json::parse(text);
    EXPECT_TRUE(r.parsed) << text << ": " << r.error;
    if (!r.parsed) return {};
    EXPECT_EQ(r.parsed->type, json::kind::object) << text;
    return *r.parsed;
}

std::vector<std::string> keys_of(const testing_json::value& v) { return v.keys; }

std::vector<std::string> messages_of(const testing_json::value& v) {
    std::vector<std::string> out;
    const testing_json::value* m = v.find("messages");
    if (!m) return out;
    for (const auto& item : m->items) out.push_back(item.text);
    return out;
}

// A number in a response, as the double it reads back to; NAN when null or absent.
double number_at(const testing_json::value& v, const char* key) {
    const testing_json::value* n = v.find(key);
    if (!n || n->type != json::kind::number) return std::nan("");
    return std::strtod(n->text.c_str(), nullptr);
}
bool is_null(const testing_json::value& v, const char* key) {
    const testing_json::value* n = v.find(key);
    return n && n->type == json::kind::null;
}

const std::string rate = "当前计算出的安全泄放量(kg/h)： ";
const std::string area = "当前计算出的面积(m^2)： ";
const std::string valve_area = "当前计算出的安全阀最小排气截面积(mm^2)： ";
const std::string capacity = "当前计算出的安全阀排放能力(kg/h)： ";
const std::string pass = "安全阀排放能力校验合格！";
const std::string fail = "警告！安全阀排放能力小于压力容器安全泄放量！请重新选择安全阀！";
const std::string disc_area = "当前计算出的爆破片所需的最小排放面积(mm^2)： ";

struct relief_case {
    const char* name;
    std::string line;
    const char* status;
    std::vector<std::string> messages;
    double area;  // NAN: no "area" key (not liquefied gas)
    double ws;    // NAN: null
    double stored;
};
void PrintTo(const relief_case& c, std::ostream* os) { *os << c.name; }

class ReliefLine : public testing::TestWithParam<relief_case> {};
TEST_P(ReliefLine, AnswersLikeTheWindow) {
    const auto& c = GetParam();
    std::string out;
    const bool refused = std::string(c.status) == "refused";
    EXPECT_TRUE(answer_line(c.line, 7, out));
    const testing_json::value v = read_response(out);
    std::vector<std::string> keys = {"line", "calc", "status", "messages"};
    if (!std::isnan(c.area) || c.line.find("liquefied_gas") != std::string::npos) keys.push_back("area");
    keys.insert(keys.end(), {"ws", "stored"});
    EXPECT_EQ(keys_of(v), keys);
    EXPECT_EQ(number_at(v, "line"), 7.0);
    EXPECT_EQ(v.find("calc")->text, "relief");
    EXPECT_EQ(v.find("status")->text, c.status);
    EXPECT_EQ(messages_of(v), c.messages);
    if (!std::isnan(c.area)) {
        EXPECT_EQ(number_at(v, "area"), c.area);
    }
    if (refused) {
        EXPECT_TRUE(is_null(v, "ws"));
        EXPECT_TRUE(is_null(v, "stored"));
        if (v.find("area")) {
            EXPECT_TRUE(is_null(v, "area"));
        }
    } else {
        EXPECT_EQ(number_at(v, "ws"), c.ws);
        EXPECT_EQ(number_at(v, "stored"), c.stored);
    }
}
const double none = std::nan("");
INSTANTIATE_TEST_SUITE_P(
    Worked, ReliefLine,
    testing::Values(
        relief_case{"GasStorageTank",
                    R"({"calc":"relief","case":"compressed_gas","compressed_kind":"gas_storage_tank","rho":10,"d":100,"v":20})",
                    "ok", {rate + "5660"}, none, 5660, 5660},
        relief_case{"ProductionCapacityShownAsTypedStoredWhole",
                    R"({"calc":"relief","case":"compressed_gas","compressed_kind":"production_capacity","G":"1500.7"})",
                    "ok", {rate + "1500.7"}, none, 1500.7, 1500},
        relief_case{"StorageTankWithoutVelocity",
                    R"({"calc":"relief","case":"compressed_gas","compressed_kind":"gas_storage_tank","rho":10,"d":100})",
                    "refused", {"参数输入错误!请重新输入"}, none, none, none},
        // A = 1.57 × 2 × 2 = 6.28 in single precision, W_s = Int(2.55e5 × 1 × 6.28^0.82 / 300).
        relief_case{"SphericalAboveGround",
                    R"({"calc":"relief","case":"liquefied_gas","fire_exposure":"fire_exposed","insulation":"uninsulated","installation":"above_ground","vessel_form":"spherical","D":2,"q":300})",
                    "ok", {area + "6.28", rate + "3834"}, static_cast<double>(6.28F), 3834, 3834},
        relief_case{"SphericalFireFree",
                    R"({"calc":"relief","case":"liquefied_gas","fire_exposure":"fire_free","insulation":"uninsulated","installation":"above_ground","vessel_form":"spherical","D":2,"q":300})",
                    "ok", {area + "6.28", rate + "1150"}, static_cast<double>(6.28F), 1150, 1150},
        relief_case{"HemisphericalWaterSpray",
                    R"({"calc":"relief","case":"liquefied_gas","fire_exposure":"fire_exposed","insulation":"uninsulated","installation":"water_spray","vessel_form":"hemispherical_heads","D":2,"L":5,"q":300})",
                    "ok", {area + "31.4", rate + "8610"}, static_cast<double>(31.4F), 8610, 8610},
        relief_case{"Elliptical",
                    R"({"calc":"relief","case":"liquefied_gas","fire_exposure":"fire_exposed","insulation":"uninsulated","installation":"above_ground","vessel_form":"elliptical_heads","D":2,"L":5,"q":300})",
                    "ok", {area + "35.168", rate + "15749"}, static_cast<double>(35.168F), 15749, 15749},
        relief_case{"InsulatedNeedsNoInstallation",
                    R"({"calc":"relief","case":"liquefied_gas","fire_exposure":"fire_exposed","insulation":"insulated","vessel_form":"hemispherical_heads","D":2,"L":5,"q":300,"t":50,"lambda":0.2,"delta":0.05})",
                    "ok", {area + "31.4", rate + "352"}, static_cast<double>(31.4F), 352, 352},
        relief_case{"HorizontalWithoutLength",
                    R"({"calc":"relief","case":"liquefied_gas","fire_exposure":"fire_exposed","insulation":"uninsulated","installation":"above_ground","vessel_form":"hemispherical_heads","D":2,"q":300})",
                    "refused", {"容器参数未正确输入!"}, none, none, none},
        relief_case{"InsulatedAt650",
                    R"({"calc":"relief","case":"liquefied_gas","fire_exposure":"fire_exposed","insulation":"insulated","vessel_form":"hemispherical_heads","D":2,"L":5,"q":300,"t":650,"lambda":0.2,"delta":0.05})",
                    "refused", {"相关参数未输入完整!"}, none, none, none},
        relief_case{"TypedRateEmpty", R"({"calc":"relief","case":"typed_rate"})", "refused",
                    {"未正确输入数据"}, none, none, none},
        relief_case{"TypedRate", R"({"calc":"relief","case":"typed_rate","W_t":"800"})", "ok",
                    {rate + "800"}, none, 800, 800}),
    [](const auto& info) { return std::string(info.param.name); });

struct valve_case {
    const char* name;
    std::string line;
    const char* status;
    std::vector<std::string> messages;
    double K, area, capacity;  // NAN: null
    const char* check;          // nullptr: null
};
void PrintTo(const valve_case& c, std::ostream* os) { *os << c.name; }

class ValveLine : public testing::TestWithParam<valve_case> {};
TEST_P(ValveLine, AnswersLikeTheWindow) {
    const auto& c = GetParam();
    std::string out;
    EXPECT_TRUE(answer_line(c.line, 1, out));
    const testing_json::value v = read_response(out);
    EXPECT_EQ(keys_of(v), (std::vector<std::string>{"line", "calc", "status", "messages", "K",
                                                    "area", "capacity", "check"}));
    EXPECT_EQ(v.find("calc")->text, "valve");
    EXPECT_EQ(v.find("status")->text, c.status);
    EXPECT_EQ(messages_of(v), c.messages);
    for (const auto& [key, expected] : {std::pair{"K", c.K}, std::pair{"area", c.area},
                                        std::pair{"capacity", c.capacity}}) {
        if (std::isnan(expected)) {
            EXPECT_TRUE(is_null(v, key)) << key;
        } else {
            EXPECT_EQ(number_at(v, key), expected) << key;
        }
    }
    if (c.check) {
        EXPECT_EQ(v.find("check")->text, c.check);
    } else {
        EXPECT_TRUE(is_null(v, "check"));
    }
}
#define GAS R"("C":356,"Ps":1,"M":29,"T":300,"Z":1,"k":1.4)"
INSTANTIATE_TEST_SUITE_P(
    Worked, ValveLine,
    testing::Values(
        valve_case{"GasCritical", R"({"calc":"valve","valve_type":"full_lift","medium":"gas","d1":50,)" GAS R"(,"Po":0.1})",
                   "checked", {valve_area + "1962", capacity + "12873", pass}, 0.65, 1962, 12873, "pass"},
        // W = 26569 × ψ with ψ = 0.39644721150398254 (single): the response keeps every digit.
        valve_case{"GasSubcritical", R"({"calc":"valve","valve_type":"full_lift","medium":"gas","d1":50,)" GAS R"(,"Po":0.8})",
                   "checked", {valve_area + "1962", capacity + "10533.2059624493", pass}, 0.65, 1962,
                   26569.0 * static_cast<double>(0.39644721150398254F), "pass"},
        valve_case{"SteamHighPressure", R"({"calc":"valve","valve_type":"full_lift","medium":"saturated_steam","d1":50,"Ps":12})",
                   "checked", {valve_area + "1962", capacity + "84563.3769465515", pass}, 0.65, 1962,
                   83423.0 * ((190.6 * (1.03 * 12 + 0.1) - 6895) / (229.2 * (1.03 * 12 + 0.1) - 7315)), "pass"},
        valve_case{"Liquid", R"({"calc":"valve","valve_type":"full_lift","medium":"liquid","d1":50,"rho":1000,"Ps":1,"Po":0.1})",
                   "checked", {valve_area + "1962", capacity + "225306", pass}, 0.65, 1962, 225306, "pass"},
        valve_case{"EqualToVesselRatePasses", R"({"calc":"valve","valve_type":"full_lift","medium":"gas","d1":50,)" GAS R"(,"Po":0.1,"vessel_ws":12873})",
                   "checked", {valve_area + "1962", capacity + "12873", pass}, 0.65, 1962, 12873, "pass"},
        valve_case{"BelowVesselRateFails", R"({"calc":"valve","valve_type":"full_lift","medium":"gas","d1":50,)" GAS R"(,"Po":0.1,"vessel_ws":12874})",
                   "checked", {valve_area + "1962", capacity + "12873", fail}, 0.65, 1962, 12873, "fail"},
        valve_case{"FlatFace", R"({"calc":"valve","valve_type":"micro_lift_ring","seal_face":"flat","medium":"saturated_steam","D":60,"d1":50,"Ps":1})",
                   "checked", {valve_area + "376", capacity + "1003", pass}, 0.45, 376, 1003, "pass"},
        valve_case{"NoValveType", R"({"calc":"valve","medium":"gas"})", "no_valve_type",
                   {"没有选择安全阀的形式!请重新选择!"}, none, none, none, nullptr},
        valve_case{"NoMedium", R"({"calc":"valve","valve_type":"full_lift"})", "no_medium",
                   {"没有选择介质类型!请重新选择!"}, none, none, none, nullptr},
        valve_case{"NoSealFace", R"({"calc":"valve","valve_type":"micro_lift_plain","medium":"gas"})", "no_seal_face",
                   {"没有选择安全阀密封面的形式!请进行选择!"}, 0.3, none, none, nullptr},
        valve_case{"AreaZero", R"({"calc":"valve","valve_type":"full_lift","medium":"gas"})", "bad_area",
                   {valve_area + "0", "参数输入不正确！请重新输入！"}, 0.65, 0, none, nullptr},
        // No capacity computed is no proof of capacity, even against a rate of 0.
        valve_case{"NotesTab", R"({"calc":"valve","tab":"notes"})", "checked", {capacity, fail},
                   none, none, none, "fail"}),
    [](const auto& info) { return std::string(info.param.name); });
#undef GAS

struct disc_case {
    const char* name;
    std::string line;
    const char* status;
    std::string message;
    double area;  // NAN: null
};
void PrintTo(const disc_case& c, std::ostream* os) { *os << c.name; }

class DiscLine : public testing::TestWithParam<disc_case> {};
TEST_P(DiscLine, AnswersLikeTheWindow) {
    const auto& c = GetParam();
    std::string out;
    EXPECT_TRUE(answer_line(c.line, 1, out));
    const testing_json::value v = read_response(out);
    EXPECT_EQ(keys_of(v), (std::vector<std::string>{"line", "calc", "status", "messages", "area"}));
    EXPECT_EQ(v.find("status")->text, c.status);
    EXPECT_EQ(messages_of(v), std::vector<std::string>{c.message});
    if (std::isnan(c.area)) {
        EXPECT_TRUE(is_null(v, "area"));
    } else {
        EXPECT_EQ(number_at(v, "area"), c.area);
    }
}
#define GAS R"("M":29,"T":300,"Z":1,"vessel_ws":10000)"
INSTANTIATE_TEST_SUITE_P(
    Worked, DiscLine,
    testing::Values(
        disc_case{"GasCritical", R"({"calc":"disc","medium":"gas","nozzle":"straight_pipe","k":1.4,"p_b":1,"p_o":0.1,)" GAS "}",
                  "area_ready", disc_area + "1748", 1748},
        disc_case{"GasSubcritical", R"({"calc":"disc","medium":"gas","nozzle":"straight_pipe","k":1.4,"p_b":1,"p_o":0.8,)" GAS "}",
                  "area_ready", disc_area + "2136", 2136},
        disc_case{"LiquidWithoutNozzle", R"({"calc":"disc","medium":"liquid","p_b":1,"p_o":0.1,"rho":1000,"vessel_ws":10000})",
                  "area_ready", disc_area + "105", 105},
        disc_case{"SteamAt10", R"({"calc":"disc","medium":"saturated_steam","nozzle":"bell_mouth","p_b":10,"vessel_ws":10000})",
                  "area_ready", disc_area + "238", 238},
        disc_case{"SteamJustAbove10", R"({"calc":"disc","medium":"saturated_steam","nozzle":"bell_mouth","p_b":10.0001,"vessel_ws":10000})",
                  "area_ready", disc_area + "239", 239},
        disc_case{"NoMedium", R"({"calc":"disc"})", "no_medium", "没有选择计算类型!请重新选择!", none},
        disc_case{"NoNozzle", R"({"calc":"disc","medium":"gas"})", "no_nozzle", "没有选择接管类型!请重新选择!", none},
        disc_case{"KOfOne", R"({"calc":"disc","medium":"gas","nozzle":"straight_pipe","k":1,"p_b":1,"p_o":0.1,)" GAS "}",
                  "bad_k", "气体绝热系数错误!请重新选择!", none},
        disc_case{"OutletAtBurstPressure", R"({"calc":"disc","medium":"gas","nozzle":"straight_pipe","k":1.4,"p_b":1,"p_o":1,)" GAS "}",
                  "bad_input", "输入参数错误!请重新选择!", none}),
    [](const auto& info) { return std::string(info.param.name); });
#undef GAS

TEST(AnswerLine, RespondsToABadLineWithAnErrorObject) {
    std::string out;
    EXPECT_FALSE(answer_line(R"({"calc":"disc","k":null})", 42, out));
    EXPECT_EQ(out, R"({"line":42,"error":"field \"k\" must be a number or a string, not null"})");
}

TEST(AnswerLine, AppendsWithoutTouchingWhatIsThere) {
    std::string out = "before\n";
    EXPECT_TRUE(answer_line(R"({"calc":"disc"})", 1, out));
    EXPECT_EQ(out.substr(0, 7), "before\n");
    EXPECT_EQ(out.find('\n', 7), std::string::npos);
}

struct blank_case {
    const char* name;
    std::string line;
};
void PrintTo(const blank_case& c, std::ostream* os) { *os << c.name; }
class BlankLine : public testing::TestWithParam<blank_case> {};
TEST_P(BlankLine, IsAnErrorLine) {
    std::string out;
    EXPECT_FALSE(answer_line(GetParam().line, 3, out));
    EXPECT_EQ(out, R"({"line":3,"error":"blank line: expected a JSON object"})");
}
INSTANTIATE_TEST_SUITE_P(Lines, BlankLine,
                         testing::Values(blank_case{"Empty", ""}, blank_case{"Blanks", "   "},
                                         blank_case{"Tabs", "\t\t"}, blank_case{"CarriageReturn", "\r"}),
                         [](const auto& info) { return std::string(info.param.name); });

class InvalidUtf8Line : public testing::TestWithParam<blank_case> {};
TEST_P(InvalidUtf8Line, IsAnErrorLineInValidUtf8) {
    std::string out;
    EXPECT_FALSE(answer_line(GetParam().line, 1, out));
    EXPECT_EQ(json::find_invalid_utf8(out), std::string_view::npos);
    const testing_json::value v = read_response(out);
    ASSERT_NE(v.find("error"), nullptr);
    EXPECT_EQ(v.find("error")->text.rfind("invalid UTF-8 at byte ", 0), 0U) << out;
}
INSTANTIATE_TEST_SUITE_P(
    Lines, InvalidUtf8Line,
    testing::Values(blank_case{"InString", "{\"calc\":\"disc\",\"p_b\":\"\xC0\xB1\"}"},
                    blank_case{"InKey", "{\"\xFF\":1}"},
                    blank_case{"Latin1Text", "{\"calc\":\"disc\",\"p_b\":\"1\xB2\"}"},
                    blank_case{"Gb2312Text", "{\"calc\":\"disc\",\"medium\":\"\xC6\xF8\xCC\xE5\"}"},
                    blank_case{"TruncatedAtEnd", "{\"calc\":\"disc\"}\xE5\x8E"},
                    blank_case{"EncodedSurrogate", "\xED\xA0\x80"}),
    [](const auto& info) { return std::string(info.param.name); });

// Everything a batch answered, split into lines.
std::vector<std::string> lines_of(const std::string& out) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < out.size()) {
        const std::size_t nl = out.find('\n', start);
        EXPECT_NE(nl, std::string::npos) << "the output does not end with a newline";
        if (nl == std::string::npos) break;
        lines.push_back(out.substr(start, nl - start));
        start = nl + 1;
    }
    return lines;
}

const std::string good = R"({"calc":"relief","case":"typed_rate","W_t":800})";
const std::string good_tail =
    R"(,"calc":"relief","status":"ok","messages":["当前计算出的安全泄放量(kg/h)： 800"],"ws":800,"stored":800})";
std::string good_answer(int line) { return "{\"line\":" + std::to_string(line) + good_tail; }
std::string blank_answer(int line) {
    return "{\"line\":" + std::to_string(line) + R"(,"error":"blank line: expected a JSON object"})";
}

std::string run_whole(std::string_view input, bool* any_error = nullptr) {
    batch b;
    b.feed(input);
    b.end_source();
    if (any_error) *any_error = b.any_error();
    return b.output();
}

TEST(Batch, AnswersEveryLineInOrder) {
    bool any_error = true;
    const std::string out = run_whole(good + "\n\n" + good + "\n", &any_error);
    EXPECT_EQ(lines_of(out), (std::vector<std::string>{good_answer(1), blank_answer(2), good_answer(3)}));
    EXPECT_TRUE(any_error);
}

TEST(Batch, NoErrorWhenEveryLineIsARequest) {
    bool any_error = true;
    run_whole(good + "\n" + good, &any_error);
    EXPECT_FALSE(any_error);
}

TEST(Batch, HandlesCrLfAndAFinalLineWithoutNewline) {
    const std::string out = run_whole(good + "\r\n\r\n" + good);
    EXPECT_EQ(lines_of(out), (std::vector<std::string>{good_answer(1), blank_answer(2), good_answer(3)}));
}

TEST(Batch, AFinalCarriageReturnIsDropped) {
    EXPECT_EQ(lines_of(run_whole(good + "\r")), std::vector<std::string>{good_answer(1)});
}

TEST(Batch, EmptyInputHasNoLines) {
    EXPECT_EQ(run_whole(""), "");
}

TEST(Batch, ALoneNewlineIsOneBlankLine) {
    EXPECT_EQ(lines_of(run_whole("\n")), std::vector<std::string>{blank_answer(1)});
}

TEST(Batch, SkipsAByteOrderMarkAtTheStartOfEachSource) {
    batch b;
    b.feed("\xEF\xBB\xBF" + good + "\n\xEF\xBB\xBF" + good + "\n");
    b.end_source();
    b.feed("\xEF\xBB");  // split across two reads
    b.feed("\xBF" + good);
    b.end_source();
    const auto lines = lines_of(b.output());
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[0], good_answer(1));
    EXPECT_EQ(lines[1], R"({"line":2,"error":"not valid JSON: expected a value but found a non-ASCII character at byte 1"})");
    EXPECT_EQ(lines[2], good_answer(3));
}

TEST(Batch, NumbersLinesAcrossSources) {
    batch b;
    b.feed(good);  // no newline: still a line of its own when its source ends
    b.end_source();
    b.end_source();  // an empty source adds nothing
    b.feed(good + "\n");
    b.end_source();
    EXPECT_EQ(b.lines(), 2U);
    EXPECT_EQ(lines_of(b.output()), (std::vector<std::string>{good_answer(1), good_answer(2)}));
}

TEST(Batch, OutputDoesNotDependOnHowTheInputIsCut) {
    const std::string input = "\xEF\xBB\xBF" + good + "\r\n\n{\"calc\":\"disc\",\"medium\":\"气体\"}\n" +
                              "\xE5\x8E\n" + good + "\r\n   \n" + good;
    const std::string whole = run_whole(input);
    ASSERT_EQ(lines_of(whole).size(), 7U);
    for (std::size_t piece : {1U, 2U, 3U, 7U, 64U}) {
        batch b;
        for (std::size_t i = 0; i < input.size(); i += piece) b.feed(std::string_view(input).substr(i, piece));
        b.end_source();
        EXPECT_EQ(b.output(), whole) << "pieces of " << piece;
    }
}

TEST(Batch, TheCallerMayDrainTheOutputBetweenFeeds) {
    batch b;
    std::string drained;
    for (int i = 0; i < 3; ++i) {
        b.feed(good + "\n");
        drained += b.output();
        b.output().clear();
    }
    b.end_source();
    drained += b.output();
    EXPECT_EQ(lines_of(drained), (std::vector<std::string>{good_answer(1), good_answer(2), good_answer(3)}));
}

TEST(Batch, ANulByteInALineIsAnErrorNotAnEnd) {
    const std::string input = std::string("{\"calc\":\0\"disc\"}\n", 17) + good + "\n";
    const auto lines = lines_of(run_whole(input));
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0], R"({"line":1,"error":"not valid JSON: expected a value but found control character U+0000 at byte 9"})");
    EXPECT_EQ(lines[1], good_answer(2));
}

TEST(Help, DescribesTheFormat) {
    const std::string help = help_text;
    for (const char* word : {"Usage: ventora-calc", "\"calc\":\"relief\"", "\"calc\":\"valve\"",
                             "\"calc\":\"disc\"", "vessel_ws", "\"error\"", "Exit status",
                             "--steps", "--list-substances", "\"calc\":\"properties\"", "\"sizing\""})
        EXPECT_NE(help.find(word), std::string::npos) << word;
}

}  // namespace

namespace {

// A route's "system" part: the checks run after the route's own valve with its kept W_s.
const std::string system_route =
    R"({"calc":"route","relief":{"case":"typed_rate","W_t":"6000"},"device":{"calc":"valve",)"
    R"("tab":"input","valve_type":"full_lift","medium":"gas","d1":"25","C":"356","Ps":"1",)"
    R"("M":"29","T":"300","Z":"1","k":"1.4","Po":"0.1"},"system":{)";

TEST(RouteSystem, ChecksTheRoutesValveAgainstItsKeptRate) {
    // d1 = 25: W = 3215 kg/h a valve; two valves 6430 ≥ 6000, with a disc 0.9·6430 = 5787 < 6000.
    std::string out;
    ASSERT_TRUE(answer_line(system_route + R"("n":"2","disc":"yes"}})", 1, out));
    const auto r = read_response(out);
    const auto* s = r.find("system");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->find("valves")->find("outcome")->text, "pass");
    EXPECT_EQ(number_at(*s->find("valves"), "total"), 6430.0);
    EXPECT_EQ(s->find("disc")->find("outcome")->text, "fail");
    EXPECT_FALSE(s->find("inlet"));  // no inlet field given: no inlet check
}

TEST(RouteSystem, ACheckLackingAValueNamesIt) {
    std::string out;
    const std::string l = system_route + R"("inlet_D":"80","inlet_L":"1.5","inlet_K":"2"}})";
    ASSERT_TRUE(answer_line(l, l.size(), 1, out, options{true}));
    const auto r = read_response(out);
    const auto* inlet = r.find("system")->find("inlet");
    ASSERT_TRUE(inlet);
    EXPECT_EQ(inlet->find("outcome")->text, "not_made");
    ASSERT_EQ(inlet->find("missing")->items.size(), 1u);  // μ
    EXPECT_TRUE(inlet->find("steps"));
}

TEST(RouteSystem, NeedsAValveDevice) {
    std::string out;
    EXPECT_FALSE(answer_line(
        R"({"calc":"route","relief":{"case":"typed_rate","W_t":"6000"},"system":{"n":"2"}})", 1, out));
    EXPECT_NE(out.find("safety-valve device"), std::string::npos);
    out.clear();
    EXPECT_FALSE(answer_line(system_route + R"("pipes":"2"}})", 1, out));
    EXPECT_NE(out.find("unknown field \\\"pipes\\\""), std::string::npos);
}

}  // namespace
