// The friction factor and isothermal compressible flow of the inlet and outlet lines.
#include <algorithm>
#include <cmath>

#include "system/system_calc.h"

namespace ventora::system {
namespace {

// Bisection to the last representable step; `f` changes sign between lo and hi.
template <class F>
double bisect(F f, double lo, double hi) {
    const bool rising = f(hi) > 0.0;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        if (mid <= lo || mid >= hi) break;
        if ((f(mid) > 0.0) == rising) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
    return 0.5 * (lo + hi);
}

}  // namespace

std::optional<friction> darcy_friction(double Re, double relative_roughness) {
    if (!(Re > 0.0) || !std::isfinite(Re) || !(relative_roughness >= 0.0)) return std::nullopt;
    friction out;
    out.Re = Re;
    if (Re < laminar_below) {
        out.regime = flow_regime::laminar;
        out.f = 64.0 / Re;
        return out;
    }
    out.regime = Re < transition_to ? flow_regime::transition : flow_regime::turbulent;
    // x = 1/√f; the fixed-point map is a contraction (its slope is below 0.9 from Re 2000 on).
    double x = 8.0;
    for (int i = 1; i <= 100; ++i) {
        const double next = -2.0 * std::log10(relative_roughness / 3.7 + 2.51 * x / Re);
        out.iterations = i;
        const bool done = std::fabs(next - x) <= 1e-12 * next;
        x = next;
        if (done) break;
    }
    if (!(x > 0.0) || !std::isfinite(x)) return std::nullopt;
    out.f = 1.0 / (x * x);
    return out;
}

// With x = P_2/P_1 and φ = (G·c/P_1)²: g(x) = 1 − x² − φ·(K − 2·ln x) = 0. g rises up to x = √φ
// (the choking point, P_2 = G·c) and falls after it, to g(1) = −φ·K ≤ 0; the subsonic end
// pressure is the root between √φ and 1, and there is none when g(√φ) < 0: the line chokes.
isothermal_result isothermal_from_inlet(double P_in, double G, double c2, double K) {
    isothermal_result r;
    r.P_in = P_in;
    const double c = std::sqrt(c2);
    const double phi = (G * c / P_in) * (G * c / P_in);
    // The most the line passes from P_in: φ_max where 1 − φ·(1 + K − ln φ) = 0 (decreasing in φ).
    const auto limit = [K](double p) { return 1.0 - p * (1.0 + K - std::log(p)); };
    const auto g = [phi, K](double x) { return 1.0 - x * x - phi * (K - 2.0 * std::log(x)); };
    if (K <= 0.0) {
        r.P_out = P_in;
        return r;
    }
    const double x_star = std::sqrt(phi);
    if (phi >= 1.0 || g(x_star) < 0.0) {
        r.choked = true;
        const double phi_max = bisect(limit, 1e-300, 1.0);
        r.G_max = std::sqrt(phi_max) * P_in / c;
        r.P_choke = std::sqrt(phi_max) * P_in;
        r.P_out = r.P_choke;
        return r;
    }
    r.P_out = P_in * bisect(g, x_star, 1.0);
    return r;
}

// With y = P_1/P_x (P_x the exit pressure) and ψ = (G·c/P_x)² ≤ 1: y² − 1 − ψ·(K + 2·ln y) = 0,
// rising in y from −ψ·K at y = 1: one root, bracketed by doubling.
isothermal_result isothermal_to_outlet(double P_end, double G, double c2, double K) {
    isothermal_result r;
    const double c = std::sqrt(c2);
    const double P_x = std::max(P_end, G * c);
    r.choked = G * c > P_end;
    r.P_choke = P_x;
    r.P_out = P_x;
    const double psi = (G * c / P_x) * (G * c / P_x);
    const auto h = [psi, K](double y) { return y * y - 1.0 - psi * (K + 2.0 * std::log(y)); };
    if (K <= 0.0) {
        r.P_in = P_x;
        return r;
    }
    double hi = 2.0;
    for (int i = 0; i < 200 && h(hi) <= 0.0; ++i) hi *= 2.0;
    r.P_in = P_x * bisect(h, 1.0, hi);
    return r;
}

}  // namespace ventora::system
