// Reading and checking the medium table (data/media/media.tsv). The build's table generator uses
// it to turn the table into code; a table that fails a check fails the build.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace ventora::media {

// One correlation group as read: its coefficients (an empty coefficient cell reads 0 only where
// the table allows it), its range and its source.
struct read_range {
    bool bounded = true;
    double T_min = 0.0, T_max = 0.0;
};

struct read_medium {
    std::string id, name_zh, name_en, formula, cas;
    double M = 0.0;
    std::string M_source;
    double Tc = 0.0, Pc = 0.0, omega = 0.0;
    std::string crit_source;

    std::array<double, 5> psat{};  // A..E
    read_range psat_range;
    std::string psat_source;

    std::array<double, 5> hvap{};  // A..E
    double hvap_Tc = 0.0;
    read_range hvap_range;
    std::string hvap_source;

    bool rhol_ppds = false;        // false: DIPPR 105; true: VDI/PPDS
    std::array<double, 4> rhol{};  // A..D
    double rhol_Tc = 0.0, rhol_rho_c = 0.0;
    read_range rhol_range;
    std::string rhol_source;

    bool cp_trc = false;  // the preferred Cp form
    std::array<double, 8> cp{};
    read_range cp_range;
    std::string cp_source;
};

struct table_read {
    std::vector<read_medium> media;
    std::string error;  // empty when the table passed every check
};

// Reads the whole text of the table. The first line must be the header with exactly the expected
// columns in order. Every row is checked: identity cells present and unique (id ASCII lower case,
// digits and '_'), every needed number a whole cell that parses as a finite number, M, Tc and Pc
// above 0, each range's minimum below its maximum, units as documented, the preferred Cp form
// complete. The first failure ends the reading; its message names the line and the column.
table_read read_media_table(std::string_view text);

}  // namespace ventora::media
