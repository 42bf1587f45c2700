#include "route/route.h"

namespace ventora::route {

route_result run_route(const route_input& in, account::route_account* book) {
    route_result out;
    out.relief = relief::calc_relief_rate(in.relief);
    if (book) book->device.reset();
    if (out.relief.refused() || !in.next) return out;
    const float W_s = out.relief.stored;
    switch (*in.next) {
        case device::safety_valve: out.valve = valve::press_next(in.valve, W_s); break;
        case device::bursting_disc:
            out.disc = disc::size_bursting_disc(in.disc.medium, in.disc.nozzle, in.disc.inputs, W_s);
            break;
    }
    return out;
}

}  // namespace ventora::route
