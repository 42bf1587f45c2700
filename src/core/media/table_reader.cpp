#include "media/table_reader.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <set>

namespace ventora::media {
namespace {

constexpr std::array<std::string_view, 84> columns{
    "id", "name_zh", "name_en", "formula", "CAS", "M", "M_source", "Tc", "Pc", "Vc", "omega",
    "crit_source", "psat_A", "psat_B", "psat_C", "psat_D", "psat_E", "psat_Tmin", "psat_Tmax",
    "psat_source", "hvap_A", "hvap_B", "hvap_C", "hvap_D", "hvap_E", "hvap_Tc", "hvap_Tmin",
    "hvap_Tmax", "hvap_units", "hvap_source", "rhol_A", "rhol_B", "rhol_C", "rhol_D", "rhol_Tmin",
    "rhol_Tmax", "rhol_units", "rhol_source", "cp_poly_a0", "cp_poly_a1", "cp_poly_a2",
    "cp_poly_a3", "cp_poly_a4", "cp_poly_Tmin", "cp_poly_Tmax", "cp_poly_form", "cp_poly_source",
    "cp_trc_a0", "cp_trc_a1", "cp_trc_a2", "cp_trc_a3", "cp_trc_a4", "cp_trc_a5", "cp_trc_a6",
    "cp_trc_a7", "cp_trc_Tmin", "cp_trc_Tmax", "cp_trc_form", "cp_trc_source", "cp_preferred",
    "tsonop_a", "tsonop_b", "tsonop_source", "vdi_psat_Tc", "vdi_psat_Pc", "vdi_psat_A",
    "vdi_psat_B", "vdi_psat_C", "vdi_psat_D", "vdi_psat_Tm", "vdi_hvap_Tc", "vdi_hvap_A",
    "vdi_hvap_B", "vdi_hvap_C", "vdi_hvap_D", "vdi_hvap_E", "vdi_rhol_Tc", "vdi_rhol_rhoc",
    "vdi_rhol_A", "vdi_rhol_B", "vdi_rhol_C", "vdi_rhol_D", "vdi_source", "notes"};

std::vector<std::string_view> split(std::string_view line, char separator) {
    std::vector<std::string_view> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(separator, start);
        cells.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return cells;
        start = end + 1;
    }
}

// 'text', built by appending (GCC 12 warns falsely about "'" + std::string at -O2).
std::string quote(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '\'';
    out.append(text);
    out += '\'';
    return out;
}

std::size_t column(std::string_view name) {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i] == name) return i;
    return columns.size();  // a misspelt name in this file: caught by the first row read
}

// A row under reading: each failure keeps the first message and makes every later read harmless.
class row_reader {
public:
    row_reader(const std::vector<std::string_view>& cells, int line, std::string& error)
        : cells_(cells), line_(line), error_(error) {}

    bool failed() const { return !error_.empty(); }

    void fail(std::string_view name, const std::string& why) {
        if (failed()) return;
        error_ = "media.tsv line " + std::to_string(line_) + ", column " + std::string(name) +
                 ": " + why;
    }

    std::string_view cell(std::string_view name) const {
        const std::size_t i = column(name);
        return i < cells_.size() ? cells_[i] : std::string_view{};
    }
    bool empty(std::string_view name) const { return cell(name).empty(); }

    std::string text(std::string_view name) {
        if (empty(name)) fail(name, "empty");
        return std::string(cell(name));
    }

    // A number that must be there.
    double number(std::string_view name) {
        const std::optional<double> value = optional_number(name);
        if (!value && !failed()) fail(name, "empty");
        return value.value_or(0.0);
    }

    // A number that may be absent.
    std::optional<double> optional_number(std::string_view name) {
        const std::string_view c = cell(name);
        if (c.empty() || failed()) return std::nullopt;
        const std::string copy(c);
        errno = 0;
        char* end = nullptr;
        const double value = std::strtod(copy.c_str(), &end);
        if (end != copy.c_str() + copy.size() || end == copy.c_str() || errno == ERANGE ||
            !std::isfinite(value)) {
            fail(name, quote(copy) + " is not a number");
            return std::nullopt;
        }
        return value;
    }

