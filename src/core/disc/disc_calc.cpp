#include "disc/disc_calc.h"

#include "numbers/checked.h"

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
// K · p_b ≤ 0.
// Examples with W_s = 10000: gas k = 1.4, p_b = 1, p_o = 0.1, M = 29, T = 300, Z = 1, straight
// pipe: C = 356, A = 1748 (p_o = 0.8: A = 2136); liquid p_b = 1, p_o = 0.1, ρ = 1000: A = 105;
// steam bell mouth p_b = 1: A = 2380.
disc_result size_bursting_disc(std::optional<disc_medium> medium, std::optional<nozzle_type> nozzle,
                               const disc_inputs& in, float W_s_single) {
    if (!medium) return status_only(disc_status::no_medium);
    if (*medium != disc_medium::liquid && !nozzle) return status_only(disc_status::no_nozzle);

    const checked W_s = static_cast<double>(W_s_single);
    const checked k = in.k;
    number C;
    if (*medium == disc_medium::gas) {
        if (value_or_zero(in.k) <= 1) return status_only(disc_status::bad_k);
        assign(C, floor(520.0 * sqrt(k * pow(2.0 / (k + 1.0), (k + 1.0) / (k - 1.0)))));
    }

    number K;
    if (nozzle) K = nozzle_coefficient(*nozzle);

    number A;
    switch (*medium) {
        case disc_medium::gas: {
            if (checked(k) * in.p_b * in.T * in.Z * in.M <= 0.0 || not_positive(in.p_b) ||
                not_positive(in.T) || not_positive(in.Z) || not_positive(in.M) ||
                value_or_zero(in.p_o) < 0 || value_or_zero(in.p_o) >= value_or_zero(in.p_b))
                return status_only(disc_status::bad_input);
            number r, r_c, s;
            std::optional<float> f = 0.0F;
            assign(r, checked(in.p_o) / in.p_b);
            assign(r_c, pow(2.0 / (k + 1.0), k / (k - 1.0)));
            assign(s, sqrt(checked(in.M) / (checked(in.Z) * in.T)));
            if (checked(r) <= r_c) {
                assign(A, floor(W_s / (0.076 * checked(K) * C * in.p_b * s)));
            }
            if (checked(r) > r_c) {
                assign(f, sqrt(k / (k - 1.0) * (pow(r, 2.0 / k) - pow(r, (k + 1.0) / k))));
                assign(A, floor(W_s / (55.84 * checked(K) * in.p_b * s * f)));
            }
            break;
        }
        case disc_medium::liquid:
            if (checked(in.p_b) * in.p_o * in.rho <= 0.0 || not_positive(in.p_b) ||
                not_positive(in.p_o) || not_positive(in.rho) ||
                value_or_zero(in.p_o) >= value_or_zero(in.p_b))
                return status_only(disc_status::bad_input);
            assign(A, floor(W_s / (5.1 * 0.62 * sqrt(checked(in.rho) * (checked(in.p_b) - in.p_o)))));
            break;
        case disc_medium::saturated_steam: {
            const checked p_b = in.p_b;
            if (checked(K) * p_b <= 0.0) return status_only(disc_status::bad_input);
            if (p_b <= 10.0) {
                assign(A, floor(W_s / (5.25 * checked(K) * p_b)));
            } else {
                assign(A, floor(W_s / (5.25 * checked(K) * p_b) *
                                ((229.2 * p_b - 7315.0) / (190.6 * p_b - 6895.0))));
            }
            break;
        }
    }
    disc_result r;
    r.status = disc_status::area_ready;
    r.A = A;
    return r;
}

std::string disc_message(const disc_result& result) {
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
