// The medium library: 25 common process media with their molar mass, critical constants and
// sourced correlations (data/media/media.tsv, built into the program), and the properties a
// relief-device sizing needs from them: saturation temperature and vapour pressure, latent heat,
// saturated-liquid density, the ideal-gas isentropic exponent k and the compressibility Z.
//
// Every correlation is used only inside its range: a value outside it is refused with the range
// in the reason, never extrapolated. Refusals are data (`outcome::refusal`), never exceptions.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "media/substance.h"

namespace ventora::media {

// Every medium of the table, in the table's order.
std::span<const substance> substances();

// The medium whose id, Chinese name, English name, formula or CAS number is `key`. Blanks around
// the key are ignored and ASCII letters match in either case; an English name also matches
// without its parenthesised remark ("air" for "air (dry)"). A formula that two media share
// (C4H10) finds nothing, as does an unknown key.
const substance* find_substance(std::string_view key);

// A value, or the reason why there is none.
struct outcome {
    std::optional<double> value;
    std::string refusal;  // set exactly when value is not
};

// The range texts the refusals and the dialog show: "85.47～369.83 K".
std::string range_text(const temperature_range& range);

// Vapour pressure in MPa (absolute) at T in K, DIPPR 101 inside [T_min, T_max].
// Water at 453.0356 K (IAPWS-IF97 T_sat at 1 MPa) gives 0.99791 MPa.
outcome vapour_pressure(const substance& s, double T);

// Pressures, MPa absolute, at the two ends of the vapour-pressure range: the range T_sat has.
double min_saturation_pressure(const substance& s);
double max_saturation_pressure(const substance& s);

// Saturation temperature in K at P in MPa (absolute): the root of DIPPR 101 inside its range,
// found by bisection on ln P (the curve rises monotonically there). P outside
// [P_sat(T_min), P_sat(T_max)] is refused with that pressure range.
// Propane at 0.101325 MPa gives 231.08 K (its normal boiling point, 231.04 K).
outcome saturation_temperature(const substance& s, double P);

// Latent heat q in kJ/kg at T in K: DIPPR 106 with the fit's own Tc, ΔHv[J/mol] / M[kg/kmol].
// At and above the fit's Tc ΔHv is 0, which is no latent heat: refused as not applicable.
// Water at 453.0356 K gives 2018.3 kJ/kg (IAPWS-IF97: 2014.4).
outcome latent_heat(const substance& s, double T);

// Saturated-liquid density in kg/m³ at T in K (DIPPR 105, or VDI/PPDS where the table has only
// that: water).
outcome liquid_density(const substance& s, double T);

// Ideal-gas isentropic exponent k = Cp/(Cp − R) at T in K, from the preferred Cp form. The
// monatomic gases give exactly 5/3 at every temperature.
outcome ideal_gas_k(const substance& s, double T);

// The text of the Z refusal near the critical point and in the two-phase or liquid region.
inline constexpr const char* not_applicable_near_critical = "近临界/两相，不适用";

// Compressibility Z of the gas or vapour at T in K and P in MPa (absolute): the vapour root of
// the Peng–Robinson equation of state with Tc, Pc and ω from the table,
//   Z³ − (1 − B)·Z² + (A − 3B² − 2B)·Z − (A·B − B² − B³) = 0,
//   A = a·α·P/(R·T)², B = b·P/(R·T), a = 0.45724·R²·Tc²/Pc, b = 0.07780·R·Tc/Pc,
//   α = (1 + κ·(1 − √(T/Tc)))², κ = 0.37464 + 1.54226·ω − 0.26992·ω².
// Refused with `not_applicable_near_critical` (no Z) when
//   - 0.95·Tc < T < 1.05·Tc and P > 0.8·Pc (both strict: exactly at a bound is not near), or
//   - below Tc the state is liquid or two-phase: P above the DIPPR 101 vapour pressure at T
//     (a saturated vapour, P equal to it within 1e-9, is gas), or the equation has no vapour root.
// Below the vapour-pressure range condensation cannot be checked: refused with the range.
// Air at 300 K and 10 MPa gives 0.9762 (Lemmon et al. 2000: 0.99308; the cubic is 1.7 % low
// there, on the side of a smaller area: keep that in mind for light gases at high pressure).
outcome compressibility(const substance& s, double T, double P);

}  // namespace ventora::media
