#include "sizing/api520.h"

#include <cmath>

namespace ventora::sizing {
namespace {

// A result beyond the double range (inputs near 1E+308) is refused rather than let out.
api_area finish(api_area a, double A) {
    if (std::isfinite(A) && A > 0.0) {
        a.A = A;
    } else {
        a.why = refusal::out_of_range;
    }
    return a;
}

api_area refuse(refusal why) {
    api_area a;
    a.why = why;
    return a;
}

}  // namespace

const char* refusal_text(refusal why) {
    switch (why) {
        case refusal::capacity_not_positive:
            return "安全阀未得到大于 0 的排放能力 W，无法复核";
        case refusal::relief_rate_not_positive:
            return "安全泄放量 W_{s} 不大于 0，无法复核";
        case refusal::input_not_positive:
            return "介质参数无意义（M、T、Z、ρ 或泄放压力不大于 0，或背压小于 0）";
        case refusal::k_not_above_one:
            return "绝热指数 k ≤ 1，API 520 的系数 C 与 F_{2} 无意义";
        case refusal::outlet_not_below_inlet:
            return "背压不低于泄放压力（P_{1} ≤ P_{2}），不会排放";
        case refusal::steam_beyond_kn:
            return "泄放压力 P_{1} 超过 22057 kPa，API 520 的饱和蒸汽修正系数 K_{N} 无定义";
        case refusal::out_of_range:
            return "数值超出计算范围";
    }
    return "";
}

const char* refusal_code(refusal why) {
    switch (why) {
        case refusal::capacity_not_positive:
            return "W_not_positive";
        case refusal::relief_rate_not_positive:
            return "Ws_not_positive";
        case refusal::input_not_positive:
            return "input_not_positive";
        case refusal::k_not_above_one:
            return "k_not_above_1";
        case refusal::outlet_not_below_inlet:
            return "P1_not_above_P2";
        case refusal::steam_beyond_kn:
            return "steam_above_22057_kPa";
        case refusal::out_of_range:
            return "out_of_range";
    }
    return "";
}

api_area api520_gas_area(double W, double T, double Z, double M, double k, double P1, double P2,
                         double K_d) {
    if (!(W > 0.0)) return refuse(refusal::relief_rate_not_positive);
    if (!(M > 0.0 && T > 0.0 && Z > 0.0 && P1 > 0.0 && P2 >= 0.0 && K_d > 0.0)) {
        return refuse(refusal::input_not_positive);
    }
    if (!(k > 1.0)) return refuse(refusal::k_not_above_one);
    if (!(P1 > P2)) return refuse(refusal::outlet_not_below_inlet);
    constexpr double K_b = 1.0, K_c = 1.0;
    api_area a;
    // One power for each regime, from k/(k−1) = 1 + 1/(k−1) and (k+1)/(k−1) = 1 + 2/(k−1):
    // with u = (2/(k+1))^(1/(k−1)), r_c = (2/(k+1))·u and (2/(k+1))^((k+1)/(k−1)) = (2/(k+1))·u²;
    // with v = r^(1/k), r^(2/k) = v² and r^((k−1)/k) = r/v.
    const double ratio = 2.0 / (k + 1.0);
    const double u = std::pow(ratio, 1.0 / (k - 1.0));
    a.r = P2 / P1;
    a.r_c = ratio * u;
    if (a.r <= a.r_c) {
        a.regime = flow_regime::critical;
        a.C = 0.03948 * std::sqrt(k * (ratio * u * u));
        return finish(a, W / (a.C * K_d * P1 * K_b * K_c) * std::sqrt(T * Z / M));
    }
    a.regime = flow_regime::subcritical;
    const double v = std::pow(a.r, 1.0 / k);
    a.F2 = std::sqrt((k / (k - 1.0)) * (v * v) * (1.0 - a.r / v) / (1.0 - a.r));
    return finish(a, 17.9 * W / (a.F2 * K_d * K_c) * std::sqrt(T * Z / (M * P1 * (P1 - P2))));
}

api_area api520_steam_area(double W, double P1, double K_d) {
    if (!(W > 0.0)) return refuse(refusal::relief_rate_not_positive);
    if (!(P1 > 0.0 && K_d > 0.0)) return refuse(refusal::input_not_positive);
    if (!(P1 <= 22057.0)) return refuse(refusal::steam_beyond_kn);
    constexpr double K_b = 1.0, K_c = 1.0, K_SH = 1.0;
    api_area a;
    a.K_N = P1 <= 10339.0 ? 1.0 : (0.02764 * P1 - 1000.0) / (0.03324 * P1 - 1061.0);
    return finish(a, 190.5 * W / (P1 * K_d * K_b * K_c * a.K_N * K_SH));
}

api_area api520_liquid_area(double W, double rho, double P1, double P2, double K_d) {
    if (!(W > 0.0)) return refuse(refusal::relief_rate_not_positive);
    if (!(rho > 0.0 && P1 > 0.0 && P2 >= 0.0 && K_d > 0.0)) {
        return refuse(refusal::input_not_positive);
    }
    if (!(P1 > P2)) return refuse(refusal::outlet_not_below_inlet);
    constexpr double K_w = 1.0, K_c = 1.0, K_v = 1.0;
    api_area a;
    a.Q = W / rho * 1000.0 / 60.0;  // kg/h → m³/h → L/h → L/min
    a.G = rho / 1000.0;
    a.dP = P1 - P2;
    return finish(a, 11.78 * a.Q / (K_d * K_w * K_c * K_v) * std::sqrt(a.G / a.dP));
}

std::optional<orifice> smallest_orifice(double A) {
    for (const orifice& o : api526_orifices) {
        if (A <= o.area) return o;
    }
    return std::nullopt;
}

}  // namespace ventora::sizing
