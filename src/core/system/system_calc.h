// The relief system beyond one device: several identical valves sharing the rate, a bursting disc
// under the valve, the inlet line's pressure loss, the built-up back pressure of the outlet line
// (and the balanced-bellows correction), the reaction force of an open discharge, and the fire
// case by API 521 beside the regulation's. Each check has its account when one is handed in.
//
// A check that lacks a value names it and gives no verdict (outcome::not_made); a check whose
// input is outside its method's range (a back pressure beyond the bellows curve) is refused with
// the reason and gives no verdict either. Never "passed" without figures behind it.
//
// Units: pressures in MPa (the set pressure gauge as the valve window takes it, line pressures
// absolute), diameters in mm, lengths in m, W in kg/h, viscosity in mPa·s, areas in mm² (the
// fire case's wetted area in m²).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "account/account.h"
#include "numbers/number.h"
#include "relief/relief_calc.h"
#include "valve/valve_calc.h"

namespace ventora::system {

// The atmosphere, absolute MPa: the outlet pressure unless one is typed, and the reference of
// every gauge back pressure.
inline constexpr double atmosphere = 0.1013;
// Wall roughness of commercial steel pipe, mm, unless one is typed.
inline constexpr double default_roughness = 0.045;
// Combination factor of a bursting disc under a safety valve unless a certified one is typed.
inline constexpr double default_combination_factor = 0.9;
// The limits of the checks: inlet loss ≤ 3 % and, for a conventional valve, built-up back
// pressure ≤ 10 % of the set pressure (equality passes).
inline constexpr double inlet_loss_limit = 0.03;
inline constexpr double built_up_limit = 0.10;
// Below this Reynolds number the flow is laminar, f = 64/Re; from it on Colebrook.
inline constexpr double laminar_below = 2000.0;
inline constexpr double transition_to = 4000.0;
// The universal gas constant, J/(kmol·K).
inline constexpr double gas_constant = 8314.462618;

enum class outcome { pass, fail, not_made };
const char* outcome_text(outcome o);  // "合格" / "不合格" / "未校核"
const char* outcome_code(outcome o);  // "pass" / "fail" / "not_made"

// What every check reports besides its figures.
struct check {
    outcome result = outcome::not_made;
    std::vector<std::string> missing;  // the values a check not made lacks ("μ（黏度）")
    std::optional<std::string> refusal;  // why a check was refused (a value outside a range)
};

// ---- The Darcy friction factor ----
enum class flow_regime { laminar, transition, turbulent };
struct friction {
    double Re = 0.0;
    double f = 0.0;
    flow_regime regime = flow_regime::turbulent;
    int iterations = 0;  // Colebrook's
};
// Re < 2000: f = 64/Re. Re ≥ 2000: Colebrook, 1/√f = −2·lg(ε/(3.7·D) + 2.51/(Re·√f)), solved by
// fixed-point iteration to 1E-12; between 2000 and 4000 (transition) Colebrook is used too, the
// higher and so safer figure. Unset when Re ≤ 0 or the relative roughness is negative.
std::optional<friction> darcy_friction(double Re, double relative_roughness);

// ---- Isothermal compressible flow in a line ----
// With the mass flux G (kg/(m²·s)), c² = P/ρ = Z·R·T/M (m²/s², constant along an isothermal line)
// and K = f·L/D + ΣK:  P_1² − P_2² = G²·c²·(K + 2·ln(P_1/P_2)).  The flow chokes where the velocity
// reaches the isothermal limit c, i.e. at P = G·c.
struct isothermal_result {
    bool choked = false;
    double P_in = 0.0, P_out = 0.0;  // Pa absolute
    // When choked from a given inlet: the most the line passes (kg/s·m² flux) and the pressure at
    // its end then; when the exit chokes going downstream to a given end: the exit pressure.
    double G_max = 0.0, P_choke = 0.0;
};
// The pressure at the end of a line fed at P_in; choked when no end pressure passes G.
isothermal_result isothermal_from_inlet(double P_in, double G, double c2, double K);
// The pressure at the start of a line whose end is at P_end; the exit chokes when G·c > P_end
// and then sits at G·c.
isothermal_result isothermal_to_outlet(double P_end, double G, double c2, double K);

// ---- Inputs ----
// One line: inner diameter, length, sum of its fittings' loss coefficients (entrance, elbows,
// exit), wall roughness (default 0.045 mm).
struct line {
    number D;          // mm
    number L;          // m
    number K_sum;      // dimensionless
    number roughness;  // mm; unset takes default_roughness
};

// The medium at the relieving state, beyond what the valve press holds.
struct medium_data {
    number mu;       // dynamic viscosity, mPa·s
    number rho;      // density, kg/m³: steam at the relieving state (a liquid takes the press's ρ
                     // when this is unset)
    number k, T, M;  // for the reaction force of steam (a gas takes the press's)
    std::string source;  // where typed values came from, for the account (medium library)
};

struct fire_input {
    number A;  // wetted area within 7.6 m of grade, m²; unset takes the regulation's A_r
    number F;  // API 521 environment factor; unset takes 1 (bare vessel)
    std::optional<bool> drainage;  // adequate drainage and fire-fighting; unset: not chosen
};

struct system_input {
    // The route: the valve press and its result, and the kept relief rate.
    valve::valve_press_input valve;
    valve::valve_press_result press;
    float W_s = 0.0F;
    // The route's relief-rate calculation, for the fire case (liquefied gas only).
    std::optional<relief::relief_input> relief;
    std::optional<relief::relief_result> relief_result;

