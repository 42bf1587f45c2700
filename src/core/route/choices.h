// The names of the calculations' choices and outcomes in requests, responses and case files: one
// table per enum, used both to read and to write them.
#pragma once

#include <optional>
#include <string_view>

#include "account/account.h"
#include "disc/disc_calc.h"
#include "relief/relief_calc.h"
#include "valve/valve_calc.h"

namespace ventora::choices {

template <class E>
struct named {
    std::string_view name;
    E value;
};

template <class E, std::size_t N>
constexpr std::optional<E> lookup(const named<E> (&table)[N], std::string_view name) {
    for (const auto& entry : table)
        if (entry.name.size() == name.size() && entry.name == name) return entry.value;
    return std::nullopt;
}

template <class E, std::size_t N>
constexpr std::string_view name_of(const named<E> (&table)[N], E value) {
    for (const auto& entry : table)
        if (entry.value == value) return entry.name;
    return {};
}

enum class calc_kind { relief, valve, disc };
inline constexpr named<calc_kind> calc_kinds[] = {
    {"relief", calc_kind::relief}, {"valve", calc_kind::valve}, {"disc", calc_kind::disc}};

// The relief-rate window's tab is the case.
inline constexpr named<relief::relief_case> relief_cases[] = {
    {"compressed_gas", relief::relief_case::compressed_gas},
    {"liquefied_gas", relief::relief_case::liquefied_gas},
    {"typed_rate", relief::relief_case::typed_rate}};
inline constexpr named<relief::compressed_kind> compressed_kinds[] = {
    {"production_capacity", relief::compressed_kind::production_capacity},
    {"gas_storage_tank", relief::compressed_kind::gas_storage_tank}};
inline constexpr named<relief::fire_exposure> fire_exposures[] = {
    {"fire_exposed", relief::fire_exposure::fire_exposed},
    {"fire_free", relief::fire_exposure::fire_free}};
inline constexpr named<relief::insulation> insulations[] = {
    {"uninsulated", relief::insulation::uninsulated},
    {"insulated", relief::insulation::insulated}};
inline constexpr named<relief::installation> installations[] = {
    {"below_ground", relief::installation::below_ground},
    {"above_ground", relief::installation::above_ground},
    {"water_spray", relief::installation::water_spray}};
inline constexpr named<relief::vessel_form> vessel_forms[] = {
    {"hemispherical_heads", relief::vessel_form::hemispherical_heads},
    {"elliptical_heads", relief::vessel_form::elliptical_heads},
    {"vertical", relief::vessel_form::vertical},
    {"spherical", relief::vessel_form::spherical}};

// The safety-valve window's tab: "输入数据" (input) or "说明" (notes).
inline constexpr named<bool> valve_tabs[] = {{"input", false}, {"notes", true}};
inline constexpr named<valve::valve_type> valve_types[] = {
    {"full_lift", valve::valve_type::full_lift},
    {"micro_lift_ring", valve::valve_type::micro_lift_ring},
    {"micro_lift_plain", valve::valve_type::micro_lift_plain}};
inline constexpr named<valve::seal_face> seal_faces[] = {
    {"flat", valve::seal_face::flat}, {"conical", valve::seal_face::conical}};
inline constexpr named<valve::valve_medium> valve_media[] = {
    {"gas", valve::valve_medium::gas},
    {"saturated_steam", valve::valve_medium::saturated_steam},
    {"liquid", valve::valve_medium::liquid}};
inline constexpr named<valve::press_status> press_statuses[] = {
    {"no_valve_type", valve::press_status::no_valve_type},
    {"no_medium", valve::press_status::no_medium},
    {"no_seal_face", valve::press_status::no_seal_face},
    {"bad_area", valve::press_status::bad_area},
    {"bad_input", valve::press_status::bad_input},
    {"checked", valve::press_status::checked}};
inline constexpr named<valve::verdict> verdicts[] = {
    {"pass", valve::verdict::pass}, {"fail", valve::verdict::fail}};

inline constexpr named<disc::disc_medium> disc_media[] = {
    {"gas", disc::disc_medium::gas},
    {"liquid", disc::disc_medium::liquid},
    {"saturated_steam", disc::disc_medium::saturated_steam}};
inline constexpr named<disc::nozzle_type> nozzle_types[] = {
    {"straight_pipe", disc::nozzle_type::straight_pipe},
    {"flush_pipe", disc::nozzle_type::flush_pipe},
    {"bell_mouth", disc::nozzle_type::bell_mouth}};
inline constexpr named<disc::disc_status> disc_statuses[] = {
    {"area_ready", disc::disc_status::area_ready},
    {"no_medium", disc::disc_status::no_medium},
    {"no_nozzle", disc::disc_status::no_nozzle},
    {"bad_k", disc::disc_status::bad_k},
    {"bad_input", disc::disc_status::bad_input}};

// The title block's fields, in requests and case files alike, in the book's order.
struct project_field {
    std::string_view name;
    std::string account::project_info::*member;
};
inline constexpr project_field project_fields[] = {
    {"project", &account::project_info::project},
    {"equipment", &account::project_info::equipment},
    {"tag", &account::project_info::tag},
    {"drawing", &account::project_info::drawing},
    {"designer", &account::project_info::designer},
    {"design_date", &account::project_info::design_date},
    {"checker", &account::project_info::checker},
    {"check_date", &account::project_info::check_date},
    {"approver", &account::project_info::approver},
    {"approve_date", &account::project_info::approve_date},
};

}  // namespace ventora::choices
