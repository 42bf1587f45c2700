// The regulation's discharge formulas that both the safety valve and the bursting disc use
// (1999年版《容规》): one place for each coefficient and each shared term, so that a valve and a
// disc sized for the same medium can never disagree through a typo in one copy.
//
// The terms are written with `checked` values and keep the order of operations of the
// calculations that use them, so results stay the same to the last bit: the valve forms
//   W = 0.076·K·C·P·A·√(M/(Z·T))            (critical gas flow, kg/h)
// and the disc solves the same relation for A, W_s / (0.076·K·C·p_b·√(M/(Z·T))).
#pragma once

#include "numbers/checked.h"

namespace ventora::regulation {

// Full-lift valve flow area A = 0.25·3.14·d1² (mm², d1 the throat in mm), 3.14 for π as in every
// area formula of the regulation: the factor 0.25·3.14, and a throat found from an area with it.
inline constexpr double full_lift_area_factor = 0.25 * 3.14;

// The fire case of an uninsulated liquefied-gas vessel: W_s = 2.55×10⁵·F·A^0.82/q (kJ/h over
// kJ/kg), i.e. 70.8 kW·A^0.82. Formed as the double product 2.55 × 100000, which is
// 254999.99999999997, one unit in the last place below 255000: a rate that works out at exactly
// 255000 is therefore 254999 after Int.
inline constexpr double uninsulated_fire_coefficient = 2.55 * 100000;
static_assert(uninsulated_fire_coefficient < 255000.0);

// Gas, critical flow: W = 0.076·K·C·P·A·√(M/(Z·T)), P absolute MPa, A mm², W kg/h.
inline constexpr double gas_critical_coefficient = 0.076;
// Gas, subcritical flow: W = 55.84·K·P·A·√(M/(Z·T))·ψ.
inline constexpr double gas_subcritical_coefficient = 55.84;
// Saturated steam: W = 5.25·K·A·P, corrected above 10 MPa.
inline constexpr double steam_coefficient = 5.25;
inline constexpr double steam_correction_from = 10.0;  // MPa; exactly 10 is not corrected
// Liquid: W = 5.1·K·A·√(ρ·Δp).
inline constexpr double liquid_coefficient = 5.1;
// Water's critical pressure, MPa absolute: above it there is no saturated steam, and the
// high-pressure correction grows without bound (a pole near 31.9 MPa) instead of meaning anything.
inline constexpr double water_critical_pressure = 22.064;

// 2/(k+1) and k/(k−1): the two terms of the critical pressure ratio.
inline checked two_over_k_plus_one(checked k) { return 2.0 / (k + 1.0); }
inline checked k_over_k_minus_one(checked k) { return k / (k - 1.0); }

// The gas characteristic coefficient before the regulation takes its whole part:
// C = 520·√(k·(2/(k+1))^((k+1)/(k−1))). For k = 1.4 it is 356.5…, so C = 356.
inline checked gas_characteristic_coefficient(checked k) {
    return 520.0 * sqrt(k * pow(two_over_k_plus_one(k), (k + 1.0) / (k - 1.0)));
}

// The critical pressure ratio r_c = (2/(k+1))^(k/(k−1)); flow is critical when the outlet-to-
// inlet pressure ratio r ≤ r_c (equality is critical). For k = 1.4, r_c = 0.528.
inline checked critical_pressure_ratio(checked two_over_k_plus_1, checked k_over_k_minus_1) {
    return pow(two_over_k_plus_1, k_over_k_minus_1);
}

// The subcritical factor ψ = √(k/(k−1)·(r^(2/k) − r^((k+1)/k))), which both calculations keep in
// single precision. For k = 1.4 and r = 0.8, ψ = 0.5796…
inline checked subcritical_factor(checked k_over_k_minus_1, checked r, checked k) {
    return sqrt(k_over_k_minus_1 * (pow(r, 2.0 / k) - pow(r, (k + 1.0) / k)));
}

// The saturated-steam correction above 10 MPa: the capacity is multiplied by
// (190.6·P − 6895)/(229.2·P − 7315), and the area a disc needs by the inverse.
inline checked steam_correction_numerator(checked P) { return 190.6 * P - 6895.0; }
inline checked steam_correction_denominator(checked P) { return 229.2 * P - 7315.0; }

}  // namespace ventora::regulation