    number n;  // number of identical valves; unset counts as 1
    bool disc_under_valve = false;
    number F_d;  // certified combination factor; unset takes 0.9
    std::optional<line> inlet, outlet;
    number P_outlet;  // absolute MPa at the outlet line's end; unset takes the atmosphere
    bool bellows = false;
    number A_o;  // outlet area at the point of discharge, mm²; unset takes the outlet line's bore
    bool open_discharge = false;  // compute the reaction force
    number P_2;  // static gauge pressure at the point of discharge, MPa; unset: a sonic exit's
    medium_data medium;
    std::optional<fire_input> fire;
};

// ---- Results ----
struct valves_result : check {
    int n = 1;
    number total;        // n·W, kg/h
    std::optional<int> n_min;  // smallest n with n·W ≥ W_s
    number A_min;         // mm², the area each of n valves needs: A·W_s/(n·W)
    number d1_min;        // mm, full lift: √(A_min/(0.25·3.14))
    number d1_chosen;     // mm, the smallest throat in 0.1 mm steps whose own capacity covers W_s
    number W_chosen;      // kg/h, that throat's capacity by the valve calculation
};

struct disc_result : check {
    double F_d = default_combination_factor;
    bool certified = false;
    number capacity;  // n·W·F_d, kg/h
};

struct line_result : check {
    std::optional<friction> fr;
    number velocity;   // m/s at the line's start
    number K_total;    // f·L/D + ΣK
    number dP;         // MPa
    number percent;    // of the set pressure
    bool choked = false;
    number W_max;      // kg/h the line passes when choked
    number P_choke;    // MPa absolute at the choked end
};

struct backpressure_result : check {
    std::optional<friction> fr;
    number K_total;
    number P_valve_outlet;  // MPa absolute
    number built_up;        // MPa
    number built_up_percent;
    number total_gauge_percent;  // (P_valve_outlet − atmosphere)/P_s, %
    bool choked_exit = false;
    number K_b;             // gas and steam (bellows), or K_w (liquid)
    number corrected;       // n·W·F_d·K_b, kg/h
};

struct reaction_result : check {
    number W_kg_s;
    number P_exit;   // MPa absolute, sonic exit
    number P2;       // MPa gauge at the point of discharge (0 when the exit is not sonic)
    number F;        // N
};

struct fire_result : check {
    number Q;       // kW
    number W_api;   // kg/h
    number ratio;   // W_api / W_s
    std::vector<std::string> reasons;  // why the two differ
};

struct system_result {
    valves_result valves;
    std::optional<disc_result> disc;
    std::optional<line_result> inlet;
    std::optional<backpressure_result> outlet;
    std::optional<reaction_result> reaction;
    std::optional<fire_result> fire;
};

// The accounts, one per check made, in the order of system_result.
using accounts = std::vector<account::account>;

// Each check alone. W is the valve's capacity, per valve.
valves_result check_valves(const system_input& in, account::account* acc = nullptr);
disc_result check_disc(const system_input& in, const number& total, account::account* acc = nullptr);
line_result check_inlet(const system_input& in, account::account* acc = nullptr);
backpressure_result check_outlet(const system_input& in, double F_d,
                                 account::account* acc = nullptr);
reaction_result check_reaction(const system_input& in, account::account* acc = nullptr);
fire_result check_fire(const system_input& in, const number& total, account::account* acc = nullptr);

// Every check the input asks for.
system_result check_system(const system_input& in, accounts* acc = nullptr);

// The line that closes the checks: "合格" only when every check with a verdict passed and none
// was left unmade; otherwise it names each failing check and each check not made. The reaction
// force and the API 521 fire case are figures for reference, never part of the verdict, but a
// reference check that could not be made is named too.
std::string verdict_line(const system_result& r);

// The book's section: every check's account and the verdict line.
account::route_account::system_section book_section(const system_input& in,
                                                     system_result* result = nullptr);

// The balanced-bellows corrections of API 520 Part I (10 % overpressure) at a gauge back pressure
// of `percent` of the gauge set pressure: unset above 50 %, the end of the published curves.
std::optional<double> bellows_K_b(double percent);
std::optional<double> bellows_K_w(double percent);

}  // namespace ventora::system
