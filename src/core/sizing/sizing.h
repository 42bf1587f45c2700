// The sizing aid after a device calculation: the minimum area and throat that W_s needs under the
// regulation's own method, the margin, and the same valve worked out independently by API 520
// Part I with its API 526 orifice. A reference beside the regulation's check, never a verdict.
#pragma once

#include <optional>
#include <string>

#include "account/account.h"
#include "numbers/number.h"
#include "sizing/api520.h"
#include "valve/valve_calc.h"

namespace ventora::sizing {

// What a press of the safety-valve window already holds once it reached a capacity.
struct valve_sizing_input {
    valve::valve_medium medium = valve::valve_medium::gas;
    valve::valve_type type = valve::valve_type::full_lift;
    double K = 0.0;             // the discharge coefficient of the type (0.65, 0.45, 0.3)
    number A;                   // mm², the press's flow area (a whole number)
    number W;                   // kg/h, the press's discharge capacity
    float W_s = 0.0F;           // kg/h, the kept single-precision relief rate
    valve::capacity_inputs in;  // C, Ps (gauge MPa), M, T, Z, k, ρ, Po (absolute MPa)
    // The regulation's discharge pressure of the medium, absolute MPa (1.1·Ps + 0.1 gas,
    // 1.03·Ps + 0.1 steam, 1.2·Ps + 0.1 liquid): API's P1 = 1000·P_d kPa.
    double P_d = 0.0;
};

// The like-with-like API area and A_min agree within this for critical gas flow, saturated steam
// and liquid: the two methods' constants differ by 0.2 % at most (0.076·520 = 39.52 against 39.48,
// 5.25 against 1000/190.5 = 5.249, 5.1 against 60/11.78 = 5.093).
inline constexpr double agreement_tolerance = 0.01;

// Why the ratio departs from 1 by more than the tolerance.
enum class gap_reason {
    subcritical_gas,  // either method sees subcritical flow: the regulation forms r = Po/Ps,
                      // API r = P2/P1
    typed_C_differs,  // the gas coefficient C as typed does not belong to k
    unexplained,      // none of the above: check the inputs
};
const char* gap_text(gap_reason why);  // Chinese, for the book
const char* gap_code(gap_reason why);  // "subcritical_gas", "C_differs_from_k", "unexplained"

struct api520_check {
    std::optional<double> area_same_K;    // mm², K_d = the valve type's K
    std::optional<double> area;           // mm², API's own K_d (0.975 gas and steam, 0.65 liquid)
    std::optional<double> ratio;          // area_same_K / A_min
    std::optional<char> orifice;          // the API 526 letter covering `area`; unset beyond T
    bool beyond_largest_orifice = false;  // `area` above T's 16774 mm² ("T 以上")
    std::optional<refusal> reason;        // set exactly when there is no API area
    std::optional<flow_regime> api_regime;  // gas: by r = P2/P1
    std::optional<gap_reason> gap;          // set when |ratio − 1| > agreement_tolerance
};

struct valve_sizing {
    std::optional<double> A_min;   // mm²
    std::optional<double> d1_min;  // mm, full-lift valves only
    std::optional<double> margin;  // W / W_s
    api520_check api520;
};

// A_min = A·W_s/W (the regulation's capacity is proportional to the area for every medium);
// full lift: d1_min = √(A_min/(0.25·3.14)), from the regulation's A = 0.25·3.14·d1², so that the
// throat fed back into the area formula gives A_min again; margin = W/W_s. Then API 520 for W_s
// (see api520.h) with K_d = K and with API's K_d, the orifice for the latter and the ratio.
// W ≤ 0, A ≤ 0 or W_s ≤ 0 give no figure at all and the reason.
// When `book` is given, its title, inputs, steps and conclusion are filled ("选型与复核（参考）").
// Example: full lift, A = 1962, W = 12873, W_s = 10000, gas C = 356, Ps = 1, M = 29, T = 300,
// Z = 1, k = 1.4, Po = 0.1, P_d = 1.2: A_min = 1524.12, d1_min = 44.063, margin = 1.2873,
// API area_same_K = 1525.35 (ratio 1.00081), area = 1016.90, orifice K.
valve_sizing size_valve(const valve_sizing_input& in, account::account* book = nullptr);

// The sizing of a press that reached a capacity above 0; none otherwise. The inputs are the press's
// own, P_d the regulation's discharge pressure of its medium.
std::optional<valve_sizing> size_after_press(const valve::valve_press_input& press,
                                             const valve::valve_press_result& result, float W_s,
                                             account::account* book = nullptr);

// "J", "T 以上", or the empty text when there is no API area.
std::string orifice_text(const api520_check& check);

// The minimum bore of a bursting disc from its area A (mm²): d_min = √(A/(0.25·3.14)) mm.
// 3.14 rather than π, as in every area formula of the regulation: a checker recomputing the bore
// with the regulation's number gets ours, and 3.14 < π makes the bore 0.025 % larger, on the safe
// side. Unset when A is unset or not above 0. Example: A = 1962 gives 49.994 (d = 50 gives
// 1962.5, floored to 1962). When `book` is given, it gets the step.
std::optional<double> disc_min_bore(const number& A, account::account* book = nullptr);

}  // namespace ventora::sizing
