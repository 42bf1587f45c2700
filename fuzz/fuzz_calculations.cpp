// Arbitrary choices and numbers, decoded from the fuzz bytes, through each calculation. No number
// that is not finite may come out, every message must be valid UTF-8, and the outcome must keep
// the rules that protect the vessel (a refused rate has no value, a valve passes only with a
// capacity above 0 and at least W_s, a disc area comes only from inputs that make sense).
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "request/json.h"
#include "disc/disc_calc.h"
#include "fuzz_check.h"
#include "relief/relief_calc.h"
#include "valve/valve_calc.h"

namespace {

using ventora::number;

// Reads the fuzz bytes as a sequence of decisions; past the end every byte is 0.
class decisions {
public:
    decisions(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }

    // None, or one of count values.
    template <class E>
    std::optional<E> choice(int count) {
        const int pick = byte() % (count + 1);
        if (pick == count) return std::nullopt;
        return static_cast<E>(pick);
    }

    // A box value: unset, a value near a threshold of the formulas, or any finite double.
    number value() {
        static const double interesting[] = {
            0.0, -0.0, 1.0, -1.0, 0.15, 0.149, 0.1, 0.1001, 10.0, 10.0001, 9.6117, 650.0, 649.0,
            1.4, 1.1, 2.0, 5.0, 12.0, 50.0, 29.0, 300.0, 356.0, 1000.0, 0.8, 0.52828, 0.31847134,
            1e-300, 5e-324, 1e-320, DBL_MIN, DBL_MAX, -DBL_MAX, 1e308, 1e154, 1e20, -1e20,
            static_cast<double>(FLT_MAX), 3.5e38, 1e-45, 36.17523609653725, 31.914484, 6895.0 / 190.6,
            22.064, 22.064000000000004, 21.324271844660192, 21.324271844660196, 32.0, 36.0};
        const std::uint8_t tag = byte();
        switch (tag % 4) {
            case 0: return std::nullopt;
            case 1: return interesting[byte() % (sizeof interesting / sizeof interesting[0])];
            case 2: {
                std::uint64_t bits = 0;
                for (int i = 0; i < 8; ++i) bits = bits << 8 | byte();
                double d;
                std::memcpy(&d, &bits, sizeof d);
                // A box never yields NaN or infinity: such text is unset.
                if (!std::isfinite(d)) return std::nullopt;
                return d;
            }
            default: {
                // A short decimal: a signed whole number over a power of ten.
                const auto whole = static_cast<std::int8_t>(byte());
                return whole / std::pow(10.0, byte() % 6);
            }
        }
    }

