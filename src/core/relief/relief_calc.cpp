#include "relief/relief_calc.h"

#include <cmath>

#include "numbers/checked.h"

namespace ventora::relief {
namespace {

using ventora::checked;

// The regulation's coefficient 2.55 × 10⁵ for an uninsulated vessel in a fire. Formed as the
// double product 2.55 × 100000, which is 254999.99999999997, one unit in the last place below
// 255000: a rate that works out at exactly 255000 is therefore 254999 after Int.
constexpr double uninsulated_C = 2.55 * 100000;
static_assert(uninsulated_C < 255000.0);

std::optional<double> environment_factor(std::optional<installation> installed) {
    if (!installed) return std::nullopt;
    switch (*installed) {
        case installation::below_ground: return 0.3;
        case installation::above_ground: return 1.0;
        case installation::water_spray: return 0.6;
    }
    return std::nullopt;
}

relief_result refuse(const char* message) {
    relief_result r;
    r.refusal = message;
    return r;
}

// Compressor receiver or steam drum: W_s is the typed maximum production capacity G.
// Gas storage tank: W_s = Int(2.83 × 10⁻³ · ρ · v · d²), ρ kg/m³, d mm, v m/s, formed as
// ((((ρ × d) × d) × v) × 0.00283). Example: ρ = 10, d = 100, v = 20 gives 5660.
// Refused when W_s is unset or ≤ 0 (no kind chosen, G not a number, results of 0 or less), and
// for a storage tank also when ρ, d or v is unset or ≤ 0: two negative factors must not make a
// positive rate.
relief_result compressed_gas(const relief_input& in) {
    number W_s;
    if (in.compressed == compressed_kind::production_capacity) {
        W_s = in.G;
    } else if (in.compressed == compressed_kind::gas_storage_tank) {
        if (value_or_zero(in.rho) <= 0 || value_or_zero(in.d) <= 0 || value_or_zero(in.v) <= 0)
            return refuse(msg_compressed_bad);
        assign(W_s, floor(checked(in.rho) * in.d * in.d * in.v * 0.00283));
    }
    if (checked(W_s) <= 0.0) return refuse(msg_compressed_bad);
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
relief_result liquefied_gas(const relief_input& in) {
    if (!in.fire) return refuse(msg_no_medium);
    if (!in.insulated) return refuse(msg_no_insulation);
    std::optional<double> F;
    if (*in.insulated == insulation::uninsulated) {
        F = environment_factor(in.installed);
        if (!F) return refuse(msg_no_installation);
    }
    if (!in.form) return refuse(msg_no_form);
    const vessel_form form = *in.form;

    if (checked(in.D) < 0.15) return refuse(msg_bad_vessel);
    // A length or level of 0 or less would give a wetted area of 0 or less, and with it a rate
    // of 0 or nothing that any valve passes.
    const bool horizontal =
        form == vessel_form::hemispherical_heads || form == vessel_form::elliptical_heads;
    if (horizontal && value_or_zero(in.L) <= 0) return refuse(msg_bad_vessel);
    if (form == vessel_form::vertical && value_or_zero(in.h) <= 0) return refuse(msg_bad_vessel);

    if (*in.insulated == insulation::insulated) {
        // t = 0 only, not t ≤ 0: a negative saturation temperature is valid. From 650 °C on the
        // formula's (650 − t) would make the rate 0 or negative.
        if (checked(in.t) == 0.0 || checked(in.t) >= 650.0 || checked(in.lambda) <= 0.0 ||
            checked(in.delta) <= 0.0 || checked(in.delta) > 0.1)
            return refuse(msg_bad_insulation);
    }
    if (checked(in.q) <= 0.0) return refuse(msg_no_latent_heat);

    std::optional<float> A = 0.0F;
    const checked D = in.D;
    switch (form) {
        case vessel_form::hemispherical_heads: assign(A, 3.14 * D * in.L); break;
        case vessel_form::elliptical_heads: assign(A, 3.14 * D * (checked(in.L) + 0.3 * D)); break;
        case vessel_form::vertical: assign(A, 3.14 * D * in.h); break;
        case vessel_form::spherical: assign(A, 0.5 * 3.14 * D * D); break;
    }

    number W_s;
    number a;
    assign(a, pow(checked(A), 0.82));
    if (*in.insulated == insulation::uninsulated) {
        assign(W_s, floor(uninsulated_C * checked(F) * a / in.q));
    } else {
        assign(W_s, floor(2.61 * (650.0 - checked(in.t)) * in.lambda * a / (checked(in.delta) * in.q)));
    }
    // Sizes or properties so extreme that the area or the rate leaves the number range would
    // leave a rate of 0 or nothing, which any valve passes.
    if (!W_s || value_or_zero(a) <= 0) return refuse(msg_bad_vessel);

    if (*in.fire == fire_exposure::fire_free) assign(W_s, floor(checked(W_s) * 0.3));

    relief_result r;
    r.area = A;
    r.W_s = W_s;
    return r;
}

// A rate the engineer works out himself, e.g. for a vessel whose gas volume grows through a
// chemical reaction: taken as typed when it is a number above 0.
relief_result typed_rate(const relief_input& in) {
    if (!in.W_t || *in.W_t <= 0) return refuse(msg_typed_bad);
    relief_result r;
    r.W_s = in.W_t;
    return r;
}

}  // namespace

relief_result calc_relief_rate(const relief_input& in) {
    relief_result r;
    switch (in.kind) {
        case relief_case::compressed_gas: r = compressed_gas(in); break;
        case relief_case::liquefied_gas: r = liquefied_gas(in); break;
        case relief_case::typed_rate: r = typed_rate(in); break;
    }
    if (r.refused()) return r;

    // The stored rate is the whole-number part in single precision: a typed 1234.7 is shown as
    // 1234.7 and kept as 1234. A rate beyond the single range cannot be kept: refuse it rather
    // than keep 0, which every device would pass.
    const auto stored = to_single(std::floor(value_or_zero(r.W_s)));
    if (!stored) {
        switch (in.kind) {
            case relief_case::compressed_gas: return refuse(msg_compressed_bad);
            case relief_case::liquefied_gas: return refuse(msg_bad_vessel);
            case relief_case::typed_rate: return refuse(msg_typed_bad);
        }
    }
    r.stored = *stored;
    return r;
}

std::vector<std::string> relief_messages(const relief_result& result) {
    if (result.refusal) return {*result.refusal};
    std::vector<std::string> messages;
    if (result.area) messages.push_back(prompt_area + format_single(result.area));
    messages.push_back(prompt_rate + format_double(result.W_s));
    return messages;
}

}  // namespace ventora::relief
