#include "relief/relief_calc.h"

#include <cmath>

#include "account/steps.h"
#include "numbers/checked.h"
#include "regulation/discharge.h"

namespace ventora::relief {

std::optional<double> environment_factor(std::optional<installation> installed) {
    if (!installed) return std::nullopt;
    switch (*installed) {
        case installation::below_ground: return 0.3;
        case installation::above_ground: return 1.0;
        case installation::water_spray: return 0.6;
    }
    return std::nullopt;
}

namespace {

using ventora::checked;
using account::term;
using account::used;

// The regulation's coefficient 2.55 × 10⁵ for an uninsulated vessel in a fire.
constexpr double uninsulated_C = regulation::uninsulated_fire_coefficient;

relief_result refuse(const char* message, account::account* acc = nullptr,
                     std::string_view check = {}) {
    account::refuse(acc, check, message);
    relief_result r;
    r.refusal = message;
    return r;
}

void add(account::account* acc, account::step s) {
    if (acc) acc->steps.push_back(std::move(s));
}

const char* installation_caption(installation i) {
    switch (i) {
        case installation::below_ground: return "地面以下用沙土覆盖的容器";
        case installation::above_ground: return "地面上的容器";
        case installation::water_spray: return "大于 10 L/(m^{2}·min) 水喷淋装置下的容器";
    }
    return "";
}

const char* form_caption(vessel_form f) {
    switch (f) {
        case vessel_form::hemispherical_heads: return "半球形封头的卧式容器";
        case vessel_form::elliptical_heads: return "椭圆形封头的卧式容器";
        case vessel_form::vertical: return "立式容器";
        case vessel_form::spherical: return "球形容器";
    }
    return "";
}

// Compressor receiver or steam drum: W_s is the typed maximum production capacity G.
// Gas storage tank: W_s = Int(2.83 × 10⁻³ · ρ · v · d²), ρ kg/m³, d mm, v m/s, formed as
// ((((ρ × d) × d) × v) × 0.00283). Example: ρ = 10, d = 100, v = 20 gives 5660.
// Refused when W_s is unset or ≤ 0 (no kind chosen, G not a number, results of 0 or less), and
// for a storage tank also when ρ, d or v is unset or ≤ 0: two negative factors must not make a
// positive rate.
relief_result compressed_gas(const relief_input& in, account::account* acc) {
    number W_s;
    const bool capacity = in.compressed == compressed_kind::production_capacity;
    const bool tank = in.compressed == compressed_kind::gas_storage_tank;
    account::add_choice(acc, "容器类别",
                        capacity ? "压缩机储气罐或者汽包" : tank ? "气体储罐" : "未选择");
    if (capacity) {
        account::add_number(acc, "G", "最大产气量", "kg/h", in.G);
        W_s = in.G;
        if (acc) add(acc, {"安全泄放量", "W_{s} = G", "W_{s} = " + used(in.G), format_double(W_s), "kg/h", {}});
    } else if (tank) {
        account::add_number(acc, "ρ", "泄放压力下的气体密度", "kg/m^{3}", in.rho);
        account::add_number(acc, "d", "进口管内径", "mm", in.d);
        account::add_number(acc, "v", "进口管内气体流速", "m/s", in.v);
        if (value_or_zero(in.rho) <= 0 || value_or_zero(in.d) <= 0 || value_or_zero(in.v) <= 0)
            return refuse(msg_compressed_bad, acc, "ρ、d、v 须大于 0");
        const checked raw = checked(in.rho) * in.d * in.d * in.v * 0.00283;
        assign(W_s, floor(raw));
        if (acc) add(acc, {"安全泄放量", "W_{s} = 2.83×10^{-3}·ρ·v·d^{2}",
                  "W_{s} = 2.83×10^{-3}·" + used(in.rho) + "·" + used(in.v) + "·" + used(in.d) +
                      "^{2} = " + term(raw),
                  format_double(W_s), "kg/h", "向下取整"});
    }
    if (checked(W_s) <= 0.0)
        return refuse(msg_compressed_bad, acc, !in.compressed ? "未选择容器类别" : "W_{s} ≤ 0");
    relief_result r;
    r.W_s = W_s;
    return r;
}

// Fire case of a liquefied-gas vessel.
//   Wetted area A (m², single precision):
//     hemispherical heads 3.14·D·L, elliptical heads 3.14·D·(L + 0.3·D), vertical 3.14·D·h,
//     spherical 1.57·D² (1.57 formed as 0.5 × 3.14).
//   Uninsulated: W_s = Int(2.55×10⁵ · F · A^0.82 / q), F the environment factor.
//   Insulated:   W_s = Int(2.61 · (650 − t) · λ · A^0.82 / (δ · q)).
//   Non-flammable gas away from fire: W_s = Int(W_s × 0.3), applied to the rounded rate.
// D in m (refused below 0.15; 0.15 passes), L and h in m (refused when unset or ≤ 0 for the forms
// that read them), q kJ/kg (> 0), λ kJ/(m²·h·°C) (> 0), t °C (0 and 650 or more refused),
// δ m (0 < δ ≤ 0.1).
// Example: fire-exposed, uninsulated, above ground, spherical, D = 2, q = 300:
// A = 6.28 (single 6.28000020980835), W_s = 3834; fire-free W_s = 1150.
relief_result liquefied_gas(const relief_input& in, account::account* acc) {
    if (acc) {
        account::add_choice(acc, "介质", !in.fire ? "未选择"
                                         : *in.fire == fire_exposure::fire_exposed
                                             ? "易燃液化气体，或可能发生火灾环境下的非易燃液化气体"
                                             : "非易燃液化气体，且无火灾危险");
        account::add_choice(acc, "保温", !in.insulated ? "未选择"
                                         : *in.insulated == insulation::uninsulated ? "无绝热材料保温层"
                                                                                     : "有绝热材料保温层");
        if (in.insulated == insulation::uninsulated)
            account::add_choice(acc, "安装形式", in.installed ? installation_caption(*in.installed) : "未选择");
        account::add_choice(acc, "容器形式", in.form ? form_caption(*in.form) : "未选择");
        account::add_number(acc, "D", "容器直径", "m", in.D);
        if (in.form == vessel_form::hemispherical_heads || in.form == vessel_form::elliptical_heads)
            account::add_number(acc, "L", "容器长度", "m", in.L);
        if (in.form == vessel_form::vertical) account::add_number(acc, "h", "最高液位", "m", in.h);
        if (in.insulated == insulation::insulated) {
            account::add_number(acc, "λ", "保温材料导热系数", "kJ/(m·h·°C)", in.lambda);
            account::add_number(acc, "t", "泄放压力下介质的饱和温度", "°C", in.t);
            account::add_number(acc, "δ", "保温层厚度", "m", in.delta);
        }
        account::add_number(acc, "q", "泄放压力下液化气体的汽化潜热", "kJ/kg", in.q);
    }
    if (!in.fire) return refuse(msg_no_medium, acc, "未选择介质类型");
    if (!in.insulated) return refuse(msg_no_insulation, acc, "未选择保温类型");
    std::optional<double> F;
    if (*in.insulated == insulation::uninsulated) {
        F = environment_factor(in.installed);
        if (!F) return refuse(msg_no_installation, acc, "未选择容器安装形式");
    }
    if (!in.form) return refuse(msg_no_form, acc, "未选择容器形式");
    const vessel_form form = *in.form;

    if (checked(in.D) < 0.15) return refuse(msg_bad_vessel, acc, "D < 0.15 m");
    // A length or level of 0 or less would give a wetted area of 0 or less, and with it a rate
    // of 0 or nothing that any valve passes.
    const bool horizontal =
        form == vessel_form::hemispherical_heads || form == vessel_form::elliptical_heads;
    if (horizontal && value_or_zero(in.L) <= 0) return refuse(msg_bad_vessel, acc, "L ≤ 0");
    if (form == vessel_form::vertical && value_or_zero(in.h) <= 0)
        return refuse(msg_bad_vessel, acc, "h ≤ 0");

    if (*in.insulated == insulation::insulated) {
        // t = 0 only, not t ≤ 0: a negative saturation temperature is valid. From 650 °C on the
        // formula's (650 − t) would make the rate 0 or negative.
        if (checked(in.t) == 0.0 || checked(in.t) >= 650.0 || checked(in.lambda) <= 0.0 ||
            checked(in.delta) <= 0.0 || checked(in.delta) > 0.1)
            return refuse(msg_bad_insulation, acc, "t = 0 或 t ≥ 650 °C，λ ≤ 0，或 δ 不在 (0, 0.1] m 内");
    }
    if (checked(in.q) <= 0.0) return refuse(msg_no_latent_heat, acc, "q ≤ 0");

    std::optional<float> A = 0.0F;
    const checked D = in.D;
    const char* area_formula = "";
    std::string area_substituted;
    switch (form) {
        case vessel_form::hemispherical_heads:
            assign(A, 3.14 * D * in.L);
            if (acc) area_formula = "A = 3.14·D·L", area_substituted = "A = 3.14·" + used(in.D) + "·" + used(in.L);
            break;
        case vessel_form::elliptical_heads:
            assign(A, 3.14 * D * (checked(in.L) + 0.3 * D));
            if (acc) area_formula = "A = 3.14·D·(L + 0.3·D)", area_substituted = "A = 3.14·" + used(in.D) + "·(" + used(in.L) + " + 0.3·" + used(in.D) + ")";
            break;
        case vessel_form::vertical:
            assign(A, 3.14 * D * in.h);
            if (acc) area_formula = "A = 3.14·D·h", area_substituted = "A = 3.14·" + used(in.D) + "·" + used(in.h);
            break;
        case vessel_form::spherical:
            assign(A, 0.5 * 3.14 * D * D);
            if (acc) area_formula = "A = 1.57·D^{2}", area_substituted = "A = 1.57·" + used(in.D) + "^{2}";
            break;
    }
    if (acc) add(acc, {"受热面积", area_formula, area_substituted, format_single(A), "m^{2}", {}});

    number W_s;
    number a;
    assign(a, pow(checked(A), 0.82));
    if (*in.insulated == insulation::uninsulated) {
        const checked raw = uninsulated_C * checked(F) * a / in.q;
        assign(W_s, floor(raw));
        if (acc) {
            if (acc) add(acc, {"环境系数", "F", {}, format_double(*F), {}, installation_caption(*in.installed)});
            if (acc) add(acc, {"安全泄放量", "W_{s} = 2.55×10^{5}·F·A^{0.82}/q",
                      "W_{s} = 2.55×10^{5}·" + format_double(*F) + "·" + format_single(A) +
                          "^{0.82}/" + used(in.q) + " = " + term(raw),
                      format_double(W_s), "kg/h", "向下取整"});
        }
    } else {
        const checked raw = 2.61 * (650.0 - checked(in.t)) * in.lambda * a / (checked(in.delta) * in.q);
        assign(W_s, floor(raw));
        if (acc) add(acc, {"安全泄放量", "W_{s} = 2.61·(650 − t)·λ·A^{0.82}/(δ·q)",
                  "W_{s} = 2.61·(650 − " + used(in.t) + ")·" + used(in.lambda) + "·" +
                      format_single(A) + "^{0.82}/(" + used(in.delta) + "·" + used(in.q) + ") = " +
                      term(raw),
                  format_double(W_s), "kg/h", "向下取整"});
    }
    // Sizes or properties so extreme that the area or the rate leaves the number range would
    // leave a rate of 0 or nothing, which any valve passes.
    if (!W_s || value_or_zero(a) <= 0) return refuse(msg_bad_vessel, acc, "面积或泄放量超出数值范围");

    if (*in.fire == fire_exposure::fire_free) {
        const number before = W_s;
        assign(W_s, floor(checked(W_s) * 0.3));
        if (acc) add(acc, {"无火灾危险的非易燃液化气体", "W_{s}' = 0.3·W_{s}",
                  "W_{s}' = 0.3·" + format_double(before), format_double(W_s), "kg/h", "向下取整"});
    }

    relief_result r;
    r.area = A;
    r.W_s = W_s;
    return r;
}

// A rate the engineer works out himself, e.g. for a vessel whose gas volume grows through a
// chemical reaction: taken as typed when it is a number above 0.
relief_result typed_rate(const relief_input& in, account::account* acc) {
    account::add_number(acc, "W_{s}", "输入的安全泄放量", "kg/h", in.W_t);
    if (!in.W_t || *in.W_t <= 0) return refuse(msg_typed_bad, acc, "W_{s} 未输入或不大于 0");
    if (acc) add(acc, {"安全泄放量", "W_{s}", {}, format_double(in.W_t), "kg/h", "由设计者计算输入"});
    relief_result r;
    r.W_s = in.W_t;
    return r;
}

}  // namespace

relief_result calc_relief_rate(const relief_input& in, account::account* acc) {
    relief_result r;
    if (acc) {
        acc->title = "安全泄放量";
        account::add_choice(acc, "计算类型",
                            in.kind == relief_case::compressed_gas   ? "压缩气体"
                            : in.kind == relief_case::liquefied_gas ? "液化气体"
                                                                    : "输入安全泄放量");
    }
    switch (in.kind) {
        case relief_case::compressed_gas: r = compressed_gas(in, acc); break;
        case relief_case::liquefied_gas: r = liquefied_gas(in, acc); break;
        case relief_case::typed_rate: r = typed_rate(in, acc); break;
    }
    if (r.refused()) return r;

    // The stored rate is the whole-number part in single precision: a typed 1234.7 is shown as
    // 1234.7 and kept as 1234. A rate beyond the single range cannot be kept: refuse it rather
    // than keep 0, which every device would pass.
    const auto stored = to_single(std::floor(value_or_zero(r.W_s)));
    if (!stored) {
        const char* check = "W_{s} 超出单精度范围";
        switch (in.kind) {
            case relief_case::compressed_gas: return refuse(msg_compressed_bad, acc, check);
            case relief_case::liquefied_gas: return refuse(msg_bad_vessel, acc, check);
            case relief_case::typed_rate: return refuse(msg_typed_bad, acc, check);
        }
    }
    r.stored = *stored;
    if (acc) {
        acc->steps.push_back({"保留的泄放量", "W_{s}", {}, format_double(static_cast<double>(r.stored)),
                              "kg/h", "向下取整，供安全阀或爆破片计算使用"});
        acc->conclusion = "W_{s} = " + format_double(r.W_s) + " kg/h";
    }
    return r;
}

std::vector<std::string> relief_messages(const relief_result& result) {
    if (result.refusal) return {*result.refusal};
    std::vector<std::string> messages;
    messages.reserve(2);
    const auto add_message = [&messages](std::string_view prompt, const std::string& value) {
        std::string& text = messages.emplace_back();
        text.reserve(prompt.size() + value.size());
        text += prompt;
        text += value;
    };
    if (result.area) add_message(prompt_area, format_single(result.area));
    add_message(prompt_rate, format_double(result.W_s));
    return messages;
}

}  // namespace ventora::relief