    // The program-wide `vessel_ws`: a finite single.
    float vessel_ws() {
        if (byte() % 2 == 0) {
            const auto v = value();
            const auto s = v ? ventora::to_single(*v) : std::optional<float>(0.0F);
            return s ? *s : 0.0F;
        }
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) bits = bits << 8 | byte();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return std::isfinite(f) ? f : 0.0F;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

bool finite_or_unset(const number& n) { return !n || std::isfinite(*n); }
bool finite_or_unset(const std::optional<float>& n) { return !n || std::isfinite(*n); }
bool whole_or_unset(const number& n) { return !n || std::floor(*n) == *n; }
bool valid_text(const std::string& s) {
    return !s.empty() && ventora::requests::json::find_invalid_utf8(s) == std::string_view::npos;
}
bool starts_with(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

void fuzz_relief(decisions& in) {
    using namespace ventora::relief;
    relief_input r;
    r.kind = static_cast<relief_case>(in.byte() % 3);
    r.compressed = in.choice<compressed_kind>(2);
    r.fire = in.choice<fire_exposure>(2);
    r.insulated = in.choice<insulation>(2);
    r.installed = in.choice<installation>(3);
    r.form = in.choice<vessel_form>(4);
    for (number* n : {&r.G, &r.rho, &r.d, &r.v, &r.D, &r.L, &r.h, &r.q, &r.lambda, &r.t, &r.delta, &r.W_t})
        *n = in.value();

    const relief_result result = calc_relief_rate(r);
    const std::vector<std::string> messages = relief_messages(result);
    for (const auto& m : messages) FUZZ_CHECK(valid_text(m));
    FUZZ_CHECK(finite_or_unset(result.area));
    FUZZ_CHECK(finite_or_unset(result.W_s));
    FUZZ_CHECK(std::isfinite(result.stored));
    if (result.refused()) {
        FUZZ_CHECK(messages.size() == 1 && messages[0] == *result.refusal);
        FUZZ_CHECK(!result.W_s && !result.area && result.stored == 0.0F);
        return;
    }
    const bool liquefied = r.kind == relief_case::liquefied_gas;
    FUZZ_CHECK(result.area.has_value() == liquefied);
    FUZZ_CHECK(messages.size() == (liquefied ? 2U : 1U));
    FUZZ_CHECK(starts_with(messages.back(), prompt_rate));
    // What is kept is the whole-number part of what is shown, in single precision.
    const auto kept = ventora::to_single(std::floor(result.W_s.value_or(0.0)));
    FUZZ_CHECK(kept && *kept == result.stored);
    if (r.kind != relief_case::liquefied_gas) {
        // A compressed-gas or typed rate is accepted only when it is above 0.
        FUZZ_CHECK(result.W_s && *result.W_s > 0);
    } else {
        FUZZ_CHECK(whole_or_unset(result.W_s));
    }
    if (r.kind == relief_case::typed_rate) FUZZ_CHECK(result.W_s == r.W_t);
}

void fuzz_valve(decisions& in) {
    using namespace ventora::valve;
    valve_press_input p;
    p.without_data = in.byte() % 4 == 0;
    p.type = in.choice<valve_type>(3);
    p.face = in.choice<seal_face>(2);
    p.medium = in.choice<valve_medium>(3);
    for (number* n : {&p.d1, &p.D, &p.h, &p.phi, &p.capacity.C, &p.capacity.Ps, &p.capacity.M,
                      &p.capacity.T, &p.capacity.Z, &p.capacity.k, &p.capacity.rho, &p.capacity.Po})
        *n = in.value();
    const float vessel_ws = in.vessel_ws();

    const valve_press_result result = press_next(p, vessel_ws);
    FUZZ_CHECK(!result.messages.empty());
    for (const auto& m : result.messages) FUZZ_CHECK(valid_text(m));
    FUZZ_CHECK(!result.K || std::isfinite(*result.K));
    FUZZ_CHECK(finite_or_unset(result.area) && whole_or_unset(result.area));
    FUZZ_CHECK(finite_or_unset(result.capacity));
    FUZZ_CHECK(result.check.has_value() == (result.status == press_status::checked));
    // A capacity that could not be computed is no basis for passing: without one the verdict is
    // always the warning, never a pass.
    if (result.check && !result.capacity) FUZZ_CHECK(*result.check == verdict::fail);
    // Saturated steam above water's critical pressure never reaches a capacity.
    if (p.medium == valve_medium::saturated_steam && !p.without_data && result.check) {
        const number Pd = discharge_pressure(valve_medium::saturated_steam, p.capacity.Ps);
        FUZZ_CHECK(Pd && *Pd <= 22.064);
    }
    if (result.check == verdict::pass) {
        FUZZ_CHECK(result.capacity && *result.capacity > 0);
        FUZZ_CHECK(*result.capacity >= static_cast<double>(vessel_ws));
        FUZZ_CHECK(result.messages.back() == msg_pass);
    }
    if (result.check == verdict::fail) FUZZ_CHECK(result.messages.back() == msg_fail);
    if (result.status == press_status::bad_area) FUZZ_CHECK(result.area.value_or(0.0) <= 0);

    // The steps on their own, with the same inputs.
    if (p.type) {
        const area_result area = valve_flow_area(*p.type, p.face, p.d1, p.D, p.h, p.phi);
        FUZZ_CHECK(std::isfinite(area.K));
        FUZZ_CHECK(finite_or_unset(area.A) && whole_or_unset(area.A));
        if (p.medium) {
            const number W = valve_discharge_capacity(*p.medium, area.K, area.A, p.capacity);
            FUZZ_CHECK(finite_or_unset(W));
            const check_result check = capacity_check(W, vessel_ws);
            FUZZ_CHECK(check.valve_capacity == W);
        }
    }
}

void fuzz_disc(decisions& in) {
    using namespace ventora::disc;
    const auto medium = in.choice<disc_medium>(3);
    const auto nozzle = in.choice<nozzle_type>(3);
    disc_inputs d;
    for (number* n : {&d.p_b, &d.M, &d.T, &d.Z, &d.k, &d.p_o, &d.rho}) *n = in.value();
    const float W_s = in.vessel_ws();

    const disc_result result = size_bursting_disc(medium, nozzle, d, W_s);
    const std::string message = disc_message(result);
    FUZZ_CHECK(valid_text(message));
    FUZZ_CHECK(finite_or_unset(result.A) && whole_or_unset(result.A));
    if (result.status != disc_status::area_ready) {
        FUZZ_CHECK(!result.A);
        return;
    }
    // A minimum area reported as ready is set and not negative.
    FUZZ_CHECK(result.A.has_value() && *result.A >= 0);
    FUZZ_CHECK(starts_with(message, prompt_area));
    FUZZ_CHECK(medium.has_value());
    const auto v = [](const number& n) { return n.value_or(0.0); };
    switch (*medium) {
        case disc_medium::gas:
            FUZZ_CHECK(nozzle.has_value() && v(d.k) > 1);
            FUZZ_CHECK(v(d.p_b) > 0 && v(d.T) > 0 && v(d.Z) > 0 && v(d.M) > 0);
            FUZZ_CHECK(v(d.p_o) >= 0 && v(d.p_o) < v(d.p_b));
            break;
        case disc_medium::liquid:
            FUZZ_CHECK(v(d.p_b) > 0 && v(d.p_o) > 0 && v(d.rho) > 0 && v(d.p_o) < v(d.p_b));
            break;
        case disc_medium::saturated_steam:
            FUZZ_CHECK(nozzle.has_value() && v(d.p_b) > 0 && v(d.p_b) <= 22.064);
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    decisions in(data, size);
    switch (in.byte() % 3) {
        case 0: fuzz_relief(in); break;
        case 1: fuzz_valve(in); break;
        default: fuzz_disc(in); break;
    }
    return 0;
}
