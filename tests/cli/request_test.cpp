#include "request/request.h"

#include <cfloat>
#include <cmath>
#include <string>

#include <gtest/gtest.h>

using namespace ventora;
using namespace ventora::requests;

namespace {

decoded_request decode_text(std::string_view line) { return decode_line(line); }

template <class T>
T decode_as(std::string_view line) {
    const decoded_request d = decode_text(line);
    EXPECT_TRUE(d.req.has_value()) << line << ": " << d.error;
    if (!d.req || !std::holds_alternative<T>(*d.req)) {
        ADD_FAILURE() << line << " decoded to another calculation";
        return T{};
    }
    return std::get<T>(*d.req);
}

TEST(ReliefRequest, AbsentBoxesKeepTheirInitialTexts) {
    // G, ρ, d, v and W_t start empty (unset); the seven liquefied-gas boxes start at "0".
    const auto in = decode_as<relief::relief_input>(R"({"calc":"relief","case":"typed_rate"})");
    EXPECT_EQ(in.kind, relief::relief_case::typed_rate);
    for (const number* empty : {&in.G, &in.rho, &in.d, &in.v, &in.W_t}) EXPECT_FALSE(empty->has_value());
    for (const number* zero : {&in.D, &in.L, &in.h, &in.q, &in.lambda, &in.t, &in.delta})
        EXPECT_EQ(*zero, number(0.0));
    EXPECT_FALSE(in.compressed || in.fire || in.insulated || in.installed || in.form);
}

TEST(ReliefRequest, EachNumberFieldReachesItsBox) {
    const auto in = decode_as<relief::relief_input>(
        R"({"calc":"relief","case":"liquefied_gas","G":1,"rho":2,"d":3,"v":4,"D":5,"L":6,"h":7,)"
        R"("q":8,"lambda":9,"t":10,"delta":11,"W_t":12})");
    EXPECT_EQ(in.G, number(1.0));
    EXPECT_EQ(in.rho, number(2.0));
    EXPECT_EQ(in.d, number(3.0));
    EXPECT_EQ(in.v, number(4.0));
    EXPECT_EQ(in.D, number(5.0));
    EXPECT_EQ(in.L, number(6.0));
    EXPECT_EQ(in.h, number(7.0));
    EXPECT_EQ(in.q, number(8.0));
    EXPECT_EQ(in.lambda, number(9.0));
    EXPECT_EQ(in.t, number(10.0));
    EXPECT_EQ(in.delta, number(11.0));
    EXPECT_EQ(in.W_t, number(12.0));
}

struct choice_case {
    const char* name;
    std::string field_and_value;  // "field":"value"
    // Checks the decoded input.
    bool (*holds)(const relief::relief_input&);
};
void PrintTo(const choice_case& c, std::ostream* os) { *os << c.name; }

class ReliefChoice : public testing::TestWithParam<choice_case> {};
TEST_P(ReliefChoice, MapsToItsEnum) {
    const auto in = decode_as<relief::relief_input>(
        R"({"calc":"relief","case":"liquefied_gas",)" + GetParam().field_and_value + "}");
    EXPECT_TRUE(GetParam().holds(in));
}
using relief::relief_input;
INSTANTIATE_TEST_SUITE_P(
    Names, ReliefChoice,
    testing::Values(
        choice_case{"ProductionCapacity", R"("compressed_kind":"production_capacity")",
                    [](const relief_input& in) { return in.compressed == relief::compressed_kind::production_capacity; }},
        choice_case{"GasStorageTank", R"("compressed_kind":"gas_storage_tank")",
                    [](const relief_input& in) { return in.compressed == relief::compressed_kind::gas_storage_tank; }},
        choice_case{"FireExposed", R"("fire_exposure":"fire_exposed")",
                    [](const relief_input& in) { return in.fire == relief::fire_exposure::fire_exposed; }},
        choice_case{"FireFree", R"("fire_exposure":"fire_free")",
                    [](const relief_input& in) { return in.fire == relief::fire_exposure::fire_free; }},
        choice_case{"Uninsulated", R"("insulation":"uninsulated")",
                    [](const relief_input& in) { return in.insulated == relief::insulation::uninsulated; }},
        choice_case{"Insulated", R"("insulation":"insulated")",
                    [](const relief_input& in) { return in.insulated == relief::insulation::insulated; }},
        choice_case{"BelowGround", R"("installation":"below_ground")",
                    [](const relief_input& in) { return in.installed == relief::installation::below_ground; }},
        choice_case{"AboveGround", R"("installation":"above_ground")",
                    [](const relief_input& in) { return in.installed == relief::installation::above_ground; }},
        choice_case{"WaterSpray", R"("installation":"water_spray")",
                    [](const relief_input& in) { return in.installed == relief::installation::water_spray; }},
        choice_case{"Hemispherical", R"("vessel_form":"hemispherical_heads")",
                    [](const relief_input& in) { return in.form == relief::vessel_form::hemispherical_heads; }},
        choice_case{"Elliptical", R"("vessel_form":"elliptical_heads")",
                    [](const relief_input& in) { return in.form == relief::vessel_form::elliptical_heads; }},
        choice_case{"Vertical", R"("vessel_form":"vertical")",
                    [](const relief_input& in) { return in.form == relief::vessel_form::vertical; }},
        choice_case{"Spherical", R"("vessel_form":"spherical")",
                    [](const relief_input& in) { return in.form == relief::vessel_form::spherical; }},
        choice_case{"NullIsNoChoice", R"("vessel_form":null,"fire_exposure":null)",
                    [](const relief_input& in) { return !in.form && !in.fire; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReliefRequest, CaseNamesMapToCases) {
    EXPECT_EQ(decode_as<relief_input>(R"({"calc":"relief","case":"compressed_gas"})").kind,
              relief::relief_case::compressed_gas);
    EXPECT_EQ(decode_as<relief_input>(R"({"calc":"relief","case":"liquefied_gas"})").kind,
              relief::relief_case::liquefied_gas);
    EXPECT_EQ(decode_as<relief_input>(R"({"calc":"relief","case":"typed_rate"})").kind,
              relief::relief_case::typed_rate);
}

struct text_case {
    const char* name;
    std::string json_value;  // as it appears in the request
    number expected;
};
void PrintTo(const text_case& c, std::ostream* os) { *os << c.name; }

// A number field is read by the same rules as the box's text.
class NumberField : public testing::TestWithParam<text_case> {};
TEST_P(NumberField, ReadsLikeTheBox) {
    const auto in = decode_as<relief_input>(R"({"calc":"relief","case":"typed_rate","W_t":)" +
                                            GetParam().json_value + "}");
    ASSERT_EQ(in.W_t.has_value(), GetParam().expected.has_value());
    if (in.W_t) {
        EXPECT_EQ(*in.W_t, *GetParam().expected);
        EXPECT_EQ(std::signbit(*in.W_t), std::signbit(*GetParam().expected));
    }
}
INSTANTIATE_TEST_SUITE_P(
    Texts, NumberField,
    testing::Values(text_case{"JsonNumber", "800", 800.0},
                    text_case{"JsonFraction", "1234.7", 1234.7},
                    text_case{"JsonExponent", "1.5E3", 1500.0},
                    text_case{"JsonNegativeZero", "-0", -0.0},
                    text_case{"JsonBeyondDoubleIsUnset", "1e400", std::nullopt},
                    text_case{"JsonBelowSmallestIsZero", "1e-400", 0.0},
                    text_case{"Text", R"("12.5")", 12.5},
                    text_case{"TextWithBlanks", R"(" 2 ")", 2.0},
                    text_case{"TextWithPlus", R"("+3")", 3.0},
                    text_case{"FullWidthText", R"("１２．５")", 12.5},
                    text_case{"EmptyText", R"("")", std::nullopt},
                    text_case{"LettersText", R"("abc")", std::nullopt},
                    text_case{"DecimalComma", R"("12,5")", std::nullopt},
                    text_case{"TextBeyondDouble", R"("1e400")", std::nullopt},
                    text_case{"EscapedDigits", R"("8\u00300")", 800.0},
                    text_case{"EmbeddedNul", R"("1\u0000")", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ValveRequest, AbsentFieldsAreTheWindowsInitialState) {
    const auto r = decode_as<valve_request>(R"({"calc":"valve"})");
    EXPECT_FALSE(r.input.without_data);
    EXPECT_FALSE(r.input.type || r.input.face || r.input.medium);
    for (const number* zero : {&r.input.d1, &r.input.D, &r.input.h, &r.input.phi, &r.input.capacity.C,
                               &r.input.capacity.Ps, &r.input.capacity.M, &r.input.capacity.T,
                               &r.input.capacity.Z, &r.input.capacity.k, &r.input.capacity.rho,
                               &r.input.capacity.Po})
        EXPECT_EQ(*zero, number(0.0));
    EXPECT_EQ(r.vessel_ws, 0.0F);
}

TEST(ValveRequest, EachFieldReachesItsBox) {
    const auto r = decode_as<valve_request>(
        R"({"calc":"valve","tab":"notes","valve_type":"micro_lift_plain","seal_face":"conical",)"
        R"("medium":"liquid","d1":1,"D":2,"h":3,"phi":4,"C":5,"Ps":6,"M":7,"T":8,"Z":9,"k":10,)"
        R"("rho":11,"Po":12,"vessel_ws":0.1})");
    EXPECT_TRUE(r.input.without_data);
    EXPECT_EQ(r.input.type, valve::valve_type::micro_lift_plain);
    EXPECT_EQ(r.input.face, valve::seal_face::conical);
    EXPECT_EQ(r.input.medium, valve::valve_medium::liquid);
    EXPECT_EQ(r.input.d1, number(1.0));
    EXPECT_EQ(r.input.D, number(2.0));
    EXPECT_EQ(r.input.h, number(3.0));
    EXPECT_EQ(r.input.phi, number(4.0));
    EXPECT_EQ(r.input.capacity.C, number(5.0));
    EXPECT_EQ(r.input.capacity.Ps, number(6.0));
    EXPECT_EQ(r.input.capacity.M, number(7.0));
    EXPECT_EQ(r.input.capacity.T, number(8.0));
    EXPECT_EQ(r.input.capacity.Z, number(9.0));
    EXPECT_EQ(r.input.capacity.k, number(10.0));
    EXPECT_EQ(r.input.capacity.rho, number(11.0));
    EXPECT_EQ(r.input.capacity.Po, number(12.0));
    // vessel_ws is a single-precision value: 0.1 becomes the single nearest 0.1.
    EXPECT_EQ(r.vessel_ws, 0.1F);
}

TEST(ValveRequest, ChoiceNamesMapToEnums) {
    using valve::valve_medium;
    using valve::valve_type;
    const std::pair<const char*, valve_type> types[] = {{"full_lift", valve_type::full_lift},
                                                        {"micro_lift_ring", valve_type::micro_lift_ring},
                                                        {"micro_lift_plain", valve_type::micro_lift_plain}};
    for (const auto& [name, type] : types)
        EXPECT_EQ(decode_as<valve_request>(std::string(R"({"calc":"valve","valve_type":")") + name + "\"}").input.type, type);
    const std::pair<const char*, valve_medium> media[] = {{"gas", valve_medium::gas},
                                                          {"saturated_steam", valve_medium::saturated_steam},
                                                          {"liquid", valve_medium::liquid}};
    for (const auto& [name, medium] : media)
        EXPECT_EQ(decode_as<valve_request>(std::string(R"({"calc":"valve","medium":")") + name + "\"}").input.medium, medium);
    EXPECT_EQ(decode_as<valve_request>(R"({"calc":"valve","seal_face":"flat"})").input.face, valve::seal_face::flat);
    EXPECT_FALSE(decode_as<valve_request>(R"({"calc":"valve","tab":"input"})").input.without_data);
}

TEST(DiscRequest, AbsentFieldsAreTheWindowsInitialState) {
    const auto r = decode_as<disc_request>(R"({"calc":"disc"})");
    EXPECT_FALSE(r.medium || r.nozzle);
    for (const number* zero : {&r.inputs.p_b, &r.inputs.M, &r.inputs.T, &r.inputs.Z, &r.inputs.k,
                               &r.inputs.p_o, &r.inputs.rho})
        EXPECT_EQ(*zero, number(0.0));
    EXPECT_EQ(r.vessel_ws, 0.0F);
}

TEST(DiscRequest, EachFieldReachesItsBox) {
    const auto r = decode_as<disc_request>(
        R"({"calc":"disc","medium":"saturated_steam","nozzle":"flush_pipe","p_b":1,"M":2,"T":3,)"
        R"("Z":4,"k":5,"p_o":6,"rho":7,"vessel_ws":10000})");
    EXPECT_EQ(r.medium, disc::disc_medium::saturated_steam);
    EXPECT_EQ(r.nozzle, disc::nozzle_type::flush_pipe);
    EXPECT_EQ(r.inputs.p_b, number(1.0));
    EXPECT_EQ(r.inputs.M, number(2.0));
    EXPECT_EQ(r.inputs.T, number(3.0));
    EXPECT_EQ(r.inputs.Z, number(4.0));
    EXPECT_EQ(r.inputs.k, number(5.0));
    EXPECT_EQ(r.inputs.p_o, number(6.0));
    EXPECT_EQ(r.inputs.rho, number(7.0));
    EXPECT_EQ(r.vessel_ws, 10000.0F);
    EXPECT_EQ(decode_as<disc_request>(R"({"calc":"disc","medium":"gas","nozzle":"straight_pipe"})").nozzle,
              disc::nozzle_type::straight_pipe);
    EXPECT_EQ(decode_as<disc_request>(R"({"calc":"disc","medium":"liquid","nozzle":"bell_mouth"})").medium,
              disc::disc_medium::liquid);
    EXPECT_EQ(decode_as<disc_request>(R"({"calc":"disc","nozzle":"bell_mouth"})").nozzle,
              disc::nozzle_type::bell_mouth);
}

struct ws_case {
    const char* name;
    const char* literal;
    float expected;
};
void PrintTo(const ws_case& c, std::ostream* os) { *os << c.name; }
class VesselWs : public testing::TestWithParam<ws_case> {};
TEST_P(VesselWs, IsKeptInSinglePrecision) {
    const auto r = decode_as<disc_request>(std::string(R"({"calc":"disc","vessel_ws":)") + GetParam().literal + "}");
    EXPECT_EQ(r.vessel_ws, GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Values, VesselWs,
    testing::Values(ws_case{"Whole", "10000", 10000.0F}, ws_case{"Fraction", "12873.4", 12873.4F},
                    ws_case{"Negative", "-5", -5.0F},
                    ws_case{"LargestSingle", "3.4028235e38", FLT_MAX},
                    // Up to half a unit in the last place above the largest single still rounds to it.
                    ws_case{"JustAboveLargestSingle", "3.40282356e38", FLT_MAX},
                    ws_case{"BelowSmallestSingle", "1e-50", 0.0F}),
    [](const auto& info) { return std::string(info.param.name); });

struct error_case {
    const char* name;
    std::string line;
    std::string error;
};
void PrintTo(const error_case& c, std::ostream* os) { *os << c.name; }

class BadRequest : public testing::TestWithParam<error_case> {};
TEST_P(BadRequest, IsRefusedNamingTheField) {
    const decoded_request d = decode_text(GetParam().line);
    EXPECT_FALSE(d.req.has_value());
    EXPECT_EQ(d.error, GetParam().error);
}
INSTANTIATE_TEST_SUITE_P(
    Lines, BadRequest,
    testing::Values(
        error_case{"NotAnObject", "[1]", "the line is a list, not a JSON object"},
        error_case{"NumberLine", "5", "the line is a number, not a JSON object"},
        error_case{"MissingCalc", "{}", R"(missing field "calc" (expected "relief", "valve", "disc", "route" or "properties"))"},
        error_case{"NullCalc", R"({"calc":null})", R"(field "calc" must be a string, not null (expected "relief", "valve", "disc", "route" or "properties"))"},
        error_case{"UnknownCalc", R"({"calc":"Relief"})", R"(unknown value "Relief" for field "calc" (expected "relief", "valve", "disc", "route" or "properties"))"},
        error_case{"ReliefWithoutCase", R"({"calc":"relief","W_t":800})", R"(relief request without field "case" (expected "compressed_gas", "liquefied_gas" or "typed_rate"))"},
        error_case{"ReliefUnknownCase", R"({"calc":"relief","case":"steam"})", R"(unknown value "steam" for field "case" (expected "compressed_gas", "liquefied_gas" or "typed_rate"))"},
        error_case{"ReliefNullCase", R"({"calc":"relief","case":null})", R"(field "case" must be a string, not null (expected "compressed_gas", "liquefied_gas" or "typed_rate"))"},
        error_case{"MisspeltField", R"({"calc":"relief","case":"typed_rate","Wt":800})", R"(unknown field "Wt" for calc "relief")"},
        error_case{"FieldOfAnotherCalc", R"({"calc":"relief","case":"typed_rate","p_b":1})", R"(unknown field "p_b" for calc "relief")"},
        error_case{"VesselWsInRelief", R"({"calc":"relief","case":"typed_rate","vessel_ws":1})", R"(unknown field "vessel_ws" for calc "relief")"},
        error_case{"WrongCaseOfFieldName", R"({"calc":"disc","P_b":1})", R"(unknown field "P_b" for calc "disc")"},
        error_case{"ValveFieldInDisc", R"({"calc":"disc","d1":1})", R"(unknown field "d1" for calc "disc")"},
        error_case{"TabInDisc", R"({"calc":"disc","tab":"input"})", R"(unknown field "tab" for calc "disc")"},
        error_case{"LongUnknownFieldIsCut", R"({"calc":"disc",")" + std::string(100, 'x') + R"(":1})",
                   "unknown field \"" + std::string(64, 'x') + "...\" for calc \"disc\""},
        error_case{"NullNumber", R"({"calc":"valve","d1":null})", R"(field "d1" must be a number or a string, not null)"},
        error_case{"BooleanNumber", R"({"calc":"valve","Ps":true})", R"(field "Ps" must be a number or a string, not a boolean)"},
        error_case{"ListNumber", R"({"calc":"disc","p_b":[1]})", R"(field "p_b" must be a number or a string, not a list)"},
        error_case{"ObjectNumber", R"({"calc":"disc","rho":{}})", R"(field "rho" must be a number or a string, not an object)"},
        error_case{"UnknownChoice", R"({"calc":"valve","seal_face":"round"})", R"(unknown value "round" for field "seal_face" (expected "flat" or "conical"))"},
        error_case{"ChoiceOfAnotherCalc", R"({"calc":"valve","medium":"saturated steam"})", R"(unknown value "saturated steam" for field "medium" (expected "gas", "saturated_steam" or "liquid"))"},
        error_case{"ChoiceAsNumber", R"({"calc":"disc","nozzle":1})", R"(field "nozzle" must be a string or null, not a number (expected "straight_pipe", "flush_pipe" or "bell_mouth"))"},
        error_case{"ChoiceAsBoolean", R"({"calc":"relief","case":"liquefied_gas","insulation":true})", R"(field "insulation" must be a string or null, not a boolean (expected "uninsulated" or "insulated"))"},
        error_case{"UnknownTab", R"({"calc":"valve","tab":"说明"})", R"(unknown value "说明" for field "tab" (expected "input" or "notes"))"},
        error_case{"NullTab", R"({"calc":"valve","tab":null})", R"(field "tab" must be a string, not null (expected "input" or "notes"))"},
        error_case{"VesselWsAsText", R"({"calc":"valve","vessel_ws":"10000"})", R"(field "vessel_ws" must be a JSON number, not a string)"},
        error_case{"VesselWsNull", R"({"calc":"disc","vessel_ws":null})", R"(field "vessel_ws" must be a JSON number, not null)"},
        error_case{"VesselWsBeyondDouble", R"({"calc":"disc","vessel_ws":1e400})", R"(field "vessel_ws" (1e400) is beyond the single-precision range)"},
        error_case{"PropertiesWithoutSubstance", R"({"calc":"properties","T":300})", R"(properties request without field "substance" (ventora-calc --list-substances lists them))"},
        error_case{"PropertiesUnknownSubstance", R"({"calc":"properties","substance":"steam"})", R"(unknown substance "steam" (ventora-calc --list-substances lists them))"},
        error_case{"PropertiesSharedFormula", R"({"calc":"properties","substance":"C4H10"})", R"(unknown substance "C4H10" (ventora-calc --list-substances lists them))"},
        error_case{"PropertiesSubstanceAsNumber", R"({"calc":"properties","substance":7732})", R"(field "substance" must be a string, not a number)"},
        error_case{"PropertiesTemperatureAsText", R"({"calc":"properties","substance":"water","T":"300"})", R"(field "T" must be a JSON number or null, not a string)"},
        error_case{"PropertiesPressureBeyondDouble", R"({"calc":"properties","substance":"water","P":1e400})", R"(field "P" (1e400) is beyond the double range)"},
        error_case{"PropertiesBoxFieldOfValve", R"({"calc":"properties","substance":"water","Ps":1})", R"(unknown field "Ps" for calc "properties")"},
        error_case{"VesselWsBeyondSingle", R"({"calc":"disc","vessel_ws":-3.5e38})", R"(field "vessel_ws" (-3.5e38) is beyond the single-precision range)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BadRequest, ReportsTheFirstBadFieldInOrder) {
    const decoded_request d = decode_text(R"({"calc":"disc","p_b":null,"x":1})");
    EXPECT_EQ(d.error, R"(field "p_b" must be a number or a string, not null)");
    const decoded_request e = decode_text(R"({"x":1,"calc":"disc","p_b":null})");
    EXPECT_EQ(e.error, R"(unknown field "x" for calc "disc")");
}

}  // namespace

namespace {

// The route line, as ventora-report reads it: the title block into project_info, the relief's
// fields into route_input.relief, and the device chosen by its calc.
TEST(DecodeRouteLine, FillsTheTitleBlockReliefAndDevice) {
    const decoded_route d = decode_route_line(
        R"({"calc":"route","format":"ventora-case","version":1,)"
        R"("project":{"project":"储罐工程","equipment":"氮气储罐","tag":"V-101","drawing":"D-7",)"
        R"("designer":"张工","design_date":"2026-12-07","checker":"李工","check_date":"2026-12-08",)"
        R"("approver":"王工","approve_date":"2026-12-09"},)"
        R"("media":{"relief":"propane","device":"nitrogen"},)"
        R"("relief":{"case":"compressed_gas","compressed_kind":"gas_storage_tank","rho":10,"d":100,"v":"20"},)"
        R"("device":{"calc":"valve","valve_type":"full_lift","medium":"gas","d1":50,"Po":"0.1"}})");
    ASSERT_EQ(d.error, "");
    // The windows' media, each in its place, for the book's sources.
    EXPECT_EQ(d.relief_medium, "propane");
    EXPECT_EQ(d.device_medium, "nitrogen");
    EXPECT_EQ(d.project.project, "储罐工程");
    EXPECT_EQ(d.project.equipment, "氮气储罐");
    EXPECT_EQ(d.project.tag, "V-101");
    EXPECT_EQ(d.project.drawing, "D-7");
    EXPECT_EQ(d.project.designer, "张工");
    EXPECT_EQ(d.project.design_date, "2026-12-07");
    EXPECT_EQ(d.project.checker, "李工");
    EXPECT_EQ(d.project.check_date, "2026-12-08");
    EXPECT_EQ(d.project.approver, "王工");
    EXPECT_EQ(d.project.approve_date, "2026-12-09");
    EXPECT_EQ(d.input.relief.kind, relief::relief_case::compressed_gas);
    EXPECT_EQ(d.input.relief.compressed, relief::compressed_kind::gas_storage_tank);
    EXPECT_EQ(d.input.relief.rho, 10.0);
    EXPECT_EQ(d.input.relief.v, 20.0);
    EXPECT_FALSE(d.input.relief.G.has_value());  // its box starts empty
    EXPECT_EQ(d.input.relief.D, 0.0);            // its box starts at "0"
    ASSERT_EQ(d.input.next, route::device::safety_valve);
    EXPECT_EQ(d.input.valve.type, valve::valve_type::full_lift);
    EXPECT_EQ(d.input.valve.d1, 50.0);
    EXPECT_EQ(d.input.valve.capacity.Po, 0.1);
    EXPECT_EQ(d.input.valve.capacity.C, 0.0);
}

TEST(DecodeRouteLine, TakesADiscOrNoDevice) {
    const decoded_route disc = decode_route_line(
        R"({"calc":"route","relief":{"case":"typed_rate","W_t":800},"device":{"calc":"disc","medium":"gas","p_b":"1.5"}})");
    ASSERT_EQ(disc.error, "");
    ASSERT_EQ(disc.input.next, route::device::bursting_disc);
    EXPECT_EQ(disc.input.disc.medium, disc::disc_medium::gas);
    EXPECT_FALSE(disc.input.disc.nozzle.has_value());
    EXPECT_EQ(disc.input.disc.inputs.p_b, 1.5);
    EXPECT_EQ(disc.input.relief.W_t, 800.0);
    for (const char* line : {R"({"calc":"route","relief":{"case":"typed_rate"},"device":null})",
                             R"({"calc":"route","relief":{"case":"typed_rate"}})"}) {
        const decoded_route none = decode_route_line(line);
        EXPECT_EQ(none.error, "") << line;
        EXPECT_FALSE(none.input.next.has_value()) << line;
        EXPECT_EQ(none.project.project, "") << line;
        EXPECT_EQ(none.relief_medium, "") << line;
    }
}

struct route_error {
    const char* name;
    std::string line;
    std::string error;
};
void PrintTo(const route_error& c, std::ostream* os) { *os << c.name; }

class DecodeRouteLineRefuses : public testing::TestWithParam<route_error> {};
TEST_P(DecodeRouteLineRefuses, NamingTheField) {
    EXPECT_EQ(decode_route_line(GetParam().line).error, GetParam().error);
}
INSTANTIATE_TEST_SUITE_P(
    Lines, DecodeRouteLineRefuses,
    testing::Values(
        route_error{"PlainRequest", R"({"calc":"relief","case":"typed_rate"})",
                    R"(not a route request: field "calc" is not "route")"},
        route_error{"VesselWsInDevice",
                    R"({"calc":"route","relief":{"case":"typed_rate"},"device":{"calc":"disc","vessel_ws":1}})",
                    R"(in "device": field "vessel_ws" is not allowed: the device takes the relief rate the route kept)"},
        route_error{"DeviceWithoutCalc", R"({"calc":"route","relief":{"case":"typed_rate"},"device":{}})",
                    R"(in "device": missing field "calc" (expected "valve" or "disc"))"},
        route_error{"DeviceUnknownField",
                    R"({"calc":"route","relief":{"case":"typed_rate"},"device":{"calc":"valve","p_b":1}})",
                    R"(in "device": unknown field "p_b" for calc "valve")"},
        route_error{"ReliefWithCalc", R"({"calc":"route","relief":{"calc":"relief","case":"typed_rate"}})",
                    R"(in "relief": unknown field "calc" for calc "relief")"},
        route_error{"ReliefWithoutCase", R"({"calc":"route","relief":{}})",
                    R"(in "relief": relief request without field "case" (expected "compressed_gas", "liquefied_gas" or "typed_rate"))"},
        route_error{"NoRelief", R"({"calc":"route","device":null})", R"(route request without field "relief")"},
        route_error{"ReliefNotAnObject", R"({"calc":"route","relief":"typed_rate"})",
                    R"(field "relief" must be an object, not a string)"},
        route_error{"WrongFormat", R"({"calc":"route","format":"ventora-cases","relief":{"case":"typed_rate"}})",
                    R"(field "format" must be "ventora-case")"},
        route_error{"VersionThree", R"({"calc":"route","version":3,"relief":{"case":"typed_rate"}})",
                    R"(field "version" must be 1 or 2)"},
        route_error{"VersionAsText", R"({"calc":"route","version":"1","relief":{"case":"typed_rate"}})",
                    R"(field "version" must be 1 or 2)"},
        route_error{"UnknownProjectField", R"({"calc":"route","project":{"owner":"x"},"relief":{"case":"typed_rate"}})",
                    R"(unknown field "owner" in "project")"},
        route_error{"ProjectFieldNotText", R"({"calc":"route","project":{"tag":101},"relief":{"case":"typed_rate"}})",
                    R"(field "tag" in "project" must be a string, not a number)"},
        route_error{"DuplicateProjectField",
                    R"({"calc":"route","project":{"tag":"a","tag":"b"},"relief":{"case":"typed_rate"}})",
                    R"(duplicate key "tag" at byte 38)"},
        route_error{"ObjectTooDeep",
                    R"({"calc":"route","relief":{"case":"typed_rate","W_t":{"v":1}}})",
                    R"(in "relief": field "W_t" must be a number or a string, not an object)"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