    double positive(std::string_view name) {
        const double value = number(name);
        if (!failed() && !(value > 0)) fail(name, "must be above 0");
        return value;
    }

    read_range range(std::string_view min_name, std::string_view max_name) {
        read_range r;
        r.T_min = number(min_name);
        r.T_max = number(max_name);
        if (!failed() && !(r.T_min > 0 && r.T_min < r.T_max))
            fail(min_name, "the range " + std::string(cell(min_name)) + " to " +
                               std::string(cell(max_name)) + " K is not a range");
        return r;
    }

    void expect(std::string_view name, std::string_view wanted) {
        if (!failed() && cell(name) != wanted)
            fail(name, quote(cell(name)) + ", expected " + quote(wanted));
    }

private:
    const std::vector<std::string_view>& cells_;
    int line_;
    std::string& error_;
};

bool any_filled(const row_reader& r, std::initializer_list<std::string_view> names) {
    for (std::string_view n : names)
        if (!r.empty(n)) return true;
    return false;
}

read_medium read_row(row_reader& r) {
    read_medium m;
    m.id = r.text("id");
    for (char c : m.id)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'))
            r.fail("id", quote(m.id) + " is not lower-case ASCII");
    m.name_zh = r.text("name_zh");
    m.name_en = r.text("name_en");
    m.formula = r.text("formula");
    m.cas = r.text("CAS");
    m.M = r.positive("M");
    m.M_source = r.text("M_source");
    m.Tc = r.positive("Tc");
    m.Pc = r.positive("Pc");
    m.omega = r.number("omega");
    m.crit_source = r.text("crit_source");

    const char* psat_names[] = {"psat_A", "psat_B", "psat_C", "psat_D", "psat_E"};
    for (int i = 0; i < 5; ++i) m.psat[i] = r.number(psat_names[i]);
    m.psat_range = r.range("psat_Tmin", "psat_Tmax");
    m.psat_source = r.text("psat_source");

    // Perry gives C1 to C4 only: an empty E is 0, and only E may be empty.
    const char* hvap_names[] = {"hvap_A", "hvap_B", "hvap_C", "hvap_D"};
    for (int i = 0; i < 4; ++i) m.hvap[i] = r.number(hvap_names[i]);
    m.hvap[4] = r.optional_number("hvap_E").value_or(0.0);
    m.hvap_Tc = r.positive("hvap_Tc");
    m.hvap_range = r.range("hvap_Tmin", "hvap_Tmax");
    r.expect("hvap_units", "J/mol");
    m.hvap_source = r.text("hvap_source");
    if (!r.failed() && m.hvap_range.T_max > m.hvap_Tc)
        r.fail("hvap_Tmax", "above the fit's own Tc");

    if (any_filled(r, {"rhol_A", "rhol_B", "rhol_C", "rhol_D", "rhol_Tmin", "rhol_Tmax"})) {
        const char* names[] = {"rhol_A", "rhol_B", "rhol_C", "rhol_D"};
        for (int i = 0; i < 4; ++i) m.rhol[i] = r.number(names[i]);
        m.rhol_range = r.range("rhol_Tmin", "rhol_Tmax");
        r.expect("rhol_units", "mol/m3");
        m.rhol_source = r.text("rhol_source");
        if (!r.failed() && !(m.rhol[1] > 0)) r.fail("rhol_B", "must be above 0");
        if (!r.failed() && m.rhol_range.T_max > m.rhol[2]) r.fail("rhol_Tmax", "above the fit's C (Tc)");
    } else {
        // No DIPPR 105 fit: the VDI/PPDS one, from the melting point to its Tc (the source
        // states no range; this is the natural one).
        m.rhol_ppds = true;
        const char* names[] = {"vdi_rhol_A", "vdi_rhol_B", "vdi_rhol_C", "vdi_rhol_D"};
        for (int i = 0; i < 4; ++i) m.rhol[i] = r.number(names[i]);
        m.rhol_Tc = r.positive("vdi_rhol_Tc");
        m.rhol_rho_c = r.positive("vdi_rhol_rhoc");
        m.rhol_range = r.range("vdi_psat_Tm", "vdi_rhol_Tc");
        const std::string all = r.text("vdi_source");
        // "publication; file | file | file": the publication and the density file.
        const std::size_t semicolon = all.find("; ");
        const std::size_t density = all.find("Density");
        std::size_t file_start = all.rfind(" | ", density);
        file_start = file_start == std::string::npos ? semicolon + 2 : file_start + 3;
        if (!r.failed() && (semicolon == std::string::npos || density == std::string::npos))
            r.fail("vdi_source", "names no density file");
        else if (!r.failed())
            m.rhol_source = all.substr(0, semicolon + 2) + all.substr(file_start);
    }

    const std::string_view preferred = r.cell("cp_preferred");
    if (preferred == "trc") {
        m.cp_trc = true;
        const char* names[] = {"cp_trc_a0", "cp_trc_a1", "cp_trc_a2", "cp_trc_a3",
                               "cp_trc_a4", "cp_trc_a5", "cp_trc_a6", "cp_trc_a7"};
        for (int i = 0; i < 8; ++i) m.cp[i] = r.number(names[i]);
        m.cp_range = r.range("cp_trc_Tmin", "cp_trc_Tmax");
        m.cp_source = r.text("cp_trc_source");
    } else if (preferred == "poly") {
        const char* names[] = {"cp_poly_a0", "cp_poly_a1", "cp_poly_a2", "cp_poly_a3", "cp_poly_a4"};
        for (int i = 0; i < 5; ++i) m.cp[i] = r.number(names[i]);
        m.cp_source = r.text("cp_poly_source");
        if (r.empty("cp_poly_Tmin") && r.empty("cp_poly_Tmax")) {
            // Only a constant Cp holds at every temperature.
            m.cp_range.bounded = false;
            for (int i = 1; i < 5; ++i)
                if (m.cp[i] != 0.0) r.fail("cp_poly_Tmin", "empty, but Cp depends on T");
        } else {
            m.cp_range = r.range("cp_poly_Tmin", "cp_poly_Tmax");
        }
    } else {
        r.fail("cp_preferred", quote(preferred) + ", expected 'trc' or 'poly'");
    }
    return m;
}

}  // namespace

