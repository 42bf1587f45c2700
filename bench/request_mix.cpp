#include "request_mix.h"

#include <array>
#include <string_view>

namespace ventora::bench {

std::string request_mix(std::size_t count) {
    // "%" stands for a number that changes from line to line (typed as the window would hold it).
    static constexpr std::array<std::string_view, 16> templates = {
        R"({"calc":"relief","case":"compressed_gas","compressed_kind":"gas_storage_tank","rho":10,"d":%,"v":20})",
        R"({"calc":"relief","case":"compressed_gas","compressed_kind":"production_capacity","G":"1500.%"})",
        R"({"calc":"relief","case":"liquefied_gas","fire_exposure":"fire_exposed","insulation":"uninsulated","installation":"above_ground","vessel_form":"spherical","D":"2.%","q":300})",
        R"({"calc":"relief","case":"liquefied_gas","fire_exposure":"fire_free","insulation":"insulated","vessel_form":"hemispherical_heads","D":2,"L":"5.%","q":300,"t":50,"lambda":0.2,"delta":0.05})",
        R"({"calc":"relief","case":"typed_rate","W_t":"8%"})",
        R"({"calc":"valve","valve_type":"full_lift","medium":"gas","d1":%,"C":356,"Ps":1,"M":29,"T":300,"Z":1,"k":1.4,"Po":0.1,"vessel_ws":10000})",
        R"({"calc":"valve","valve_type":"full_lift","medium":"gas","d1":%,"C":356,"Ps":1,"M":29,"T":300,"Z":1,"k":1.4,"Po":0.8,"vessel_ws":10000})",
        R"({"calc":"valve","valve_type":"micro_lift_ring","seal_face":"flat","medium":"saturated_steam","D":60,"d1":%,"Ps":12,"vessel_ws":10000})",
        R"({"calc":"valve","valve_type":"micro_lift_plain","seal_face":"conical","medium":"liquid","d1":%,"h":2.5,"phi":45,"rho":1000,"Ps":1,"Po":0.1,"vessel_ws":10000})",
        R"({"calc":"valve","tab":"input","medium":"gas","d1":%})",
        R"({"calc":"disc","medium":"gas","nozzle":"straight_pipe","k":1.4,"p_b":"1.%","p_o":0.1,"M":29,"T":300,"Z":1,"vessel_ws":10000})",
        R"({"calc":"disc","medium":"gas","nozzle":"flush_pipe","k":1.4,"p_b":1,"p_o":"0.8%","M":29,"T":300,"Z":1,"vessel_ws":10000})",
        R"({"calc":"disc","medium":"liquid","p_b":1,"p_o":0.1,"rho":"10%","vessel_ws":10000})",
        R"({"calc":"disc","medium":"saturated_steam","nozzle":"bell_mouth","p_b":"1%","vessel_ws":10000})",
        R"({"calc":"disc","medium":"gas","nozzle":"bell_mouth","k":"","p_b":1,"vessel_ws":%})",
        R"({"calc":"relief","case":"liquefied_gas","fire_exposure":"fire_exposed","insulation":"uninsulated","installation":"water_spray","vessel_form":"elliptical_heads","D":2,"L":%,"q":300})",
    };
    std::string out;
    out.reserve(count * 160);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view t = templates[i % templates.size()];
        const std::size_t mark = t.find('%');
        out.append(t.substr(0, mark));
        out.append(std::to_string(10 + (i / templates.size()) % 90));
        out.append(t.substr(mark + 1));
        out.push_back('\n');
    }
    return out;
}

}  // namespace ventora::bench
