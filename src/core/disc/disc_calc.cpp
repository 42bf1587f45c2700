#include "disc/disc_calc.h"

#include "account/steps.h"
#include "numbers/checked.h"
#include "regulation/discharge.h"

namespace ventora::disc {
namespace {

double nozzle_coefficient(nozzle_type nozzle) {
    switch (nozzle) {
        case nozzle_type::straight_pipe: return 0.68;
        case nozzle_type::flush_pipe: return 0.73;
        case nozzle_type::bell_mouth: return 0.8;
    }
    return 0.0;
}

disc_result status_only(disc_status status) {
    disc_result r;
    r.status = status;
    return r;
}

bool not_positive(const number& n) { return value_or_zero(n) <= 0; }

const char* medium_caption(disc_medium medium) {
    switch (medium) {
        case disc_medium::gas: return "气体";
        case disc_medium::liquid: return "液体";
        case disc_medium::saturated_steam: return "饱和蒸汽";
    }
    return "";
}

const char* nozzle_caption(nozzle_type nozzle) {
    switch (nozzle) {
        case nozzle_type::straight_pipe: return "直管";
        case nozzle_type::flush_pipe: return "平直管";
        case nozzle_type::bell_mouth: return "喇叭管";
    }
    return "";
}

}  // namespace

// Minimum discharge area A of a bursting disc, in mm², rounded down (Int). W_s in kg/h, p_b the
// design burst pressure (absolute MPa), p_o the discharge-side pressure (MPa), T in K, M in
// kg/kmol, ρ in kg/m³. K is the nozzle's discharge coefficient.
//   Gas (k > 1), C = Int(520 · √(k · (2/(k+1))^((k+1)/(k−1)))), s = √(M / (Z·T)),
//   r = p_o / p_b, r_c = (2/(k+1))^(k/(k−1)):
//     r ≤ r_c (critical)     A = Int(W_s / (0.076 · K · C · p_b · s))
//     r > r_c (subcritical)  f = √(k/(k−1) · (r^(2/k) − r^((k+1)/k))) in single precision,
//                            A = Int(W_s / (55.84 · K · p_b · s · f))
//   Liquid (0.62 in place of K):  A = Int(W_s / (5.1 · 0.62 · √(ρ · (p_b − p_o))))
//   Saturated steam:  p_b ≤ 10  A = Int(W_s / (5.25 · K · p_b))
//                     p_b > 10  A = Int(W_s / (5.25 · K · p_b) · (229.2·p_b − 7315) / (190.6·p_b − 6895))
// Refused: gas with k ≤ 1 (k = 1 divides by k − 1; below 1 it is no gas); gas with p_b, T, Z or
// M ≤ 0, p_o < 0 or p_o ≥ p_b; liquid with p_b, p_o or ρ ≤ 0 or p_o ≥ p_b; steam with
// K · p_b ≤ 0, or p_b above water's critical pressure 22.064 MPa (no saturated steam exists
// there, and the correction shrinks the area until it turns negative; 22.064 itself is sized);
// and any medium whose area came out unset or negative, which is no minimum area at all. An area
// of 0 from rounding a tiny rate down is a result.
// Examples with W_s = 10000: gas k = 1.4, p_b = 1, p_o = 0.1, M = 29, T = 300, Z = 1, straight
// pipe: C = 356, A = 1748 (p_o = 0.8: A = 2136); liquid p_b = 1, p_o = 0.1, ρ = 1000: A = 105;
// steam bell mouth p_b = 1: A = 2380.
disc_result size_bursting_disc(std::optional<disc_medium> medium, std::optional<nozzle_type> nozzle,
                               const disc_inputs& in, float W_s_single, account::account* acc) {
    using namespace regulation;
    using account::term;
    using account::used;
    auto add = [acc](account::step s) {
        if (acc) acc->steps.push_back(std::move(s));
    };
    auto refused = [acc](disc_status status, std::string_view check) {
        if (acc) account::refuse(acc, check, disc_message(status_only(status)));
        return status_only(status);
    };
    if (acc) {
        acc->title = "爆破片";
        account::add_choice(acc, "介质", !medium ? "未选择" : medium_caption(*medium));
        if (medium != disc_medium::liquid)
            account::add_choice(acc, "接管类型", !nozzle ? "未选择" : nozzle_caption(*nozzle));
    }
    if (!medium) return refused(disc_status::no_medium, "未选择计算类型");
    if (*medium != disc_medium::liquid && !nozzle) return refused(disc_status::no_nozzle, "未选择接管类型");

    if (acc) {
        account::add_number(acc, "W_{s}", "容器安全泄放量", "kg/h", static_cast<double>(W_s_single));
        account::add_number(acc, "p_{b}", "设计爆破压力（绝压）", "MPa", in.p_b);
        switch (*medium) {
            case disc_medium::gas:
                account::add_number(acc, "M", "气体摩尔质量", "kg/kmol", in.M);
                account::add_number(acc, "T", "气体温度", "K", in.T);
                account::add_number(acc, "Z", "气体压缩系数", {}, in.Z);
                account::add_number(acc, "k", "气体绝热指数", {}, in.k);
                account::add_number(acc, "p_{o}", "泄放侧压力", "MPa", in.p_o);
                break;
            case disc_medium::liquid:
                account::add_number(acc, "ρ", "液体密度", "kg/m^{3}", in.rho);
                account::add_number(acc, "p_{o}", "泄放侧压力", "MPa", in.p_o);
                break;
            case disc_medium::saturated_steam: break;
        }
    }

    const checked W_s = static_cast<double>(W_s_single);
    const checked k = in.k;
    number C;
    if (*medium == disc_medium::gas) {
        if (value_or_zero(in.k) <= 1) return refused(disc_status::bad_k, "气体绝热指数 k ≤ 1");
        const checked raw = gas_characteristic_coefficient(k);
        assign(C, floor(raw));
        if (acc) add({"气体特性系数", "C = 520·√(k·(2/(k+1))^{(k+1)/(k−1)})",
             "C = 520·√(" + used(in.k) + "·(2/(" + used(in.k) + "+1))^{(" + used(in.k) + "+1)/(" +
                 used(in.k) + "−1)}) = " + term(raw),
             format_double(C), {}, "向下取整"});
    }

    number K;
    if (nozzle) {
        K = nozzle_coefficient(*nozzle);
        if (*medium != disc_medium::liquid)
            if (acc) add({"泄放系数", "K", {}, format_double(K), {}, nozzle_caption(*nozzle)});
    }

    number A;
    switch (*medium) {
        case disc_medium::gas: {
            if (checked(k) * in.p_b * in.T * in.Z * in.M <= 0.0 || not_positive(in.p_b) ||
                not_positive(in.T) || not_positive(in.Z) || not_positive(in.M) ||
                value_or_zero(in.p_o) < 0 || value_or_zero(in.p_o) >= value_or_zero(in.p_b))
                return refused(disc_status::bad_input,
                               "p_{b}、T、Z、M 须大于 0，且 0 ≤ p_{o} < p_{b}");
            number r, r_c, s;
            std::optional<float> f = 0.0F;
            assign(r, checked(in.p_o) / in.p_b);
            assign(r_c, critical_pressure_ratio(two_over_k_plus_one(k), k_over_k_minus_one(k)));
            assign(s, sqrt(checked(in.M) / (checked(in.Z) * in.T)));
            const bool critical = static_cast<bool>(checked(r) <= r_c);
            if (acc) {
                if (acc) add({"压力比", "r = p_{o}/p_{b}", "r = " + used(in.p_o) + "/" + used(in.p_b),
                     format_double(r), {}, {}});
                if (acc) add({"临界压力比", "r_{c} = (2/(k+1))^{k/(k−1)}",
                     "r_{c} = (2/(" + used(in.k) + "+1))^{" + used(in.k) + "/(" + used(in.k) + "−1)}",
                     format_double(r_c), {}, {}});
                if (acc) add({"流动状态", critical ? "r ≤ r_{c}" : "r > r_{c}",
                     format_double(r) + (critical ? " ≤ " : " > ") + format_double(r_c),
                     critical ? "临界流动" : "亚临界流动", {}, {}});
            }
            if (critical) {
                const checked raw = W_s / (gas_critical_coefficient * checked(K) * C * in.p_b * s);
                assign(A, floor(raw));
                if (acc) add({"最小排放面积", "A = W_{s}/(0.076·K·C·p_{b}·√(M/(Z·T)))",
                     "A = " + term(W_s) + "/(0.076·" + format_double(K) + "·" + format_double(C) +
                         "·" + used(in.p_b) + "·√(" + used(in.M) + "/(" + used(in.Z) + "·" + used(in.T) +
                         "))) = " + term(raw),
                     format_double(A), "mm^{2}", "向下取整"});
            }
            if (checked(r) > r_c) {
                assign(f, subcritical_factor(k_over_k_minus_one(k), r, k));
                const checked raw =
                    W_s / (gas_subcritical_coefficient * checked(K) * in.p_b * s * f);
                assign(A, floor(raw));
                if (acc) {
                    if (acc) add({"亚临界系数", "f = √(k/(k−1)·(r^{2/k} − r^{(k+1)/k}))",
                         "f = √(" + used(in.k) + "/(" + used(in.k) + "−1)·(" + format_double(r) +
                             "^{2/" + used(in.k) + "} − " + format_double(r) + "^{(" + used(in.k) +
                             "+1)/" + used(in.k) + "}))",
                         format_single(f), {}, {}});
                    if (acc) add({"最小排放面积", "A = W_{s}/(55.84·K·p_{b}·√(M/(Z·T))·f)",
                         "A = " + term(W_s) + "/(55.84·" + format_double(K) + "·" + used(in.p_b) +
                             "·√(" + used(in.M) + "/(" + used(in.Z) + "·" + used(in.T) + "))·" + format_single(f) +
                             ") = " + term(raw),
                         format_double(A), "mm^{2}", "向下取整"});
                }
            }
            break;
        }
        case disc_medium::liquid: {
            if (checked(in.p_b) * in.p_o * in.rho <= 0.0 || not_positive(in.p_b) ||
                not_positive(in.p_o) || not_positive(in.rho) ||
                value_or_zero(in.p_o) >= value_or_zero(in.p_b))
                return refused(disc_status::bad_input, "p_{b}、p_{o}、ρ 须大于 0，且 p_{o} < p_{b}");
            const checked raw =
                W_s / (liquid_coefficient * 0.62 * sqrt(checked(in.rho) * (checked(in.p_b) - in.p_o)));
            assign(A, floor(raw));
            if (acc) add({"最小排放面积", "A = W_{s}/(5.1·0.62·√(ρ·(p_{b} − p_{o})))",
                 "A = " + term(W_s) + "/(5.1·0.62·√(" + used(in.rho) + "·(" + used(in.p_b) + " − " +
                     used(in.p_o) + "))) = " + term(raw),
                 format_double(A), "mm^{2}", "向下取整"});
            break;
        }
        case disc_medium::saturated_steam: {
            const checked p_b = in.p_b;
            if (checked(K) * p_b <= 0.0) return refused(disc_status::bad_input, "K·p_{b} ≤ 0");
            if (p_b > water_critical_pressure)
                return refused(disc_status::bad_input,
                               acc ? "饱和蒸汽 p_{b} = " + used(in.p_b) + " MPa 高于水的临界压力 22.064 MPa"
                                   : std::string());
            if (p_b <= steam_correction_from) {
                const checked raw = W_s / (steam_coefficient * checked(K) * p_b);
                assign(A, floor(raw));
                if (acc) add({"最小排放面积", "A = W_{s}/(5.25·K·p_{b})（p_{b} ≤ 10 MPa）",
                     "A = " + term(W_s) + "/(5.25·" + format_double(K) + "·" + used(in.p_b) +
                         ") = " + term(raw),
                     format_double(A), "mm^{2}", "向下取整"});
            } else {
                const checked raw = W_s / (steam_coefficient * checked(K) * p_b) *
                                    (steam_correction_denominator(p_b) / steam_correction_numerator(p_b));
                assign(A, floor(raw));
                if (acc) add({"最小排放面积（p_{b} > 10 MPa）",
                     "A = W_{s}/(5.25·K·p_{b})·(229.2·p_{b} − 7315)/(190.6·p_{b} − 6895)",
                     "A = " + term(W_s) + "/(5.25·" + format_double(K) + "·" + used(in.p_b) +
                         ")·(229.2·" + used(in.p_b) + " − 7315)/(190.6·" + used(in.p_b) +
                         " − 6895) = " + term(raw),
                     format_double(A), "mm^{2}", "向下取整"});
            }
            break;
        }
    }
    // An area that could not be computed, or a negative one, is no minimum area: never report it.
    if (!A || *A < 0)
        return refused(disc_status::bad_input, A ? "最小排放面积为负" : "最小排放面积无法计算");
    disc_result r;
    r.status = disc_status::area_ready;
    r.A = A;
    if (acc) acc->conclusion = "爆破片所需的最小排放面积 A = " + format_double(A) + " mm^{2}";
    return r;
}

std::string disc_message(const disc_result& result) {
    if (result.status == disc_status::area_ready) {
        const std::string value = format_double(result.A);
        std::string text;
        text.reserve(std::char_traits<char>::length(prompt_area) + value.size());
        text += prompt_area;
        text += value;
        return text;
    }
    switch (result.status) {
        case disc_status::no_medium: return msg_no_medium;
        case disc_status::no_nozzle: return msg_no_nozzle;
        case disc_status::bad_k: return msg_bad_k;
        case disc_status::bad_input: return msg_bad_input;
        case disc_status::area_ready: return prompt_area + format_double(result.A);
    }
    return {};
}

}  // namespace ventora::disc
