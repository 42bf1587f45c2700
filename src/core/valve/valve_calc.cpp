#include "valve/valve_calc.h"

#include "numbers/checked.h"

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
                            const number& D, const number& h, const number& phi) {
    area_result r;
    r.K = discharge_coefficient(type);
    if (type == valve_type::full_lift) {
        assign(r.A, floor(0.25 * 3.14 * checked(d1) * d1));
    } else if (face == seal_face::flat) {
        assign(r.A, floor(3.14 * checked(D) * d1 / 25.0));
    } else if (face == seal_face::conical) {
        assign(r.A, floor(3.14 * checked(d1) * h * sin(checked(phi) * 3.14 / 180.0)));
    } else {
        r.no_seal_face = true;
    }
    return r;
}

gas_flow_test regulation_gas_flow(const capacity_inputs& in) {
    gas_flow_test t;
    number a;
    assign(t.r, checked(in.Po) / in.Ps);
    assign(t.e, checked(in.k) / (checked(in.k) - 1.0));
    assign(a, 2.0 / (checked(in.k) + 1.0));
    t.critical = static_cast<bool>(checked(t.r) <= pow(a, t.e));
    return t;
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
//                  W = X · (190.6·Pd − 6895) / (229.2·Pd − 7315) (not rounded, no upper limit).
//   Liquid:        W = Int(5.1 · K · A · √(ρ · ((1.2·Ps + 0.1) − Po)))
// A formula that faults (Z·T = 0, the root of a negative number, ...) leaves W unset.
// Examples with K = 0.65, A = 1962: gas C = 356, Ps = 1, M = 29, T = 300, Z = 1, k = 1.4,
// Po = 0.1 gives 12873, with Po = 0.8 gives 10533.2059624493; steam Ps = 1 gives 7565, Ps = 12
// gives 84563.3769465515; liquid ρ = 1000, Ps = 1, Po = 0.1 gives 225306.
number valve_discharge_capacity(valve_medium medium, double K, const number& A,
                                const capacity_inputs& in) {
    number W;
    switch (medium) {
        case valve_medium::gas: {
            const gas_flow_test flow = regulation_gas_flow(in);
            const number& r = flow.r;
            const number& e = flow.e;
            const checked Pd = 1.1 * checked(in.Ps) + 0.1;
            const checked root = sqrt(checked(in.M) / (checked(in.Z) * in.T));
            if (flow.critical) {
                assign(W, floor(0.076 * checked(K) * in.C * Pd * A * root));
            } else {
                number W1;
                std::optional<float> psi;
                assign(W1, floor(55.84 * checked(K) * Pd * A * root));
                assign(psi, sqrt(checked(e) * (pow(r, 2.0 / checked(in.k)) -
                                               pow(r, (checked(in.k) + 1.0) / in.k))));
                assign(W, checked(W1) * psi);
            }
            break;
        }
        case valve_medium::saturated_steam: {
            const checked Pd = 1.03 * checked(in.Ps) + 0.1;
            if (Pd <= 10.0) {
                assign(W, floor(5.25 * checked(K) * A * Pd));
            } else {
                std::optional<float> X;
                number F;
                assign(X, floor(5.25 * checked(K) * A * Pd));
                assign(F, (190.6 * Pd - 6895.0) / (229.2 * Pd - 7315.0));
                assign(W, checked(X) * F);
            }
            break;
        }
        case valve_medium::liquid:
            assign(W, floor(5.1 * checked(K) * A *
                            sqrt(checked(in.rho) * ((1.2 * checked(in.Ps) + 0.1) - in.Po))));
            break;
    }
    return W;
}

// Fails when W < W_s and passes when W ≥ W_s (equality passes). A capacity that is unset or not
// above 0 never passes, whatever W_s holds: no computed capacity is no proof of one.
check_result capacity_check(const number& W, float vessel_ws) {
    check_result r;
    r.valve_capacity = W;
    const double capacity = value_or_zero(W);
    r.outcome = (capacity <= 0 || capacity < static_cast<double>(vessel_ws)) ? verdict::fail
                                                                            : verdict::pass;
    return r;
}

valve_press_result press_next(const valve_press_input& in, float vessel_ws) {
    valve_press_result out;
    number W;
    if (!in.notes_tab) {
        if (!in.type) {
            out.status = press_status::no_valve_type;
            out.messages.emplace_back(msg_no_valve_type);
            return out;
        }
        if (!in.medium) {
            out.status = press_status::no_medium;
            out.messages.emplace_back(msg_no_medium);
            return out;
        }
        const area_result area = valve_flow_area(*in.type, in.face, in.d1, in.D, in.h, in.phi);
        out.K = area.K;
        out.area = area.A;
        if (area.no_seal_face) {
            out.status = press_status::no_seal_face;
            out.messages.emplace_back(msg_no_seal_face);
            return out;
        }
        out.messages.push_back(prompt_area + format_double(area.A));
        if (value_or_zero(area.A) <= 0) {
            out.status = press_status::bad_area;
            out.messages.emplace_back(msg_bad_area);
            return out;
        }
        W = valve_discharge_capacity(*in.medium, area.K, area.A, in.capacity);
    }
    out.messages.push_back(prompt_capacity + format_double(W));
    const check_result check = capacity_check(W, vessel_ws);
    out.status = press_status::checked;
    out.capacity = check.valve_capacity;
    out.check = check.outcome;
    out.messages.emplace_back(check.outcome == verdict::fail ? msg_fail : msg_pass);
    return out;
}

}  // namespace ventora::valve
