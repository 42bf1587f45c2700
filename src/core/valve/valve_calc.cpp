#include "valve/valve_calc.h"

#include "account/steps.h"
#include "numbers/checked.h"
#include "regulation/discharge.h"

namespace ventora::valve {
namespace {

// Discharge coefficient of the valve type.
double discharge_coefficient(valve_type type) {
    switch (type) {
        case valve_type::full_lift: return 0.65;
        case valve_type::micro_lift_ring: return 0.45;
        case valve_type::micro_lift_plain: return 0.3;
    }
    return 0.0;
}

const char* type_caption(valve_type type) {
    switch (type) {
        case valve_type::full_lift: return "全启式安全阀";
        case valve_type::micro_lift_ring: return "带调节圈的微启式安全阀";
        case valve_type::micro_lift_plain: return "无调节圈的微启式安全阀";
    }
    return "";
}

const char* medium_caption(valve_medium medium) {
    switch (medium) {
        case valve_medium::gas: return "气体";
        case valve_medium::saturated_steam: return "饱和蒸气";
        case valve_medium::liquid: return "液体";
    }
    return "";
}

checked discharge_pressure_term(valve_medium medium, const number& Ps) {
    switch (medium) {
        case valve_medium::gas: return 1.1 * checked(Ps) + 0.1;
        case valve_medium::saturated_steam: return 1.03 * checked(Ps) + 0.1;
        case valve_medium::liquid: return 1.2 * checked(Ps) + 0.1;
    }
    return checked::fault();
}

using account::term;
using account::used;

}  // namespace

// Flow area A in mm², rounded down (Int), products left to right, π = 3.14:
//   full lift:            A = Int((0.25 × 3.14) × d1 × d1)        (no seal face used)
//   micro-lift, flat:     A = Int(3.14 × D × d1 / 25)             (bore D, throat d1; no lift)
//   micro-lift, conical:  A = Int(3.14 × d1 × h × sin(φ × 3.14 / 180))
// d1, D, h in mm, φ the half-cone angle in degrees. Negative and fractional inputs are accepted;
// Int rounds toward minus infinity (−0.2 gives −1), and the caller refuses A ≤ 0.
// Examples: full lift d1 = 50 gives Int(1962.5) = 1962; flat D = 60, d1 = 50 gives 376;
// conical d1 = 50, h = 2.5, φ = 45 gives 277.
area_result valve_flow_area(valve_type type, std::optional<seal_face> face, const number& d1,
                            const number& D, const number& h, const number& phi,
                            account::account* acc) {
    area_result r;
    r.K = discharge_coefficient(type);
    if (acc) acc->steps.push_back({"排放系数", "K", {}, format_double(r.K), {}, type_caption(type)});
    const char* formula = nullptr;
    std::string substituted;
    checked raw = checked::fault();
    if (type == valve_type::full_lift) {
        raw = regulation::full_lift_area_factor * checked(d1) * d1;
        if (acc) {
            formula = "A = 0.25·3.14·d_{1}^{2}";
            substituted = "A = 0.25·3.14·" + used(d1) + "^{2}";
        }
    } else if (face == seal_face::flat) {
        raw = 3.14 * checked(D) * d1 / 25.0;
        if (acc) {
            formula = "A = 3.14·D·d_{1}/25";
            substituted = "A = 3.14·" + used(D) + "·" + used(d1) + "/25";
        }
    } else if (face == seal_face::conical) {
        raw = 3.14 * checked(d1) * h * sin(checked(phi) * 3.14 / 180.0);
        if (acc) {
            formula = "A = 3.14·d_{1}·h·sin(φ·3.14/180)";
            substituted = "A = 3.14·" + used(d1) + "·" + used(h) + "·sin(" + used(phi) + "·3.14/180)";
        }
    } else {
        r.no_seal_face = true;
        return r;
    }
    assign(r.A, floor(raw));
    if (acc)
        acc->steps.push_back({"排放面积", formula, substituted + " = " + term(raw),
                              format_double(r.A), "mm^{2}", "向下取整"});
    return r;
}

gas_flow_test regulation_gas_flow(const capacity_inputs& in) {
    using namespace regulation;
    gas_flow_test t;
    number a;
    assign(t.r, checked(in.Po) / in.Ps);
    assign(t.e, k_over_k_minus_one(in.k));
    assign(a, two_over_k_plus_one(in.k));
    const checked r_c = critical_pressure_ratio(a, t.e);
    assign(t.r_c, r_c);
    t.critical = static_cast<bool>(checked(t.r) <= r_c);
    return t;
}

number discharge_pressure(valve_medium medium, const number& Ps) {
    number Pd;
    assign(Pd, discharge_pressure_term(medium, Ps));
    return Pd;
}

// Discharge capacity W in kg/h (1999年版《容规》), K the discharge coefficient, A in mm², pressures
// in MPa (Ps the set pressure, gauge; Po the outlet-side pressure, absolute). Each formula forms
// its own discharge pressure from Ps: 1.1·Ps + 0.1 for gas, 1.03·Ps + 0.1 for steam,
// 1.2·Ps + 0.1 for liquid.
//   Gas, with r = Po / Ps (the set pressure as typed) and critical when r ≤ (2/(k+1))^(k/(k−1)):
//     critical     W = Int(0.076 · K · C · (1.1·Ps + 0.1) · A · √(M / (Z·T)))
//     subcritical  W1 = Int(55.84 · K · (1.1·Ps + 0.1) · A · √(M / (Z·T))),
//                  ψ = √(k/(k−1) · (r^(2/k) − r^((k+1)/k))) in single precision, W = W1 · ψ
//                  (not rounded).
//     A flow test that cannot be evaluated counts as critical flow.
//   Saturated steam, Pd = 1.03·Ps + 0.1:
//     Pd ≤ 10      W = Int(5.25 · K · A · Pd)
//     Pd > 10      X = Int(5.25 · K · A · Pd) in single precision,
//                  W = X · (190.6·Pd − 6895) / (229.2·Pd − 7315) (not rounded; press_next refuses
//                  Pd above water's critical pressure, where the factor means nothing).
//   Liquid:        W = Int(5.1 · K · A · √(ρ · ((1.2·Ps + 0.1) − Po)))
// A formula that faults (Z·T = 0, the root of a negative number, ...) leaves W unset.
// Examples with K = 0.65, A = 1962: gas C = 356, Ps = 1, M = 29, T = 300, Z = 1, k = 1.4,
// Po = 0.1 gives 12873, with Po = 0.8 gives 10533.2059624493; steam Ps = 1 gives 7565, Ps = 12
// gives 84563.3769465515; liquid ρ = 1000, Ps = 1, Po = 0.1 gives 225306.
number valve_discharge_capacity(valve_medium medium, double K, const number& A,
                                const capacity_inputs& in, account::account* acc) {
    using namespace regulation;
    number W;
    auto add = [acc](account::step s) {
        if (acc) acc->steps.push_back(std::move(s));
    };
    switch (medium) {
        case valve_medium::gas: {
            const gas_flow_test flow = regulation_gas_flow(in);
            const number& r = flow.r;
            const number& e = flow.e;
            const bool critical = flow.critical;
            const checked Pd = discharge_pressure_term(medium, in.Ps);
            const checked root = sqrt(checked(in.M) / (checked(in.Z) * in.T));
            if (acc) {
                if (acc) add({"排放压力", "P_{d} = 1.1·P_{s} + 0.1", "P_{d} = 1.1·" + used(in.Ps) + " + 0.1",
                     term(Pd), "MPa", {}});
                if (acc) add({"压力比", "r = P_{o}/P_{s}", "r = " + used(in.Po) + "/" + used(in.Ps),
                     format_double(r), {}, {}});
                if (acc) add({"临界压力比", "r_{c} = (2/(k+1))^{k/(k−1)}",
                     "r_{c} = (2/(" + used(in.k) + "+1))^{" + used(in.k) + "/(" + used(in.k) + "−1)}",
                     account::shown(flow.r_c), {}, {}});
                if (acc) add({"流动状态", critical ? "r ≤ r_{c}" : "r > r_{c}",
                     format_double(r) + (critical ? " ≤ " : " > ") + account::shown(flow.r_c),
                     critical ? "临界流动" : "亚临界流动", {}, {}});
            }
            if (critical) {
                const checked raw = gas_critical_coefficient * checked(K) * in.C * Pd * A * root;
                assign(W, floor(raw));
                if (acc) add({"排放能力", "W = 0.076·K·C·P_{d}·A·√(M/(Z·T))",
                     "W = 0.076·" + format_double(K) + "·" + used(in.C) + "·" + term(Pd) + "·" +
                         used(A) + "·√(" + used(in.M) + "/(" + used(in.Z) + "·" + used(in.T) +
                         ")) = " + term(raw),
                     format_double(W), "kg/h", "向下取整"});
            } else {
                number W1;
                std::optional<float> psi;
                const checked raw = gas_subcritical_coefficient * checked(K) * Pd * A * root;
                assign(W1, floor(raw));
                assign(psi, subcritical_factor(e, r, in.k));
                assign(W, checked(W1) * psi);
                if (acc) {
                    if (acc) add({"排放能力（未修正）", "W_{1} = 55.84·K·P_{d}·A·√(M/(Z·T))",
                         "W_{1} = 55.84·" + format_double(K) + "·" + term(Pd) + "·" + used(A) +
                             "·√(" + used(in.M) + "/(" + used(in.Z) + "·" + used(in.T) + ")) = " +
                             term(raw),
                         format_double(W1), "kg/h", "向下取整"});
                    if (acc) add({"亚临界系数", "ψ = √(k/(k−1)·(r^{2/k} − r^{(k+1)/k}))",
                         "ψ = √(" + format_double(e) + "·(" + format_double(r) + "^{2/" +
                             used(in.k) + "} − " + format_double(r) + "^{(" + used(in.k) + "+1)/" +
                             used(in.k) + "}))",
                         format_single(psi), {}, {}});
                    if (acc) add({"排放能力", "W = W_{1}·ψ",
                         "W = " + format_double(W1) + "·" + format_single(psi), format_double(W),
                         "kg/h", {}});
                }
            }
            break;
        }
        case valve_medium::saturated_steam: {
            const checked Pd = discharge_pressure_term(medium, in.Ps);
            if (acc) add({"排放压力", "P_{d} = 1.03·P_{s} + 0.1", "P_{d} = 1.03·" + used(in.Ps) + " + 0.1",
                 term(Pd), "MPa", {}});
            const checked raw = steam_coefficient * checked(K) * A * Pd;
            const std::string substituted =
                acc ? "5.25·" + format_double(K) + "·" + used(A) + "·" + term(Pd) + " = " + term(raw)
                    : std::string();
            if (Pd <= steam_correction_from) {
                assign(W, floor(raw));
                if (acc) add({"排放能力", "W = 5.25·K·A·P_{d}（P_{d} ≤ 10 MPa）", "W = " + substituted,
                     format_double(W), "kg/h", "向下取整"});
            } else {
                std::optional<float> X;
                number F;
                assign(X, floor(raw));
                assign(F, steam_correction_numerator(Pd) / steam_correction_denominator(Pd));
                assign(W, checked(X) * F);
                if (acc) {
                    if (acc) add({"排放能力（未修正）", "X = 5.25·K·A·P_{d}", "X = " + substituted,
                         format_single(X), "kg/h", "向下取整"});
                    if (acc) add({"高压修正系数（P_{d} > 10 MPa）", "F = (190.6·P_{d} − 6895)/(229.2·P_{d} − 7315)",
                         "F = (190.6·" + term(Pd) + " − 6895)/(229.2·" + term(Pd) + " − 7315)",
                         format_double(F), {}, {}});
                    if (acc) add({"排放能力", "W = X·F", "W = " + format_single(X) + "·" + format_double(F),
                         format_double(W), "kg/h", {}});
                }
            }
            break;
        }
        case valve_medium::liquid: {
            const checked Pd = discharge_pressure_term(medium, in.Ps);
            const checked raw = liquid_coefficient * checked(K) * A * sqrt(checked(in.rho) * (Pd - in.Po));
            assign(W, floor(raw));
            if (acc) {
                if (acc) add({"排放压力", "P_{d} = 1.2·P_{s} + 0.1", "P_{d} = 1.2·" + used(in.Ps) + " + 0.1",
                     term(Pd), "MPa", {}});
                if (acc) add({"排放能力", "W = 5.1·K·A·√(ρ·(P_{d} − P_{o}))",
                     "W = 5.1·" + format_double(K) + "·" + used(A) + "·√(" + used(in.rho) + "·(" +
                         term(Pd) + " − " + used(in.Po) + ")) = " + term(raw),
                     format_double(W), "kg/h", "向下取整"});
            }
            break;
        }
    }
    return W;
}

// Fails when W < W_s and passes when W ≥ W_s (equality passes). A capacity that is unset or not
// above 0 never passes, whatever W_s holds: no computed capacity is no proof of one.
check_result capacity_check(const number& W, float vessel_ws, account::account* acc) {
    check_result r;
    r.valve_capacity = W;
    const double capacity = value_or_zero(W);
    const double W_s = static_cast<double>(vessel_ws);
    r.outcome = (capacity <= 0 || capacity < W_s) ? verdict::fail : verdict::pass;
    if (acc) {
        const bool pass = r.outcome == verdict::pass;
        const std::string verdict_text = pass ? "合格" : "不合格";
        acc->steps.push_back({"校核", "W ≥ W_{s}",
                              format_double(W) + (pass ? " ≥ " : " < ") + format_double(W_s),
                              verdict_text, {}, capacity <= 0 ? "排放能力未算出或不大于 0" : ""});
        if (capacity > 0 && W_s > 0) {
            acc->steps.push_back({"裕量", "W/W_{s}",
                                  format_double(W) + "/" + format_double(W_s),
                                  format_double(capacity / W_s), {}, {}});
        }
        acc->conclusion = "W = " + format_double(W) + " kg/h，W_{s} = " + format_double(W_s) +
                          " kg/h，" + verdict_text;
    }
    return r;
}

valve_press_result press_next(const valve_press_input& in, float vessel_ws, account::account* acc) {
    valve_press_result out;
    // At most three boxes: the area, the capacity and the verdict. Each text is built in place.
    out.messages.reserve(3);
    const auto message_with_number = [&out](const char* prompt, const number& value) {
        std::string& text = out.messages.emplace_back();
        text.reserve(std::char_traits<char>::length(prompt) + 24);
        text += prompt;
        text += format_double(value);
    };
    number W;
    if (acc) acc->title = "安全阀";
    if (!in.without_data) {
        if (acc) {
            account::add_choice(acc, "安全阀形式", in.type ? type_caption(*in.type) : "未选择");
            account::add_choice(acc, "介质", in.medium ? medium_caption(*in.medium) : "未选择");
        }
        if (!in.type) {
            out.status = press_status::no_valve_type;
            out.messages.emplace_back(msg_no_valve_type);
            account::refuse(acc, "未选择安全阀形式", msg_no_valve_type);
            return out;
        }
        if (!in.medium) {
            out.status = press_status::no_medium;
            out.messages.emplace_back(msg_no_medium);
            account::refuse(acc, "未选择介质类型", msg_no_medium);
            return out;
        }
        if (acc) {
            if (*in.type == valve_type::full_lift) {
                account::add_number(acc, "d_{1}", "安全阀喉径", "mm", in.d1);
            } else {
                account::add_choice(acc, "密封面形式",
                                    !in.face ? "未选择"
                                    : *in.face == seal_face::flat ? "平面型密封面"
                                                                  : "锥形密封面");
                account::add_number(acc, "d_{1}", "安全阀喉径", "mm", in.d1);
                if (in.face == seal_face::flat) account::add_number(acc, "D", "阀座口径", "mm", in.D);
                if (in.face == seal_face::conical) {
                    account::add_number(acc, "h", "开启高度", "mm", in.h);
                    account::add_number(acc, "φ", "锥形密封面半锥角", "°", in.phi);
                }
            }
            const capacity_inputs& c = in.capacity;
            account::add_number(acc, "P_{s}", "整定压力", "MPa", c.Ps);
            switch (*in.medium) {
                case valve_medium::gas:
                    account::add_number(acc, "C", "气体特性系数", {}, c.C);
                    account::add_number(acc, "M", "气体摩尔质量", "kg/kmol", c.M);
                    account::add_number(acc, "T", "气体温度", "K", c.T);
                    account::add_number(acc, "Z", "气体压缩系数", {}, c.Z);
                    account::add_number(acc, "k", "气体绝热指数", {}, c.k);
                    account::add_number(acc, "P_{o}", "出口侧压力（绝压）", "MPa", c.Po);
                    break;
                case valve_medium::saturated_steam: break;
                case valve_medium::liquid:
                    account::add_number(acc, "ρ", "液体密度", "kg/m^{3}", c.rho);
                    account::add_number(acc, "P_{o}", "出口侧压力（绝压）", "MPa", c.Po);
                    break;
            }
            account::add_number(acc, "W_{s}", "容器安全泄放量", "kg/h", static_cast<double>(vessel_ws));
        }
        const area_result area =
            valve_flow_area(*in.type, in.face, in.d1, in.D, in.h, in.phi, acc);
        out.K = area.K;
        out.area = area.A;
        if (area.no_seal_face) {
            out.status = press_status::no_seal_face;
            out.messages.emplace_back(msg_no_seal_face);
            account::refuse(acc, "未选择密封面形式", msg_no_seal_face);
            return out;
        }
        message_with_number(prompt_area, area.A);
        if (value_or_zero(area.A) <= 0) {
            out.status = press_status::bad_area;
            out.messages.emplace_back(msg_bad_area);
            account::refuse(acc, "排放面积 A ≤ 0", msg_bad_area);
            return out;
        }
        // Above water's critical pressure there is no saturated steam, and the high-pressure
        // factor overstates the capacity without bound: a too-small valve would pass.
        if (*in.medium == valve_medium::saturated_steam) {
            const checked Pd = discharge_pressure_term(*in.medium, in.capacity.Ps);
            if (Pd > regulation::water_critical_pressure) {
                out.status = press_status::bad_input;
                out.messages.emplace_back(msg_bad_input);
                if (acc)
                    account::refuse(acc, "饱和蒸汽排放压力 P_{d} = " + account::term(Pd) +
                                             " MPa 高于水的临界压力 22.064 MPa",
                                    msg_bad_input);
                return out;
            }
        }
        W = valve_discharge_capacity(*in.medium, area.K, area.A, in.capacity, acc);
    } else if (acc) {
        acc->steps.push_back({"排放能力", {}, {}, {}, "kg/h", "未输入安全阀数据，未计算"});
    }
    message_with_number(prompt_capacity, W);
    const check_result check = capacity_check(W, vessel_ws, acc);
    out.status = press_status::checked;
    out.capacity = check.valve_capacity;
    out.check = check.outcome;
    out.messages.emplace_back(check.outcome == verdict::fail ? msg_fail : msg_pass);
    return out;
}

}  // namespace ventora::valve
