// API 520 Part I (SI units) required effective discharge areas for gas, saturated steam and liquid,
// and the API 526 orifice letter that covers an area. An independent cross-check of the
// regulation's valve check: the formulas are API's own, not the regulation's rewritten.
//
// Units throughout: W in kg/h, P1 and P2 in kPa absolute, T in K, ρ in kg/m³, A in mm².
// K_b = K_c = 1 (no back-pressure correction, no rupture disc upstream), K_w = K_v = 1 for liquid
// and K_SH = 1 (saturated steam): these are not inputs.
#pragma once

#include <array>
#include <optional>

namespace ventora::sizing {

// Why a figure has no value. Each has a Chinese text for the book and a short code for scripts.
enum class refusal {
    capacity_not_positive,     // the press reached no capacity W > 0
    relief_rate_not_positive,  // W_s ≤ 0
    input_not_positive,        // M, T, Z, ρ, P1 not above 0, or P2 below 0
    k_not_above_one,           // gas with k ≤ 1: C and F2 have no meaning
    outlet_not_below_inlet,    // P1 ≤ P2 for gas or liquid
    steam_beyond_kn,           // saturated steam with P1 > 22057 kPa, where K_N is not defined
    out_of_range,              // a figure beyond the double range
};
const char* refusal_text(refusal why);  // "背压不低于泄放压力（P_{1} ≤ P_{2}）…"
const char* refusal_code(refusal why);  // "P1_not_above_P2"

enum class flow_regime { critical, subcritical };

// One API area and the figures its formula went through (for the account). Exactly one of A and
// why is set.
struct api_area {
    std::optional<double> A;  // mm²
    std::optional<refusal> why;
    std::optional<flow_regime> regime;  // gas only
    double r = 0.0, r_c = 0.0;          // gas: P2/P1 and the critical ratio
    double C = 0.0, F2 = 0.0;           // gas: C for critical flow, F2 for subcritical flow
    double K_N = 1.0;                   // steam
    double Q = 0.0, G = 0.0, dP = 0.0;  // liquid: L/min, ρ/1000, P1 − P2 in kPa
};

// Gas or vapour. With r = P2/P1 and r_c = (2/(k+1))^(k/(k−1)):
//   r ≤ r_c (critical, equality included):
//     A = W / (C·K_d·P1·K_b·K_c) · √(T·Z/M),  C = 0.03948·√(k·(2/(k+1))^((k+1)/(k−1)))
//   r > r_c (subcritical):
//     A = 17.9·W / (F2·K_d·K_c) · √(T·Z/(M·P1·(P1−P2))),
//     F2 = √((k/(k−1))·r^(2/k)·(1 − r^((k−1)/k))/(1 − r))
// Refused: W ≤ 0; M, T, Z or P1 not above 0, P2 below 0; k ≤ 1; P1 ≤ P2.
// Example (API 520 Part I, example 1): W = 24270, T = 348, Z = 0.90, M = 51, k = 1.11,
// P1 = 670, P2 = 101.325, K_d = 0.975 gives C = 0.02489 and A = 3699.0 (API prints 3698).
api_area api520_gas_area(double W, double T, double Z, double M, double k, double P1, double P2,
                         double K_d);

// Saturated steam: A = 190.5·W / (P1·K_d·K_b·K_c·K_N·K_SH),
//   K_N = 1 for P1 ≤ 10339 kPa, (0.02764·P1 − 1000)/(0.03324·P1 − 1061) for 10339 < P1 ≤ 22057.
// Refused: W ≤ 0; P1 not above 0; P1 > 22057.
// Example: W = 69615, P1 = 12236, K_d = 0.975 gives K_N = 1.01150 and A = 1099.0.
api_area api520_steam_area(double W, double P1, double K_d);

// Liquid: A = 11.78·Q / (K_d·K_w·K_c·K_v) · √(G/(P1 − P2)), Q = W/ρ·1000/60 in L/min, G = ρ/1000.
// Refused: W ≤ 0; ρ or P1 not above 0, P2 below 0; P1 ≤ P2.
// Example: W = 36000, ρ = 1000, P1 = 1300, P2 = 100, K_d = 0.65 gives Q = 600,
// A = 11.78·600/0.65·√(1/1200) = 313.9.
api_area api520_liquid_area(double W, double rho, double P1, double P2, double K_d);

// API's own discharge coefficients for preliminary sizing.
inline constexpr double api_K_d_vapour = 0.975;  // gas and steam
inline constexpr double api_K_d_liquid = 0.65;

// API 526 effective orifice areas, mm² (the square-inch areas × 645.16, rounded as published).
struct orifice {
    char letter;
    double area;
};
inline constexpr std::array<orifice, 14> api526_orifices{{
    {'D', 71.0},
    {'E', 126.5},
    {'F', 198.1},
    {'G', 324.5},
    {'H', 506.5},
    {'J', 830.3},
    {'K', 1185.8},
    {'L', 1840.6},
    {'M', 2322.6},
    {'N', 2800.0},
    {'P', 4116.1},
    {'Q', 7129.0},
    {'R', 10322.6},
    {'T', 16774.0},
}};

// The smallest orifice whose area is at least A (an area equal to a letter's takes that letter);
// unset when A is above T's 16774 mm² ("T 以上").
std::optional<orifice> smallest_orifice(double A);

}  // namespace ventora::sizing
