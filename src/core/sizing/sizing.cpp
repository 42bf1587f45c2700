#include "sizing/sizing.h"

#include <cmath>
#include <utility>

#include "regulation/discharge.h"

namespace ventora::sizing {
namespace {

using valve::valve_medium;

std::string f(double x) { return format_double(x); }

// Steps are only formatted when there is a book to take them.
void add_step(account::account* book, std::string title, std::string formula,
              std::string substituted, std::string value, std::string unit, std::string note = {}) {
    book->steps.push_back({std::move(title), std::move(formula), std::move(substituted),
                           std::move(value), std::move(unit), std::move(note)});
}

void add_input(account::account* book, const char* symbol, const char* name, const char* unit,
               const number& value) {
    book->inputs.push_back({symbol, name, unit, std::nullopt, value});
}

const char* regime_text(flow_regime regime) {
    return regime == flow_regime::critical ? "临界流动" : "亚临界流动";
}

std::optional<double> positive_finite(double x) {
    if (std::isfinite(x) && x > 0.0) return x;
    return std::nullopt;
}

// The API steps that lead to one area: the intermediate figures once (with_intermediates), then
// the area with the given K_d.
void explain_area(account::account* book, valve_medium medium, const valve_sizing_input& in,
                  double W_s, double P1, double P2, double K_d, const api_area& a,
                  bool with_intermediates, const std::string& title) {
    const double T = value_or_zero(in.in.T), Z = value_or_zero(in.in.Z), M = value_or_zero(in.in.M),
                 k = value_or_zero(in.in.k), rho = value_or_zero(in.in.rho);
    const std::string A = a.A ? f(*a.A) : std::string("无结果");
    switch (medium) {
        case valve_medium::gas:
            if (with_intermediates) {
                add_step(
                    book, "临界压力比", "r_{c} = (2/(k+1))^{k/(k−1)}",
                    "r_{c} = (2/(" + f(k) + "+1))^{" + f(k) + "/(" + f(k) + "−1)} = " + f(a.r_c),
                    f(a.r_c), "");
                add_step(book, "压力比", "r = P_{2}/P_{1}",
                         "r = " + f(P2) + "/" + f(P1) + " = " + f(a.r), f(a.r), "",
                         std::string(*a.regime == flow_regime::critical ? "r ≤ r_{c}，"
                                                                        : "r > r_{c}，") +
                             regime_text(*a.regime));
                if (*a.regime == flow_regime::critical) {
                    add_step(book, "API 520 系数", "C_{API} = 0.03948·√(k·(2/(k+1))^{(k+1)/(k−1)})",
                             "C_{API} = 0.03948·√(" + f(k) + "·(2/(" + f(k) + "+1))^{(" + f(k) + "+1)/(" +
                                 f(k) + "−1)}) = " + f(a.C),
                             f(a.C), "");
                } else {
                    add_step(book, "亚临界系数",
                             "F_{2} = √((k/(k−1))·r^{2/k}·(1−r^{(k−1)/k})/(1−r))",
                             "F_{2} = √((" + f(k) + "/(" + f(k) + "−1))·" + f(a.r) + "^{2/" + f(k) +
                                 "}·(1−" + f(a.r) + "^{(" + f(k) + "−1)/" + f(k) + "})/(1−" +
                                 f(a.r) + ")) = " + f(a.F2),
                             f(a.F2), "");
                }
            }
            if (*a.regime == flow_regime::critical) {
                add_step(book, title, "A = W_{s}/(C_{API}·K_{d}·P_{1}·K_{b}·K_{c})·√(T·Z/M)",
                         "A = " + f(W_s) + "/(" + f(a.C) + "·" + f(K_d) + "·" + f(P1) + "·1·1)·√(" +
                             f(T) + "·" + f(Z) + "/" + f(M) + ") = " + A,
                         A, "mm^{2}");
            } else {
                add_step(book, title,
                         "A = 17.9·W_{s}/(F_{2}·K_{d}·K_{c})·√(T·Z/(M·P_{1}·(P_{1}−P_{2})))",
                         "A = 17.9·" + f(W_s) + "/(" + f(a.F2) + "·" + f(K_d) + "·1)·√(" + f(T) +
                             "·" + f(Z) + "/(" + f(M) + "·" + f(P1) + "·(" + f(P1) + "−" + f(P2) +
                             "))) = " + A,
                         A, "mm^{2}");
            }
            break;
        case valve_medium::saturated_steam:
            if (with_intermediates) {
                if (P1 <= 10339.0) {
                    add_step(book, "高压修正系数", "K_{N} = 1", "K_{N} = 1", "1", "",
                             "P_{1} ≤ 10339 kPa");
                } else {
                    add_step(book, "高压修正系数",
                             "K_{N} = (0.02764·P_{1}−1000)/(0.03324·P_{1}−1061)",
                             "K_{N} = (0.02764·" + f(P1) + "−1000)/(0.03324·" + f(P1) +
                                 "−1061) = " + f(a.K_N),
                             f(a.K_N), "", "10339 < P_{1} ≤ 22057 kPa");
                }
            }
            add_step(book, title, "A = 190.5·W_{s}/(P_{1}·K_{d}·K_{b}·K_{c}·K_{N}·K_{SH})",
                     "A = 190.5·" + f(W_s) + "/(" + f(P1) + "·" + f(K_d) + "·1·1·" + f(a.K_N) +
                         "·1) = " + A,
                     A, "mm^{2}");
            break;
        case valve_medium::liquid:
            if (with_intermediates) {
                add_step(book, "体积流量", "Q = W_{s}/ρ·1000/60",
                         "Q = " + f(W_s) + "/" + f(rho) + "·1000/60 = " + f(a.Q), f(a.Q), "L/min");
                add_step(book, "相对密度", "G = ρ/1000", "G = " + f(rho) + "/1000 = " + f(a.G),
                         f(a.G), "");
                add_step(book, "压差", "ΔP = P_{1}−P_{2}",
                         "ΔP = " + f(P1) + "−" + f(P2) + " = " + f(a.dP), f(a.dP), "kPa");
            }
            add_step(book, title, "A = 11.78·Q/(K_{d}·K_{w}·K_{c}·K_{v})·√(G/ΔP)",
                     "A = 11.78·" + f(a.Q) + "/(" + f(K_d) + "·1·1·1)·√(" + f(a.G) + "/" + f(a.dP) +
                         ") = " + A,
                     A, "mm^{2}");
            break;
    }
}

api_area api_area_for(valve_medium medium, const valve_sizing_input& in, double W_s, double P1,
                      double P2, double K_d) {
    switch (medium) {
        case valve_medium::gas:
            return api520_gas_area(W_s, value_or_zero(in.in.T), value_or_zero(in.in.Z),
                                   value_or_zero(in.in.M), value_or_zero(in.in.k), P1, P2, K_d);
        case valve_medium::saturated_steam:
            return api520_steam_area(W_s, P1, K_d);
        case valve_medium::liquid:
            return api520_liquid_area(W_s, value_or_zero(in.in.rho), P1, P2, K_d);
    }
    return {};
}

void fill_inputs(account::account* book, const valve_sizing_input& in) {
    add_input(book, "A", "安全阀排放面积", "mm^{2}", in.A);
    add_input(book, "W", "安全阀排放能力", "kg/h", in.W);
    add_input(book, "W_{s}", "安全泄放量", "kg/h", static_cast<double>(in.W_s));
    add_input(book, "K", "安全阀排放系数", "", in.K);
    add_input(book, "P_{d}", "排放压力（绝压）", "MPa", in.P_d);
    switch (in.medium) {
        case valve_medium::gas:
            add_input(book, "C", "气体特性系数", "", in.in.C);
            add_input(book, "P_{s}", "整定压力", "MPa", in.in.Ps);
            add_input(book, "P_{o}", "出口侧压力（绝压）", "MPa", in.in.Po);
            add_input(book, "M", "气体摩尔质量", "kg/kmol", in.in.M);
            add_input(book, "T", "气体温度", "K", in.in.T);
            add_input(book, "Z", "气体压缩系数", "", in.in.Z);
            add_input(book, "k", "气体绝热指数", "", in.in.k);
            break;
        case valve_medium::saturated_steam:
            break;
        case valve_medium::liquid:
            add_input(book, "P_{o}", "出口侧压力（绝压）", "MPa", in.in.Po);
            add_input(book, "ρ", "液体密度", "kg/m^{3}", in.in.rho);
            break;
    }
}

const char* assumptions(valve_medium medium) {
    switch (medium) {
        case valve_medium::gas:
            return "K_{b} = K_{c} = 1";
        case valve_medium::saturated_steam:
            return "K_{b} = K_{c} = 1，K_{SH} = 1";
        case valve_medium::liquid:
            return "K_{w} = K_{c} = K_{v} = 1";
    }
    return "";
}

const char* assumption_note(valve_medium medium) {
    switch (medium) {
        case valve_medium::gas:
            return "不计背压修正，安全阀前未设爆破片";
        case valve_medium::saturated_steam:
            return "不计背压修正，安全阀前未设爆破片；饱和蒸汽，无过热修正";
        case valve_medium::liquid:
            return "不计背压与黏度修正，安全阀前未设爆破片";
    }
    return "";
}

constexpr const char* verdict_statement =
    "校核结论以本规定的排放能力校核为准；API 520 的数值仅为独立复核，供参考";

}  // namespace

const char* gap_text(gap_reason why) {
    switch (why) {
        case gap_reason::subcritical_gas:
            return "亚临界流动：本规定由整定压力求压力比 r = P_{o}/P_{s}，API 520 由泄放压力求 "
                   "r = P_{2}/P_{1}，故本规定的排放能力较低、所需面积较大";
        case gap_reason::typed_C_differs:
            return "输入的气体特性系数 C 与绝热指数 k 不相符（API 520 的系数由 k 算出）";
        case gap_reason::unexplained:
            return "差异超出两种方法常数之差（约 0.2 %），请核对输入";
    }
    return "";
}

const char* gap_code(gap_reason why) {
    switch (why) {
        case gap_reason::subcritical_gas:
            return "subcritical_gas";
        case gap_reason::typed_C_differs:
            return "C_differs_from_k";
        case gap_reason::unexplained:
            return "unexplained";
    }
    return "";
}

std::string orifice_text(const api520_check& check) {
    if (check.orifice) return std::string(1, *check.orifice);
    if (check.beyond_largest_orifice) return "T 以上";
    return {};
}

valve_sizing size_valve(const valve_sizing_input& in, account::account* book) {
    valve_sizing out;
    api520_check& api = out.api520;
    const double A = value_or_zero(in.A), W = value_or_zero(in.W);
    const double W_s = static_cast<double>(in.W_s);
    if (book) {
        book->title = "选型与复核（参考）";
        fill_inputs(book, in);
    }
    if (!(W > 0.0 && A > 0.0)) {
        api.reason = refusal::capacity_not_positive;
    } else if (!(W_s > 0.0)) {
        api.reason = refusal::relief_rate_not_positive;
    }
    if (api.reason) {
        if (book) {
            book->refused_by = W > 0.0 && A > 0.0 ? "W_{s} > 0" : "W > 0";
            book->refusal = refusal_text(*api.reason);
        }
        return out;
    }

    out.A_min = positive_finite(A * W_s / W);
    out.margin = positive_finite(W / W_s);
    if (out.A_min && in.type == valve::valve_type::full_lift) {
        out.d1_min = positive_finite(std::sqrt(*out.A_min / regulation::full_lift_area_factor));
    }
    if (book) {
        add_step(book, "所需最小排放面积", "A_{min} = A·W_{s}/W",
                 "A_{min} = " + f(A) + "·" + format_single(in.W_s) + "/" + f(W) + " = " +
                     format_double(out.A_min),
                 format_double(out.A_min), "mm^{2}", "排放能力与排放面积成正比");
        if (out.d1_min) {
            add_step(book, "所需最小喉径", "d_{1min} = √(A_{min}/(0.25·3.14))",
                     "d_{1min} = √(" + f(*out.A_min) + "/(0.25·3.14)) = " + f(*out.d1_min),
                     f(*out.d1_min), "mm", "由 A = 0.25·3.14·d_{1}^{2} 反算");
        }
    }

    const double P1 = 1000.0 * in.P_d;
    const double P2 = 1000.0 * value_or_zero(in.in.Po);
    const double own_K_d = in.medium == valve_medium::liquid ? api_K_d_liquid : api_K_d_vapour;
    const api_area same = api_area_for(in.medium, in, W_s, P1, P2, in.K);
    // Every API area is W/K_d times a figure of the medium, so API's own K_d scales the
    // like-with-like area rather than running the formula (and its powers) a second time.
    std::optional<double> own_A;
    if (same.A) own_A = positive_finite(*same.A * in.K / own_K_d);
    if (book) {
        add_step(book, "API 520 泄放压力", "P_{1} = 1000·P_{d}",
                 "P_{1} = 1000·" + f(in.P_d) + " = " + f(P1), f(P1), "kPa",
                 "P_{d} 为本规定同一介质的排放压力（绝压）");
        if (in.medium != valve_medium::saturated_steam) {
            add_step(book, "API 520 背压", "P_{2} = 1000·P_{o}",
                     "P_{2} = 1000·" + format_double(in.in.Po) + " = " + f(P2), f(P2), "kPa");
        }
    }
    if (!same.A || !own_A) {
        api.reason = same.why.value_or(refusal::out_of_range);
        if (book) {
            add_step(book, "API 520 复核", "", "", "无结果", "", refusal_text(*api.reason));
            book->conclusion = verdict_statement;
        }
        return out;
    }
    api.api_regime = same.regime;
    api.area_same_K = same.A;
    api.area = own_A;
    if (const auto o = smallest_orifice(*own_A)) {
        api.orifice = o->letter;
    } else {
        api.beyond_largest_orifice = true;
    }
    if (out.A_min) api.ratio = positive_finite(*same.A / *out.A_min);
    if (api.ratio && std::fabs(*api.ratio - 1.0) > agreement_tolerance) {
        // The regulation's own flow test is only asked here, where a gap needs its reason: it
        // costs more than the rest of the sizing together.
        const bool subcritical =
            in.medium == valve_medium::gas && (api.api_regime == flow_regime::subcritical ||
                                               !valve::regulation_gas_flow(in.in).critical);
        // Critical gas: the regulation's 0.076·C against API's 1000·C for the same k, 1.001 when
        // C belongs to k.
        const bool C_differs = !subcritical && in.medium == valve_medium::gas &&
                               std::fabs(regulation::gas_critical_coefficient * value_or_zero(in.in.C) / (1000.0 * same.C) - 1.0) >
                                   agreement_tolerance;
        api.gap = subcritical ? gap_reason::subcritical_gas
                  : C_differs ? gap_reason::typed_C_differs
                              : gap_reason::unexplained;
    }

    if (book) {
        explain_area(book, in.medium, in, W_s, P1, P2, in.K, same, true,
                     "API 520 所需面积（K_{d} = K）");
        api_area own = same;
        own.A = own_A;
        explain_area(book, in.medium, in, W_s, P1, P2, own_K_d, own, false,
                     "API 520 所需面积（K_{d} = " + f(own_K_d) + "）");
        const std::string letter = orifice_text(api);
        add_step(book, "API 526 喷嘴", "A_{526} ≥ A", "A = " + f(*own_A), letter, "",
                 api.orifice ? "有效面积 " + f(smallest_orifice(*own_A)->area) + " mm^{2}"
                             : std::string("超出最大喷嘴 T（16774 mm^{2}）"));
        add_step(book, "假设", assumptions(in.medium), assumptions(in.medium), "", "",
                 assumption_note(in.medium));
        if (api.ratio) {
            std::string note = api.gap ? std::string("差异超过 1 %：A_{min} = ") + f(*out.A_min) +
                                             " mm^{2}，API 520（K_{d} = K）A = " + f(*same.A) +
                                             " mm^{2}；" + gap_text(*api.gap)
                                       : std::string("两者相差不超过 1 %");
            add_step(book, "面积比", "A_{API}/A_{min}",
                     f(*same.A) + "/" + f(*out.A_min) + " = " + f(*api.ratio), f(*api.ratio), "",
                     std::move(note));
        }
        book->conclusion = verdict_statement;
    }
    return out;
}

std::optional<double> disc_min_bore(const number& A, account::account* book) {
    const double area = value_or_zero(A);
    std::optional<double> d;
    if (area > 0.0) d = positive_finite(std::sqrt(area / regulation::full_lift_area_factor));
    if (book) {
        book->title = "选型与复核（参考）";
        add_input(book, "A", "爆破片最小排放面积", "mm^{2}", A);
        if (d) {
            add_step(book, "最小泄放口径", "d_{min} = √(A/(0.25·3.14))",
                     "d_{min} = √(" + f(area) + "/(0.25·3.14)) = " + f(*d), f(*d), "mm",
                     "由 A = 0.25·3.14·d^{2} 反算");
            book->conclusion = "d_{min} = " + f(*d) + " mm";
        } else {
            book->refused_by = "A > 0";
            book->refusal = "爆破片排放面积不大于 0，无法求口径";
        }
    }
    return d;
}

std::optional<valve_sizing> size_after_press(const valve::valve_press_input& press,
                                             const valve::valve_press_result& result, float W_s,
                                             account::account* book) {
    if (result.status != valve::press_status::checked || press.without_data || !press.type ||
        !press.medium || !result.K || value_or_zero(result.capacity) <= 0)
        return std::nullopt;
    valve_sizing_input in;
    in.medium = *press.medium;
    in.type = *press.type;
    in.K = *result.K;
    in.A = result.area;
    in.W = result.capacity;
    in.W_s = W_s;
    in.in = press.capacity;
    in.P_d = value_or_zero(valve::discharge_pressure(*press.medium, press.capacity.Ps));
    return size_valve(in, book);
}

}  // namespace ventora::sizing
