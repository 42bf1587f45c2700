#include "media/media.h"

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <numbers>

#include "numbers/number.h"

namespace ventora::media {
namespace {

// Molar gas constant, J/(mol·K) (CODATA 2018, exact).
constexpr double R = 8.314462618;

std::string_view trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

bool same_ascii_folded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// "air (dry)" → "air".
std::string_view without_remark(std::string_view name) {
    const std::size_t paren = name.find(" (");
    return paren == std::string_view::npos ? name : name.substr(0, paren);
}

std::string K_text(double T) { return format_double(T) + " K"; }

// A pressure in a reason: six significant digits are plenty to read and compare.
std::string MPa_text(double P) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", P);
    return std::string(buffer) + " MPa";
}

bool inside(const temperature_range& r, double T) {
    return !r.bounded || (T >= r.T_min && T <= r.T_max);
}

outcome refuse(std::string why) { return {std::nullopt, std::move(why)}; }
outcome give(double v) { return {v, {}}; }

outcome out_of_range(const char* what, double T, const temperature_range& r) {
    return refuse(std::string(what) + "：T = " + K_text(T) + " 不在关联式范围 " + range_text(r) +
                  " 内");
}

bool usable(double x) { return std::isfinite(x) && x > 0; }

// ln(P/Pa) from DIPPR 101, T inside its range.
double ln_psat(const dippr101& f, double T) {
    return f.A + f.B / T + f.C * std::log(T) + f.D * std::pow(T, f.E);
}

}  // namespace

const substance* find_substance(std::string_view key) {
    key = trim(key);
    if (key.empty()) return nullptr;
    for (const substance& s : substances()) {
        if (same_ascii_folded(key, s.id) || key == s.name_zh || same_ascii_folded(key, s.name_en) ||
            same_ascii_folded(key, without_remark(s.name_en)) || key == s.cas)
            return &s;
    }
    const substance* by_formula = nullptr;
    for (const substance& s : substances()) {
        if (same_ascii_folded(key, s.formula)) {
            if (by_formula) return nullptr;  // shared by two media: ambiguous
            by_formula = &s;
        }
    }
    return by_formula;
}

std::string range_text(const temperature_range& range) {
    if (!range.bounded) return "任意温度";
    return format_double(range.T_min) + "～" + format_double(range.T_max) + " K";
}

outcome vapour_pressure(const substance& s, double T) {
    if (!usable(T)) return refuse("饱和蒸气压：温度无效");
    if (!inside(s.psat.range, T)) return out_of_range("饱和蒸气压", T, s.psat.range);
    return give(std::exp(ln_psat(s.psat, T)) / 1e6);
}

double min_saturation_pressure(const substance& s) {
    return std::exp(ln_psat(s.psat, s.psat.range.T_min)) / 1e6;
}

double max_saturation_pressure(const substance& s) {
    return std::exp(ln_psat(s.psat, s.psat.range.T_max)) / 1e6;
}

outcome saturation_temperature(const substance& s, double P) {
    if (!usable(P)) return refuse("饱和温度：压力无效");
    const double P_min = min_saturation_pressure(s);
    const double P_max = max_saturation_pressure(s);
    if (P < P_min || P > P_max)
        return refuse("饱和温度：P = " + MPa_text(P) + " 不在关联式范围 " +
                      MPa_text(P_min) + "～" + MPa_text(P_max) + "（" +
                      range_text(s.psat.range) + "）内");
    // Newton's method on ln P(T) − ln P, kept inside a bracket that each step narrows; a step
    // that would leave the bracket bisects instead. ln P rises monotonically over the range, so
    // the bracket always holds the root. It converges in a handful of steps; 100 is a bound, not
    // a count.
    const dippr101& f = s.psat;
    const double target = std::log(P * 1e6);
    double lo = f.range.T_min;
    double hi = f.range.T_max;
    double T = 0.5 * (lo + hi);
    for (int i = 0; i < 100; ++i) {
        const double g = ln_psat(f, T) - target;
        if (g == 0.0) break;
        if (g < 0) lo = T;
        else hi = T;
        // d ln P / dT = −B/T² + C/T + D·E·T^(E−1)
        const double slope = -f.B / (T * T) + f.C / T + f.D * f.E * std::pow(T, f.E - 1.0);
        double next = T - g / slope;
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (next == T || std::abs(next - T) <= 1e-13 * T) {
            T = next;
            break;
        }
        T = next;
    }
    return give(T);
}

outcome latent_heat(const substance& s, double T) {
    if (!usable(T)) return refuse("气化潜热：温度无效");
    const dippr106& f = s.hvap;
    if (!inside(f.range, T)) return out_of_range("气化潜热", T, f.range);
    if (T >= f.Tc)
        return refuse("气化潜热：T = " + K_text(T) + " 不低于关联式的临界温度 " + K_text(f.Tc) +
                      "，无潜热，不适用");
    const double Tr = T / f.Tc;
    const double dHv = f.A * std::pow(1.0 - Tr, f.B + f.C * Tr + f.D * Tr * Tr + f.E * Tr * Tr * Tr);
    return give(dHv / s.M);  // J/mol ÷ kg/kmol = kJ/kg
}

