// The continue-on-fault rule of every calculation, in one place.
//
// A calculation step that faults is abandoned: the value it was to set keeps what it had, no
// message is shown, and the calculation goes on with the next step. A test whose own evaluation
// faults counts as true, so the step it guards runs. The faults are division by zero, the square
// root of a negative number, a negative number raised to a non-integral power, zero raised to a
// negative power, and a result beyond the double (or, when stored, single) range. A text that is
// not a number never reaches here: it is already an unset value, which counts as 0.
//
// Formulas are written with `checked` values, which carry either a double or a fault through
// every operation, so that a formula reads like the regulation:
//
//     assign(W, floor(0.076 * K * C * (1.1 * Ps + 0.1) * A * sqrt(M / (Z * T))));
//
// leaves W as it was when Z × T is 0, and
//
//     if (r <= a_e) ...
//
// takes the branch when r or a_e faulted.
#pragma once

#include <cmath>
#include <optional>

#include "numbers/number.h"

namespace ventora {

class checked {
public:
    checked(double value) : value_(value), fault_(!std::isfinite(value)) {}  // NOLINT
    // An unset number counts as 0.
    checked(const number& value) : checked(value.value_or(0.0)) {}  // NOLINT
    checked(const std::optional<float>& value)                       // NOLINT
        : checked(static_cast<double>(value.value_or(0.0F))) {}

    static constexpr checked fault() { return checked(); }

    constexpr bool faulted() const { return fault_; }
    // Only meaningful when not faulted.
    constexpr double value() const { return value_; }

private:
    constexpr checked() : value_(0.0), fault_(true) {}
    double value_;
    bool fault_;
};

// The outcome of a comparison: true when it holds, and also when its evaluation faulted.
class test {
public:
    constexpr test(bool holds, bool faulted) : holds_(holds || faulted) {}
    constexpr explicit operator bool() const { return holds_; }
    constexpr test operator||(test other) const { return {holds_ || other.holds_, false}; }

private:
    bool holds_;
};

namespace detail {
inline checked result(double v) { return std::isfinite(v) ? checked(v) : checked::fault(); }
}  // namespace detail

inline checked operator+(checked a, checked b) {
    if (a.faulted() || b.faulted()) return checked::fault();
    return detail::result(a.value() + b.value());
}
inline checked operator-(checked a, checked b) {
    if (a.faulted() || b.faulted()) return checked::fault();
    return detail::result(a.value() - b.value());
}
inline checked operator-(checked a) { return a.faulted() ? a : checked(-a.value()); }
inline checked operator*(checked a, checked b) {
    if (a.faulted() || b.faulted()) return checked::fault();
    return detail::result(a.value() * b.value());
}
inline checked operator/(checked a, checked b) {
    if (a.faulted() || b.faulted() || b.value() == 0.0) return checked::fault();
    return detail::result(a.value() / b.value());
}
inline checked sqrt(checked a) {
    if (a.faulted() || a.value() < 0.0) return checked::fault();
    return checked(std::sqrt(a.value()));
}
inline checked pow(checked base, checked exponent) {
    if (base.faulted() || exponent.faulted()) return checked::fault();
    const double b = base.value();
    const double e = exponent.value();
    if (b < 0.0 && std::floor(e) != e) return checked::fault();
    if (b == 0.0 && e < 0.0) return checked::fault();
    return detail::result(std::pow(b, e));
}
inline checked sin(checked a) { return a.faulted() ? a : checked(std::sin(a.value())); }
// Int of the formulas: floor, the largest whole number not greater than its argument.
inline checked floor(checked a) { return a.faulted() ? a : checked(std::floor(a.value())); }
// Rounding to single precision, as storing into a single-precision variable does.
inline checked single(checked a) {
    if (a.faulted()) return a;
    const auto s = to_single(a.value());
    return s ? checked(static_cast<double>(*s)) : checked::fault();
}

inline test operator<(checked a, checked b) {
    const bool f = a.faulted() || b.faulted();
    return {!f && a.value() < b.value(), f};
}
inline test operator<=(checked a, checked b) {
    const bool f = a.faulted() || b.faulted();
    return {!f && a.value() <= b.value(), f};
}
inline test operator>(checked a, checked b) { return b < a; }
inline test operator>=(checked a, checked b) { return b <= a; }
inline test operator==(checked a, checked b) {
    const bool f = a.faulted() || b.faulted();
    return {!f && a.value() == b.value(), f};
}

// A step's assignment: the target takes the result, or keeps its value when the step faulted.
inline void assign(number& target, checked result) {
    if (!result.faulted()) target = result.value();
}
// The same into a single-precision target; a result beyond the single range faults.
inline void assign(std::optional<float>& target, checked result) {
    if (result.faulted()) return;
    if (const auto s = to_single(result.value())) target = *s;
}

}  // namespace ventora
