#include "route/route.h"

#include "sizing/sizing.h"

namespace ventora::route {

route_result run_route(const route_input& in, account::route_account* book) {
    route_result out;
    account::account* relief_account = nullptr;
    if (book) {
        book->relief = {};
        book->device.reset();
        book->sizing.reset();
        relief_account = &book->relief;
    }
    out.relief = relief::calc_relief_rate(in.relief, relief_account);
    if (out.relief.refused() || !in.next) return out;
    const float W_s = out.relief.stored;
    account::account* device_account = book ? &book->device.emplace() : nullptr;
    switch (*in.next) {
        case device::safety_valve:
            out.valve = valve::press_next(in.valve, W_s, device_account);
            if (book && value_or_zero(out.valve->capacity) > 0) {
                account::account sizing;
                if (sizing::size_after_press(in.valve, *out.valve, W_s, &sizing))
                    book->sizing = std::move(sizing);
            }
            break;
        case device::bursting_disc:
            out.disc = disc::size_bursting_disc(in.disc.medium, in.disc.nozzle, in.disc.inputs, W_s,
                                                device_account);
            if (book && out.disc->status == disc::disc_status::area_ready &&
                value_or_zero(out.disc->A) > 0) {
                sizing::disc_min_bore(out.disc->A, &book->sizing.emplace());
            }
            break;
    }
    return out;
}

}  // namespace ventora::route
