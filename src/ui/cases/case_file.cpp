#include "cases/case_file.h"

#include <charconv>
#include <initializer_list>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "request/request.h"
#include "route/choices.h"

namespace ventora::cases {
namespace {

using namespace ventora::choices;
using requests::fault;

// ---- Field tables: one per part, to write a case. Reading is the route request's decoder's
// (request/request.h), which knows the same fields; the tables here map its texts to the forms.

template <class F>
struct text_field {
    std::string_view name;
    QString F::*member;
};

template <class F>
struct choice_field {
    std::string_view name;
    std::optional<std::string_view> (*get)(const F&);
};

template <class T>
struct is_optional : std::false_type {};
template <class T>
struct is_optional<std::optional<T>> : std::true_type {};

template <class F, auto Member, const auto& Table>
choice_field<F> choice(std::string_view name) {
    using slot_t = std::remove_cvref_t<decltype(std::declval<F&>().*Member)>;
    choice_field<F> c{};
    c.name = name;
    c.get = [](const F& f) -> std::optional<std::string_view> {
        const auto& slot = f.*Member;
        if constexpr (is_optional<slot_t>::value) {
            if (!slot) return std::nullopt;
            return name_of(Table, *slot);
        } else {
            return name_of(Table, slot);
        }
    };
    return c;
}

using forms::disc_form;
using forms::relief_form;
using forms::valve_form;

const text_field<relief_form> relief_texts[] = {
    {"G", &relief_form::G},           {"rho", &relief_form::rho},
    {"d", &relief_form::d},           {"v", &relief_form::v},
    {"D", &relief_form::D},           {"L", &relief_form::L},
    {"h", &relief_form::h},           {"q", &relief_form::q},
    {"lambda", &relief_form::lambda}, {"t", &relief_form::t},
    {"delta", &relief_form::delta},   {"W_t", &relief_form::W_t},
};
const choice_field<relief_form> relief_choices[] = {
    choice<relief_form, &relief_form::tab, relief_cases>("case"),
    choice<relief_form, &relief_form::compressed, compressed_kinds>("compressed_kind"),
    choice<relief_form, &relief_form::fire, fire_exposures>("fire_exposure"),
    choice<relief_form, &relief_form::insulated, insulations>("insulation"),
    choice<relief_form, &relief_form::installed, installations>("installation"),
    choice<relief_form, &relief_form::form, vessel_forms>("vessel_form"),
};

const text_field<valve_form> valve_texts[] = {
    {"d1", &valve_form::d1}, {"D", &valve_form::D},   {"h", &valve_form::h},
    {"phi", &valve_form::phi}, {"C", &valve_form::C}, {"Ps", &valve_form::Ps},
    {"M", &valve_form::M},   {"T", &valve_form::T},   {"Z", &valve_form::Z},
    {"k", &valve_form::k},   {"rho", &valve_form::rho}, {"Po", &valve_form::Po},
};
const choice_field<valve_form> valve_choices[] = {
    choice<valve_form, &valve_form::notes_tab, valve_tabs>("tab"),
    choice<valve_form, &valve_form::type, valve_types>("valve_type"),
    choice<valve_form, &valve_form::face, seal_faces>("seal_face"),
    choice<valve_form, &valve_form::medium, valve_media>("medium"),
};

const text_field<disc_form> disc_texts[] = {
    {"p_b", &disc_form::p_b}, {"M", &disc_form::M}, {"T", &disc_form::T},
    {"Z", &disc_form::Z},     {"k", &disc_form::k}, {"p_o", &disc_form::p_o},
    {"rho", &disc_form::rho},
};
const choice_field<disc_form> disc_choices[] = {
    choice<disc_form, &disc_form::medium, disc_media>("medium"),
    choice<disc_form, &disc_form::nozzle, nozzle_types>("nozzle"),
};

// The system part: every box but a line's or the fire case's, which are written only when asked
// for (a field given asks for its check).
using forms::system_form;
const text_field<system_form> system_texts[] = {
    {"n", &system_form::n},       {"F_d", &system_form::F_d}, {"P_e", &system_form::P_e},
    {"mu", &system_form::mu},     {"rho", &system_form::rho}, {"k", &system_form::k},
    {"T", &system_form::T},       {"M", &system_form::M},     {"A_o", &system_form::A_o},
    {"P_2", &system_form::P_2},
};
const text_field<system_form> inlet_texts[] = {
    {"inlet_D", &system_form::inlet_D}, {"inlet_L", &system_form::inlet_L},
    {"inlet_K", &system_form::inlet_K}, {"inlet_eps", &system_form::inlet_eps},
};
const text_field<system_form> outlet_texts[] = {
    {"outlet_D", &system_form::outlet_D}, {"outlet_L", &system_form::outlet_L},
    {"outlet_K", &system_form::outlet_K}, {"outlet_eps", &system_form::outlet_eps},
};
const text_field<system_form> fire_texts[] = {
    {"fire_A", &system_form::fire_A}, {"fire_F", &system_form::fire_F},
};

// ---- Writing.

void write_string(std::string& out, std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += hex[u >> 4];
            out += hex[u & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

void write_key(std::string& out, std::string_view key, bool& first) {
    if (!first) out += ',';
    first = false;
    write_string(out, key);
    out += ':';
}

template <class F, std::size_t NC, std::size_t NT>
void write_part(std::string& out, const F& form, std::optional<std::string_view> calc,
                const choice_field<F> (&choices)[NC], const text_field<F> (&texts)[NT]) {
    out += '{';
    bool first = true;
    if (calc) {
        write_key(out, "calc", first);
        write_string(out, *calc);
    }
    for (const auto& c : choices) {
        write_key(out, c.name, first);
        if (const auto name = c.get(form))
            write_string(out, *name);
        else
            out += "null";
    }
    for (const auto& t : texts) {
        write_key(out, t.name, first);
        write_string(out, (form.*t.member).toUtf8().toStdString());
    }
    out += '}';
}

template <std::size_t N>
void write_texts(std::string& out, const system_form& form, const text_field<system_form> (&texts)[N]) {
    for (const auto& t : texts) {
        out += ',';
        write_string(out, t.name);
        out += ':';
        write_string(out, (form.*t.member).toUtf8().toStdString());
    }
}

void write_system(std::string& out, const system_form& form) {
    out += "{\"disc\":";
    write_string(out, form.disc ? "yes" : "no");
    out += ",\"valve_kind\":";
    write_string(out, form.bellows ? "bellows" : "conventional");
    out += ",\"discharge\":";
    write_string(out, form.open_discharge ? "open" : "closed");
    write_texts(out, form, system_texts);
    if (form.inlet_asked()) write_texts(out, form, inlet_texts);
    if (form.outlet_asked()) write_texts(out, form, outlet_texts);
    if (form.fire_asked()) {
        out += ",\"drainage\":";
        if (form.drainage) write_string(out, *form.drainage ? "adequate" : "inadequate");
        else out += "null";
        write_texts(out, form, fire_texts);
    }
    out += '}';
}

// ---- Reading.

int characters(std::string_view utf8) {
    int count = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

QString quote_name(std::string_view name) {
    return QStringLiteral("“") + QString::fromUtf8(name.data(), qsizetype(name.size())) +
           QStringLiteral("”");
}

QString path_of(std::string_view part, std::string_view key) {
    std::string p(part);
    if (!p.empty()) p += '.';
    p += key;
    return quote_name(p);
}

// "\"a\"、\"b\"": the names a choice takes.
QString names_of(const std::vector<std::string_view>& names) {
    QString out;
    for (const std::string_view name : names) {
        if (!out.isEmpty()) out += QStringLiteral("、");
        out += '"' + QString::fromUtf8(name.data(), qsizetype(name.size())) + '"';
    }
    return out;
}

// What is wrong with a file, as a sentence fragment that follows its name.
QString wording(const requests::problem& p) {
    const QString path = path_of(p.part, p.key);
    const QString value = QString::fromStdString(p.value);
    switch (p.what) {
        case fault::none:
        case fault::not_json: break;
        case fault::not_utf8: return QStringLiteral("内容不是UTF-8编码的文字");
        case fault::not_object: return QStringLiteral("内容不是JSON对象");
        case fault::not_a_case: return QStringLiteral("不是Ventora算例文件（缺少\"format\":\"ventora-case\"）");
        case fault::no_version: return QStringLiteral("缺少格式版本字段“version”");
        case fault::version_not_integer: return QStringLiteral("格式版本字段“version”应为整数");
        case fault::version_too_new:
            return QStringLiteral("算例由较新版本的程序保存（格式版本%1），本程序只能打开版本%2及以前的算例")
                .arg(value)
                .arg(format_version);
        case fault::version_unknown: return QStringLiteral("格式版本%1不存在").arg(value);
        case fault::unknown_field: return QStringLiteral("含有未知字段") + path;
        case fault::duplicate_field: return QStringLiteral("字段") + path + QStringLiteral("出现了两次");
        case fault::calc_not_route: return QStringLiteral("字段“calc”应为\"route\"");
        case fault::part_not_object:
            return QStringLiteral("字段") + path +
                   (p.nullable ? QStringLiteral("应为JSON对象或null") : QStringLiteral("应为JSON对象"));
        case fault::missing_relief: return QStringLiteral("缺少安全泄放量部分“relief”");
        case fault::missing_choice:
            return QStringLiteral("缺少字段") + path + QStringLiteral("（可选：") + names_of(p.names) +
                   QStringLiteral("）");
        case fault::choice_type:
            return QStringLiteral("字段") + path +
                   (p.nullable ? QStringLiteral("应为字符串或null") : QStringLiteral("应为字符串")) +
                   QStringLiteral("（可选：") + names_of(p.names) + QStringLiteral("）");
        case fault::unknown_choice:
            return QStringLiteral("字段") + path + QStringLiteral("的值") + quote_name(p.value) +
                   QStringLiteral("不存在（可选：") + names_of(p.names) + QStringLiteral("）");
        case fault::text_type:
            return QStringLiteral("字段") + path + QStringLiteral("应为字符串（框中的文字或表头的内容）");
        case fault::text_too_long:
            return QStringLiteral("字段") + path + QStringLiteral("的文字超过%1个字符").arg(max_text_chars);
        case fault::device_calc: return QStringLiteral("字段“device.calc”应为\"valve\"或\"disc\"");
        case fault::not_a_state:
            return QStringLiteral("字段“media.%1”应为正数或null").arg(QString::fromStdString(p.key));
        case fault::not_a_medium:
            return QStringLiteral("字段“media.%1”应为介质库中介质的标识").arg(QString::fromStdString(p.key));
        case fault::system_without_valve:
            return QStringLiteral("泄放系统校核部分“system”只能与安全阀部分（\"device\":{\"calc\":\"valve\",...}）一同保存");
    }
    return QStringLiteral("内容不是一行JSON");
}

// The texts the file holds for one part into its form; the rest keep the window's initial texts.
template <class F, std::size_t N>
void fill_texts(const std::vector<requests::box_text>& texts, int part, const text_field<F> (&fields)[N],
                F& form) {
    for (const requests::box_text& t : texts) {
        if (t.part != part) continue;
        for (const auto& f : fields)
            if (f.name == t.name) form.*f.member = QString::fromStdString(t.text);
    }
}

read_result refused(QString error) {
    read_result r;
    r.error = std::move(error);
    return r;
}

}  // namespace

bool same_project(const account::project_info& a, const account::project_info& b) {
    for (const auto& f : project_fields)
        if (a.*f.member != b.*f.member) return false;
    return true;
}

bool case_data::operator==(const case_data& other) const {
    return same_project(project, other.project) && relief == other.relief && device == other.device &&
           relief_medium == other.relief_medium && device_medium == other.device_medium &&
           relief_state == other.relief_state && device_state == other.device_state && system == other.system;
}

std::string write_case(const case_data& data) {
    std::string out = "{";
    bool first = true;
    write_key(out, "format", first);
    write_string(out, "ventora-case");
    write_key(out, "version", first);
    out += std::to_string(format_version);
    write_key(out, "calc", first);
    write_string(out, "route");

    write_key(out, "project", first);
    out += '{';
    bool first_project = true;
    for (const auto& f : project_fields) {
        write_key(out, f.name, first_project);
        write_string(out, data.project.*f.member);
    }
    out += '}';

    write_key(out, "media", first);
    out += '{';
    bool first_medium = true;
    for (const auto& [key, id] : {std::pair{"relief", &data.relief_medium}, std::pair{"device", &data.device_medium}}) {
        write_key(out, key, first_medium);
        if (id->empty()) out += "null";
        else write_string(out, *id);
    }
    // The states, only where given, in the shortest form that reads back to the same double.
    for (const auto& [key, value] :
         {std::pair{"relief_T", &data.relief_state.T}, std::pair{"relief_P", &data.relief_state.P},
          std::pair{"device_T", &data.device_state.T}, std::pair{"device_P", &data.device_state.P}}) {
        if (!*value) continue;
        write_key(out, key, first_medium);
        char digits[32];
        out.append(digits, std::to_chars(digits, digits + sizeof digits, **value).ptr);
    }
    out += '}';

    write_key(out, "relief", first);
    write_part(out, data.relief, std::nullopt, relief_choices, relief_texts);

    write_key(out, "device", first);
    if (const auto* valve = std::get_if<valve_form>(&data.device))
        write_part(out, *valve, "valve", valve_choices, valve_texts);
    else if (const auto* disc = std::get_if<disc_form>(&data.device))
        write_part(out, *disc, "disc", disc_choices, disc_texts);
    else
        out += "null";
    // Only beside a safety valve: the checks are the valve's.
    if (data.system && std::holds_alternative<valve_form>(data.device)) {
        write_key(out, "system", first);
        write_system(out, *data.system);
    }
    out += "}\n";
    return out;
}

read_result read_case(std::string_view bytes) {
    const requests::decoded_case decoded = requests::decode_case(bytes);
    if (!decoded.route) return refused(wording(decoded.why));
    const requests::route_request& route = *decoded.route;
    case_data data;
    data.project = route.project;
    data.relief_medium = route.relief_medium;
    data.device_medium = route.device_medium;
    data.relief_state = route.relief_state;
    data.device_state = route.device_state;

    const relief::relief_input& in = route.input.relief;
    data.relief.tab = in.kind;
    data.relief.compressed = in.compressed;
    data.relief.fire = in.fire;
    data.relief.insulated = in.insulated;
    data.relief.installed = in.installed;
    data.relief.form = in.form;
    fill_texts(decoded.texts, 0, relief_texts, data.relief);

    if (route.input.next == route::device::safety_valve) {
        valve_form form;
        form.notes_tab = route.input.valve.without_data;
        form.type = route.input.valve.type;
        form.face = route.input.valve.face;
        form.medium = route.input.valve.medium;
        fill_texts(decoded.texts, 1, valve_texts, form);
        data.device = form;
    } else if (route.input.next == route::device::bursting_disc) {
        disc_form form;
        form.medium = route.input.disc.medium;
        form.nozzle = route.input.disc.nozzle;
        fill_texts(decoded.texts, 1, disc_texts, form);
        data.device = form;
    }
    if (route.system) {
        system_form form;
        form.disc = route.system->disc_under_valve;
        form.bellows = route.system->bellows;
        form.open_discharge = route.system->open_discharge;
        if (route.system->fire) form.drainage = route.system->fire->drainage;
        fill_texts(decoded.texts, 2, system_texts, form);
        fill_texts(decoded.texts, 2, inlet_texts, form);
        fill_texts(decoded.texts, 2, outlet_texts, form);
        fill_texts(decoded.texts, 2, fire_texts, form);
        data.system = form;
    }
    read_result r;
    r.data = std::move(data);
    return r;
}

QString overlong_field(const case_data& data) {
    auto too_long = [](const QString& text) {
        return characters(text.toUtf8().toStdString()) > max_text_chars;
    };
    for (const auto& f : project_fields)
        if (characters(data.project.*f.member) > max_text_chars) return path_of("project", f.name);
    for (const auto& t : relief_texts)
        if (too_long(data.relief.*t.member)) return path_of("relief", t.name);
    if (const auto* valve = std::get_if<valve_form>(&data.device))
        for (const auto& t : valve_texts)
            if (too_long(valve->*t.member)) return path_of("device", t.name);
    if (const auto* disc = std::get_if<disc_form>(&data.device))
        for (const auto& t : disc_texts)
            if (too_long(disc->*t.member)) return path_of("device", t.name);
    if (data.system) {
        const auto overlong = [&](const auto& texts) -> QString {
            for (const auto& t : texts)
                if (too_long((*data.system).*t.member)) return path_of("system", t.name);
            return {};
        };
        for (QString field : {overlong(system_texts), overlong(inlet_texts), overlong(outlet_texts),
                              overlong(fire_texts)})
            if (!field.isEmpty()) return field;
    }
    return {};
}

QString save_case_file(const QString& path, const case_data& data) {
    const std::string line = write_case(data);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("无法写入（%1）").arg(file.errorString());
    if (file.write(line.data(), qint64(line.size())) != qint64(line.size())) {
        const QString why = file.errorString();
        file.cancelWriting();
        return QStringLiteral("无法写入（%1）").arg(why);
    }
    if (!file.commit()) return QStringLiteral("无法写入（%1）").arg(file.errorString());
    return {};
}

read_result load_case_file(const QString& path) {
    // A named pipe, a device or a folder is refused before it is opened: opening a pipe waits
    // for a writer that may never come.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) return refused(QStringLiteral("不是普通文件"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("无法读取（%1）").arg(file.errorString()));
    const QByteArray bytes = file.read(max_file_bytes + 1);
    if (bytes.size() > max_file_bytes) return refused(QStringLiteral("文件过大，不是算例"));
    if (file.error() != QFileDevice::NoError)
        return refused(QStringLiteral("无法读取（%1）").arg(file.errorString()));
    return read_case(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

}  // namespace ventora::cases