table_read read_media_table(std::string_view text) {
    table_read result;
    std::vector<std::string_view> lines = split(text, '\n');
    for (std::string_view& line : lines)
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.empty()) {
        result.error = "media.tsv is empty";
        return result;
    }
    const std::vector<std::string_view> header = split(lines[0], '\t');
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i >= header.size() || header[i] != columns[i]) {
            result.error = "media.tsv header: column " + std::to_string(i + 1) + " should be " +
                           std::string(columns[i]);
            return result;
        }
    }
    if (header.size() != columns.size()) {
        result.error = "media.tsv header: " + std::to_string(header.size()) + " columns, expected " +
                       std::to_string(columns.size());
        return result;
    }

    std::set<std::string> seen;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const int line = static_cast<int>(n + 1);
        const std::vector<std::string_view> cells = split(lines[n], '\t');
        if (cells.size() != columns.size()) {
            result.error = "media.tsv line " + std::to_string(line) + ": " +
                           std::to_string(cells.size()) + " cells, expected " +
                           std::to_string(columns.size());
            return result;
        }
        row_reader reader(cells, line, result.error);
        read_medium m = read_row(reader);
        if (reader.failed()) return result;
        // Every look-up key but the formula is unique across the table (two isomers share one
        // formula; looking up a shared formula finds nothing).
        for (const auto& [name, key] : {std::pair<const char*, const std::string&>{"id", m.id},
                                        {"name_zh", m.name_zh},
                                        {"name_en", m.name_en},
                                        {"CAS", m.cas}}) {
            if (!seen.insert(std::string(name) + '\t' + key).second) {
                reader.fail(name, quote(key) + " appears twice");
                return result;
            }
        }
        result.media.push_back(std::move(m));
    }
    if (result.media.empty()) result.error = "media.tsv has no media";
    return result;
}

}  // namespace ventora::media
