#include "media/properties.h"

#include <cmath>

namespace ventora::media {
namespace {

// Keeps a value, or the refusal as a warning.
void take(std::optional<double>& field, const outcome& o, std::vector<std::string>& warnings) {
    if (o.value) field = o.value;
    else warnings.push_back(o.refusal);
}

bool valid(const std::optional<double>& x) { return x && std::isfinite(*x) && *x > 0; }

}  // namespace

std::string_view publication(std::string_view source) {
    const std::size_t cut = source.find("; ");
    return cut == std::string_view::npos ? source : source.substr(0, cut);
}

std::string citation(std::string_view source) {
    std::string text(source);
    // A repository file: "CalebBell/chemicals@<commit>:<path>.tsv", with what leads into it.
    for (const std::string_view lead : {" as tabulated in ", " with rhoc from ", ", ", " (", ""}) {
        for (std::size_t at; (at = text.find(std::string(lead) + "CalebBell/")) != std::string::npos;) {
            std::size_t end = text.find(".tsv", at);
            end = end == std::string::npos ? text.size() : end + 4;
            if (lead == " (" && end < text.size() && text[end] == ')') ++end;
            text.erase(at, end - at);
        }
    }
    for (const std::string_view unit_note : {", C1 scaled x1000 to mol/m3 by chemicals"}) {
        if (const std::size_t at = text.find(unit_note); at != std::string::npos)
            text.erase(at, unit_note.size());
    }
    // What is left of a part that named a file only: "a; ; b" and a trailing "; ".
    for (std::size_t at; (at = text.find("; ; ")) != std::string::npos;) text.erase(at, 2);
    while (!text.empty() && (text.back() == ' ' || text.back() == ';' || text.back() == '|'))
        text.pop_back();
    // "X (DIPPR eq.106)": the correlation first, then where its coefficients are printed.
    const std::string dippr = " (DIPPR eq.";
    if (const std::size_t at = text.find(dippr); at != std::string::npos) {
        const std::size_t close = text.find(')', at);
        if (close != std::string::npos) {
            const std::string number = text.substr(at + dippr.size(), close - at - dippr.size());
            text = "DIPPR " + number + "，数据引自 " + text.substr(0, at) + text.substr(close + 1);
        }
    }
    return text;
}

std::string compressibility_source(const substance& s) {
    return "Peng & Robinson, Ind. Eng. Chem. Fundam. 15 (1976) 59; Tc, Pc, ω: " +
           std::string(publication(s.crit_source));
}

properties_answer properties(const properties_query& query) {
    properties_answer a;
    a.medium = find_substance(query.substance);
    if (!a.medium) {
        a.error = "未知介质：" + query.substance;
        return a;
    }
    const substance& s = *a.medium;
    std::vector<std::string>& w = a.warnings;
    std::optional<double> T = query.T;
    std::optional<double> P = query.P;
    if (T && !valid(T)) {
        w.push_back("温度 T 无效（应为大于 0 的开尔文温度）");
        T.reset();
    }
    if (P && !valid(P)) {
        w.push_back("压力 P 无效（应为大于 0 的绝对压力 MPa）");
        P.reset();
    }

    a.M = s.M;
    if (P) take(a.T_sat, saturation_temperature(s, *P), w);
    if (T) take(a.P_sat, vapour_pressure(s, *T), w);

    const std::optional<double> q_at = P ? a.T_sat : T;
    const std::optional<double> rho_at = T ? T : a.T_sat;
    const std::optional<double> T_state = T ? T : a.T_sat;
    const std::optional<double> P_state = P ? P : a.P_sat;

    // Without the state a property needs: why, in the terms of what was given.
    const char* no_T_sat = "P 下无饱和温度，不适用";
    const char* nothing = "未给出温度 T 或压力 P";
    if (q_at) take(a.q, latent_heat(s, *q_at), w);
    else w.push_back(std::string("气化潜热：") + (P ? no_T_sat : nothing));
    if (rho_at) take(a.rho_liquid, liquid_density(s, *rho_at), w);
    else w.push_back(std::string("液体密度：") + (P ? no_T_sat : nothing));
    if (T_state) take(a.k, ideal_gas_k(s, *T_state), w);
    else w.push_back(std::string("绝热指数：") + (P ? no_T_sat : nothing));
    if (T_state && P_state) take(a.Z, compressibility(s, *T_state, *P_state), w);
    else if (T_state) w.push_back("压缩系数：T 下无饱和蒸气压，且未给出压力 P");
    else w.push_back(std::string("压缩系数：") + (P ? no_T_sat : nothing));

    auto source = [&a](const char* field, const std::optional<double>& v, std::string text) {
        if (v) a.sources.emplace_back(field, std::move(text));
    };
    source("M", a.M, std::string(s.M_source));
    source("k", a.k, std::string(s.cp.source));
    source("Z", a.Z, compressibility_source(s));
    source("T_sat", a.T_sat, std::string(s.psat.source));
    source("P_sat", a.P_sat, std::string(s.psat.source));
    source("q", a.q, std::string(s.hvap.source));
    source("rho_liquid", a.rho_liquid, std::string(s.rhol.source));
    return a;
}

}  // namespace ventora::media
