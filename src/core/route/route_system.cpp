#include "route/route_system.h"

namespace ventora::route {

std::optional<system::system_input> system_input_of(const system::system_input& typed,
                                                    const route_input& in,
                                                    const route_result& result) {
    if (!result.valve) return std::nullopt;
    system::system_input out = typed;
    out.valve = in.valve;
    out.press = *result.valve;
    out.W_s = result.relief.stored;
    out.relief = in.relief;
    out.relief_result = result.relief;
    return out;
}

std::optional<account::route_account::system_section> system_section_of(
    const system::system_input& typed, const route_input& in, const route_result& result) {
    const auto completed = system_input_of(typed, in, result);
    if (!completed) return std::nullopt;
    return system::book_section(*completed);
}

}  // namespace ventora::route
