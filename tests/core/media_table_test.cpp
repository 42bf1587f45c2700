// The checks that make a malformed medium table fail the build: the real table passes them, and
// each kind of damage to one of its cells is refused with the line and column named.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "media/table_reader.h"

using ventora::media::read_media_table;
using ventora::media::table_read;

namespace {

std::string real_table() {
    std::ifstream in(VENTORA_MEDIA_TSV, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> cells_of(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find('\t', start);
        cells.push_back(line.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return cells;
        start = end + 1;
    }
}

std::string join(const std::vector<std::string>& parts, char separator) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? std::string(1, separator) : "") + parts[i];
    return out;
}

// The real table with one cell of one line (1 is the header) replaced.
std::string with_cell(int line, const std::string& column, const std::string& value) {
    std::vector<std::string> lines = lines_of(real_table());
    const std::vector<std::string> header = cells_of(lines[0]);
    std::vector<std::string> cells = cells_of(lines[line - 1]);
    for (std::size_t i = 0; i < header.size(); ++i)
        if (header[i] == column) cells[i] = value;
    lines[line - 1] = join(cells, '\t');
    return join(lines, '\n') + "\n";
}

TEST(MediaTable, RealTablePasses) {
    const table_read t = read_media_table(real_table());
    EXPECT_EQ(t.error, "");
    ASSERT_EQ(t.media.size(), 25U);
    EXPECT_EQ(t.media.front().id, "air");
    EXPECT_EQ(t.media.back().id, "benzene");
    // Water has no DIPPR 105 fit: the VDI/PPDS one, from its melting point to its Tc.
    EXPECT_TRUE(t.media[22].rhol_ppds);
    EXPECT_EQ(t.media[22].rhol_range.T_min, 273.15);
    EXPECT_EQ(t.media[22].rhol_range.T_max, 647.1);
    // Helium's Cp is the constant 5/2: no range.
    EXPECT_FALSE(t.media[4].cp_range.bounded);
    // Perry's empty hvap E reads 0.
    EXPECT_EQ(t.media[1].hvap[4], 0.0);
}

struct damage_case {
    const char* name;
    int line;
    const char* column;
    const char* value;
    const char* message;
};
void PrintTo(const damage_case& c, std::ostream* os) { *os << c.name; }

class MalformedRow : public testing::TestWithParam<damage_case> {};

TEST_P(MalformedRow, IsRefusedNamingLineAndColumn) {
    const damage_case& c = GetParam();
    const table_read t = read_media_table(with_cell(c.line, c.column, c.value));
    EXPECT_EQ(t.error, c.message);
}

// Line 13 is propane, line 3 nitrogen, line 6 helium, line 24 water.
const damage_case damage_cases[] = {
    {"LettersInANumber", 13, "psat_B", "abc", "media.tsv line 13, column psat_B: 'abc' is not a number"},
    {"TrailingJunk", 13, "M", "44.097x", "media.tsv line 13, column M: '44.097x' is not a number"},
    {"DecimalComma", 13, "Tc", "369,89", "media.tsv line 13, column Tc: '369,89' is not a number"},
    {"EmptyRequiredNumber", 13, "psat_C", "", "media.tsv line 13, column psat_C: empty"},
    {"EmptyName", 3, "name_zh", "", "media.tsv line 3, column name_zh: empty"},
    {"ZeroMolarMass", 13, "M", "0", "media.tsv line 13, column M: must be above 0"},
    {"NegativeCriticalPressure", 13, "Pc", "-4251200", "media.tsv line 13, column Pc: must be above 0"},
    {"InfiniteNumber", 13, "omega", "inf", "media.tsv line 13, column omega: 'inf' is not a number"},
    {"RangeUpsideDown", 13, "psat_Tmin", "400",
     "media.tsv line 13, column psat_Tmin: the range 400 to 369.83 K is not a range"},
    {"RangeOfOnePoint", 13, "hvap_Tmin", "369.83",
     "media.tsv line 13, column hvap_Tmin: the range 369.83 to 369.83 K is not a range"},
    {"WrongUnits", 13, "hvap_units", "kJ/mol",
     "media.tsv line 13, column hvap_units: 'kJ/mol', expected 'J/mol'"},
    {"LatentHeatRangeBeyondFitTc", 13, "hvap_Tmax", "370",
     "media.tsv line 13, column hvap_Tmax: above the fit's own Tc"},
    {"HalfADensityGroup", 13, "rhol_D", "", "media.tsv line 13, column rhol_D: empty"},
    {"UnknownCpForm", 13, "cp_preferred", "janaf",
     "media.tsv line 13, column cp_preferred: 'janaf', expected 'trc' or 'poly'"},
    {"PreferredCpFormIncomplete", 13, "cp_trc_a5", "", "media.tsv line 13, column cp_trc_a5: empty"},
    {"UnboundedCpThatDependsOnT", 6, "cp_poly_a1", "0.001",
     "media.tsv line 6, column cp_poly_Tmin: empty, but Cp depends on T"},
    {"IdNotAscii", 13, "id", "Propane", "media.tsv line 13, column id: 'Propane' is not lower-case ASCII"},
    {"DuplicateId", 13, "id", "nitrogen", "media.tsv line 13, column id: 'nitrogen' appears twice"},
    {"DuplicateCas", 13, "CAS", "7727-37-9", "media.tsv line 13, column CAS: '7727-37-9' appears twice"},
    {"WaterWithoutAnyDensity", 24, "vdi_rhol_A", "", "media.tsv line 24, column vdi_rhol_A: empty"},
    {"RenamedHeaderColumn", 1, "psat_B", "psat_b", "media.tsv header: column 14 should be psat_B"},
};

INSTANTIATE_TEST_SUITE_P(Damage, MalformedRow, testing::ValuesIn(damage_cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MediaTable, ShortRowIsRefused) {
    std::vector<std::string> lines = lines_of(real_table());
    lines[12] = lines[12].substr(0, lines[12].rfind('\t'));  // the notes cell gone
    const table_read t = read_media_table(join(lines, '\n'));
    EXPECT_EQ(t.error, "media.tsv line 13: 83 cells, expected 84");
}

TEST(MediaTable, HeaderOnlyIsRefused) {
    const table_read t = read_media_table(lines_of(real_table())[0] + "\n");
    EXPECT_EQ(t.error, "media.tsv has no media");
    EXPECT_EQ(read_media_table("").error, "media.tsv is empty");
}

TEST(MediaTable, WindowsLineEndingsRead) {
    std::string text = real_table();
    std::string crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const table_read t = read_media_table(crlf);
    EXPECT_EQ(t.error, "");
    EXPECT_EQ(t.media.size(), 25U);
}

}  // namespace
