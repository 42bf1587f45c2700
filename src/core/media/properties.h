// One whole property query: a medium and an optional state (T in K, P in MPa absolute), answered
// with every property the library has for it, a warning for each that it refused and the source
// of each that it gave. The batch tool's {"calc":"properties",...} and the 介质物性 dialog both
// use it.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "media/media.h"

namespace ventora::media {

struct properties_query {
    std::string substance;     // any look-up key of find_substance
    std::optional<double> T;   // K
    std::optional<double> P;   // MPa, absolute
};

// Which state each property is taken at:
//   T_sat       at P (when P is given);
//   P_sat       at T (when T is given);
//   q           at T_sat(P) when P is given (the latent heat at the relief pressure), else at T;
//   rho_liquid  at T when T is given (the liquid at its own temperature), else at T_sat(P);
//   k           at T, or at T_sat(P) when T is absent;
//   Z           at (T, P); a missing one is the saturation state of the other (the saturated
//               vapour).
// M needs no state. A property without the state it needs is absent with a warning.
struct properties_answer {
    const substance* medium = nullptr;  // null: unknown substance, see error
    std::string error;
    std::optional<double> M, k, Z, T_sat, P_sat, q, rho_liquid;
    std::vector<std::string> warnings;  // one per absent property, each naming it and why
    // The source of each property given, by its field name ("M", "k", "Z", "T_sat", "P_sat",
    // "q", "rho_liquid"), in that order.
    std::vector<std::pair<std::string, std::string>> sources;
};

properties_answer properties(const properties_query& query);

// The publication part of a table source: the text before its "; " file reference.
std::string_view publication(std::string_view source);

// A source as a book cites it: the correlation and its publication, without the repository files
// the values were taken from (data/media/README.md keeps the full provenance).
// "Perry's … Table 2-150 (DIPPR eq.106); CalebBell/chemicals@…tsv" gives
// "DIPPR 106，数据引自 Perry's … Table 2-150".
std::string citation(std::string_view source);

// The source of Z: the equation of state and where Tc, Pc and ω come from.
std::string compressibility_source(const substance& s);

}  // namespace ventora::media
