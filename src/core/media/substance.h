// The medium library's data: one record per medium, as the table data/media/media.tsv gives it.
// The records are built into the program by the table generator (media_table_gen), which refuses
// a malformed table so that the build fails instead of leaving a gap at run time.
#pragma once

#include <string_view>

namespace ventora::media {

// A correlation's range of validity in temperature, K, both ends included. An unbounded range
// (`bounded` false) holds at every temperature; only the monatomic Cp = 5/2·R has one.
struct temperature_range {
    bool bounded = true;
    double T_min = 0.0;
    double T_max = 0.0;
};

// DIPPR 101 vapour pressure: ln(P/Pa) = A + B/T + C·ln T + D·T^E.
struct dippr101 {
    double A, B, C, D, E;
    temperature_range range;
    std::string_view source;
};

// DIPPR 106 heat of vaporisation: ΔHv/(J/mol) = A·(1 − Tr)^(B + C·Tr + D·Tr² + E·Tr³),
// Tr = T/Tc with the fit's own Tc.
struct dippr106 {
    double A, B, C, D, E;
    double Tc;
    temperature_range range;
    std::string_view source;
};

// Saturated-liquid density in one of two forms:
//   DIPPR 105   ρ/(mol/m³) = A / B^(1 + (1 − T/C)^D)
//   VDI/PPDS    ρ/(kg/m³) = ρc + A·τ^0.35 + B·τ^(2/3) + C·τ + D·τ^(4/3), τ = 1 − T/Tc
enum class density_form { dippr105, ppds };
struct liquid_density_fit {
    density_form form;
    double A, B, C, D;
    double Tc;     // PPDS only
    double rho_c;  // PPDS only, kg/m³
    temperature_range range;
    std::string_view source;
};

// Ideal-gas heat capacity, the table's preferred form:
//   poly   Cp/R = a0 + a1·T + a2·T² + a3·T³ + a4·T⁴
//   trc    Cp/R = a0 + (a1/T²)·exp(−a2/T) + a3·y² + (a4 − a5/(T − a7)²)·y⁸,
//          y = (T − a7)/(T + a6) for T > a7, else 0
enum class cp_form { poly, trc };
struct ideal_cp_fit {
    cp_form form;
    double a[8];
    temperature_range range;
    std::string_view source;
};

struct substance {
    std::string_view id;       // ASCII, e.g. "propane"
    std::string_view name_zh;  // 丙烷
    std::string_view name_en;
    std::string_view formula;
    std::string_view cas;
    double M;  // kg/kmol
    std::string_view M_source;
    double Tc;     // K
    double Pc;     // Pa
    double omega;  // acentric factor
    std::string_view crit_source;
    dippr101 psat;
    dippr106 hvap;
    liquid_density_fit rhol;
    ideal_cp_fit cp;
};

}  // namespace ventora::media