outcome liquid_density(const substance& s, double T) {
    if (!usable(T)) return refuse("液体密度：温度无效");
    const liquid_density_fit& f = s.rhol;
    if (!inside(f.range, T)) return out_of_range("液体密度", T, f.range);
    if (f.form == density_form::dippr105) {
        const double rho_molar = f.A / std::pow(f.B, 1.0 + std::pow(1.0 - T / f.C, f.D));
        return give(rho_molar * s.M / 1000.0);  // mol/m³ × kg/kmol ÷ 1000 = kg/m³
    }
    const double tau = 1.0 - T / f.Tc;
    return give(f.rho_c + f.A * std::pow(tau, 0.35) + f.B * std::pow(tau, 2.0 / 3.0) + f.C * tau +
                f.D * std::pow(tau, 4.0 / 3.0));
}

outcome ideal_gas_k(const substance& s, double T) {
    if (!usable(T)) return refuse("绝热指数：温度无效");
    const ideal_cp_fit& f = s.cp;
    if (!inside(f.range, T)) return out_of_range("绝热指数", T, f.range);
    const double* a = f.a;
    double cp_R = 0.0;  // Cp/R
    if (f.form == cp_form::poly) {
        cp_R = a[0] + T * (a[1] + T * (a[2] + T * (a[3] + T * a[4])));
    } else {
        const double y = T > a[7] ? (T - a[7]) / (T + a[6]) : 0.0;
        const double y2 = y * y;
        const double y8 = y2 * y2 * y2 * y2;
        cp_R = a[0] + a[1] / (T * T) * std::exp(-a[2] / T) + a[3] * y2 +
               (a[4] - a[5] / ((T - a[7]) * (T - a[7]))) * y8;
    }
    return give(cp_R / (cp_R - 1.0));
}

outcome compressibility(const substance& s, double T, double P) {
    if (!usable(T) || !usable(P)) return refuse("压缩系数：温度或压力无效");
    const std::string na = std::string("压缩系数：") + not_applicable_near_critical;
    const double P_Pa = P * 1e6;
    if (T > 0.95 * s.Tc && T < 1.05 * s.Tc && P_Pa > 0.8 * s.Pc)
        return refuse(na + "（0.95 < Tr < 1.05 且 Pr > 0.8）");
    if (T < s.Tc) {
        const temperature_range& r = s.psat.range;
        if (T < r.T_min)
            return refuse("压缩系数：T = " + K_text(T) + " 低于饱和蒸气压关联式范围 " +
                          range_text(r) + "，无法判断是否冷凝");
        if (T <= r.T_max) {
            const double P_sat = std::exp(ln_psat(s.psat, T));
            if (P_Pa > P_sat * (1.0 + 1e-9))
                return refuse(na + "（P 高于 T 下的饱和蒸气压 " + MPa_text(P_sat / 1e6) +
                              "：液相）");
        }
    }

    const double Tr = T / s.Tc;
    const double kappa = 0.37464 + 1.54226 * s.omega - 0.26992 * s.omega * s.omega;
    const double sq = 1.0 + kappa * (1.0 - std::sqrt(Tr));
    const double a = 0.45724 * R * R * s.Tc * s.Tc / s.Pc * sq * sq;
    const double b = 0.07780 * R * s.Tc / s.Pc;
    const double RT = R * T;
    const double A = a * P_Pa / (RT * RT);
    const double B = b * P_Pa / RT;

    // Z³ + c2·Z² + c1·Z + c0 = 0, solved in closed form; the largest real root is the vapour's.
    const double c2 = -(1.0 - B);
    const double c1 = A - 3.0 * B * B - 2.0 * B;
    const double c0 = -(A * B - B * B - B * B * B);
    const double p = c1 - c2 * c2 / 3.0;
    const double q = 2.0 * c2 * c2 * c2 / 27.0 - c2 * c1 / 3.0 + c0;
    const double disc = q * q / 4.0 + p * p * p / 27.0;
    double Z = 0.0;
    bool three_roots = false;
    if (disc > 0) {
        const double sd = std::sqrt(disc);
        Z = std::cbrt(-q / 2.0 + sd) + std::cbrt(-q / 2.0 - sd) - c2 / 3.0;
    } else {
        three_roots = true;
        const double m = 2.0 * std::sqrt(-p / 3.0);
        const double arg = std::clamp(3.0 * q / (p * m), -1.0, 1.0);
        Z = m * std::cos(std::acos(arg) / 3.0) - c2 / 3.0;  // the largest of the three
    }
    // One Newton step polishes the closed form's rounding.
    const double f = ((Z + c2) * Z + c1) * Z + c0;
    const double df = (3.0 * Z + 2.0 * c2) * Z + c1;
    if (df != 0.0) Z -= f / df;
    // Below Tc a single root on the liquid side of the inflection (1 − B)/3 is a liquid: the
    // equation itself sees no vapour here.
    if (!three_roots && T < s.Tc && Z < (1.0 - B) / 3.0)
        return refuse(na + "（状态方程无气相根）");
    if (!(Z > B) || !std::isfinite(Z)) return refuse(na + "（状态方程无气相根）");
    return give(Z);
}

}  // namespace ventora::media
