#include "cases/case_file.h"

#include <initializer_list>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <simdjson.h>

#include "media/media.h"
#include "route/choices.h"

namespace ventora::cases {
namespace {

using namespace ventora::choices;
using simdjson::dom::element;
using simdjson::dom::element_type;

// ---- Field tables: one per part, used both to write and to read. A field carries the version
// that introduced it; a file of an earlier version does not know it.

template <class F>
struct text_field {
    std::string_view name;
    QString F::*member;
    int since = 1;
};

template <class F>
struct choice_field {
    std::string_view name;
    // False when no value of that name exists, or when the choice has no "none" and `value` is
    // null.
    bool (*set)(F&, std::optional<std::string_view> value);
    std::optional<std::string_view> (*get)(const F&);
    // "\"a\"、\"b\"": the names the field takes.
    std::string (*names)();
    bool nullable;
    int since = 1;
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
    c.nullable = is_optional<slot_t>::value;
    c.set = [](F& f, std::optional<std::string_view> value) {
        auto& slot = f.*Member;
        if (!value) {
            if constexpr (is_optional<slot_t>::value) {
                slot.reset();
                return true;
            }
            return false;
        }
        const auto found = lookup(Table, *value);
        if (!found) return false;
        slot = *found;
        return true;
    };
    c.get = [](const F& f) -> std::optional<std::string_view> {
        const auto& slot = f.*Member;
        if constexpr (is_optional<slot_t>::value) {
            if (!slot) return std::nullopt;
            return name_of(Table, *slot);
        } else {
            return name_of(Table, slot);
        }
    };
    c.names = [] {
        std::string out;
        for (const auto& entry : Table) {
            if (!out.empty()) out += "、";
            out += '"';
            out += entry.name;
            out += '"';
        }
        return out;
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

// The keys of an object: each known one at most once, none unknown.
bool check_keys(simdjson::dom::object object, std::string_view part,
                const std::vector<std::string_view>& known, QString& error) {
    std::vector<std::string_view> seen;
    for (auto [key, value] : object) {
        (void)value;
        bool is_known = false;
        for (std::string_view k : known) is_known = is_known || k == key;
        if (!is_known) {
            error = QStringLiteral("含有未知字段") + path_of(part, key);
            return false;
        }
        for (std::string_view s : seen) {
            if (s == key) {
                error = QStringLiteral("字段") + path_of(part, key) + QStringLiteral("出现了两次");
                return false;
            }
        }
        seen.push_back(key);
    }
    return true;
}

bool read_text(element value, std::string_view part, std::string_view key, std::string& out,
               QString& error) {
    if (value.type() != element_type::STRING) {
        error = QStringLiteral("字段") + path_of(part, key) +
                QStringLiteral("应为字符串（框中的文字或表头的内容）");
        return false;
    }
    const std::string_view text = value.get_string().value_unsafe();
    if (characters(text) > max_text_chars) {
        error = QStringLiteral("字段") + path_of(part, key) + QStringLiteral("的文字超过%1个字符")
                                                                 .arg(max_text_chars);
        return false;
    }
    out.assign(text);
    return true;
}

template <class F, std::size_t NC, std::size_t NT>
bool read_part(simdjson::dom::object object, std::string_view part, int version,
               std::initializer_list<std::string_view> also_known,
               const choice_field<F> (&choices)[NC], const text_field<F> (&texts)[NT], F& form,
               QString& error) {
    std::vector<std::string_view> known(also_known);
    for (const auto& c : choices)
        if (c.since <= version) known.push_back(c.name);
    for (const auto& t : texts)
        if (t.since <= version) known.push_back(t.name);
    if (!check_keys(object, part, known, error)) return false;

    for (auto [key, value] : object) {
        for (const auto& c : choices) {
            if (c.name != key) continue;
            std::optional<std::string_view> name;
            if (value.type() == element_type::STRING) {
                name = value.get_string().value_unsafe();
            } else if (value.type() != element_type::NULL_VALUE || !c.nullable) {
                error = QStringLiteral("字段") + path_of(part, key) +
                        (c.nullable ? QStringLiteral("应为字符串或null")
                                    : QStringLiteral("应为字符串")) +
                        QStringLiteral("（可选：") + QString::fromStdString(c.names()) +
                        QStringLiteral("）");
                return false;
            }
            if (!c.set(form, name)) {
                error = QStringLiteral("字段") + path_of(part, key) + QStringLiteral("的值") +
                        quote_name(*name) + QStringLiteral("不存在（可选：") +
                        QString::fromStdString(c.names()) + QStringLiteral("）");
                return false;
            }
        }
        for (const auto& t : texts) {
            if (t.name != key) continue;
            std::string text;
            if (!read_text(value, part, key, text, error)) return false;
            form.*t.member = QString::fromStdString(text);
        }
    }
    return true;
}

bool is_integer(element value) {
    return value.type() == element_type::INT64 || value.type() == element_type::UINT64;
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
           relief_medium == other.relief_medium && device_medium == other.device_medium;
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
    out += "}\n";
    return out;
}

read_result read_case(std::string_view bytes) {
    simdjson::dom::parser parser;
    element root;
    const simdjson::padded_string padded(bytes);
    if (const auto failure = parser.parse(padded).get(root)) {
        if (failure == simdjson::UTF8_ERROR) return refused(QStringLiteral("内容不是UTF-8编码的文字"));
        return refused(QStringLiteral("内容不是一行JSON"));
    }
    simdjson::dom::object top;
    if (root.get(top)) return refused(QStringLiteral("内容不是JSON对象"));

    // What the file is, before anything else about it.
    element format;
    if (top["format"].get(format) || format.type() != element_type::STRING ||
        format.get_string().value_unsafe() != "ventora-case")
        return refused(QStringLiteral("不是Ventora算例文件（缺少\"format\":\"ventora-case\"）"));
    element version_value;
    if (top["version"].get(version_value))
        return refused(QStringLiteral("缺少格式版本字段“version”"));
    if (!is_integer(version_value))
        return refused(QStringLiteral("格式版本字段“version”应为整数"));
    int64_t version = 0;
    if (version_value.type() == element_type::UINT64 || version_value.get_int64().get(version) ||
        version > format_version)
        return refused(QStringLiteral("算例由较新版本的程序保存（格式版本%1），本程序只能打开版本%2及以前的算例")
                           .arg(QString::fromStdString(std::string(simdjson::to_string(version_value))))
                           .arg(format_version));
    if (version < 1) return refused(QStringLiteral("格式版本%1不存在").arg(version));
    const int v = static_cast<int>(version);

    QString error;
    if (!check_keys(top, "", {"format", "version", "calc", "project", "media", "relief", "device"}, error))
        return refused(error);
    element calc;
    if (top["calc"].get(calc) || calc.type() != element_type::STRING ||
        calc.get_string().value_unsafe() != "route")
        return refused(QStringLiteral("字段“calc”应为\"route\""));

    case_data data;
    element project;
    if (!top["project"].get(project)) {
        simdjson::dom::object fields;
        if (project.get(fields)) return refused(QStringLiteral("字段“project”应为JSON对象"));
        std::vector<std::string_view> known;
        for (const auto& f : project_fields) known.push_back(f.name);
        if (!check_keys(fields, "project", known, error)) return refused(error);
        for (auto [key, value] : fields)
            for (const auto& f : project_fields)
                if (f.name == key && !read_text(value, "project", key, data.project.*f.member, error))
                    return refused(error);
    }

    element media;
    if (!top["media"].get(media) && media.type() != element_type::NULL_VALUE) {
        simdjson::dom::object fields;
        if (media.get(fields)) return refused(QStringLiteral("字段“media”应为JSON对象"));
        if (!check_keys(fields, "media", {"relief", "device"}, error)) return refused(error);
        for (auto [key, value] : fields) {
            if (value.type() == element_type::NULL_VALUE) continue;
            std::string_view id;
            const media::substance* known = value.get_string().get(id) ? nullptr : media::find_substance(id);
            if (!known || known->id != id)
                return refused(QStringLiteral("字段“media.%1”应为介质库中介质的标识")
                                   .arg(QString::fromUtf8(key.data(), qsizetype(key.size()))));
            (key == "relief" ? data.relief_medium : data.device_medium) = std::string(id);
        }
    }

    element relief;
    simdjson::dom::object relief_fields;
    if (top["relief"].get(relief)) return refused(QStringLiteral("缺少安全泄放量部分“relief”"));
    if (relief.get(relief_fields)) return refused(QStringLiteral("字段“relief”应为JSON对象"));
    element relief_case;
    if (relief_fields["case"].get(relief_case))
        return refused(QStringLiteral("缺少字段“relief.case”（可选：") +
                       QString::fromStdString(relief_choices[0].names()) + QStringLiteral("）"));
    if (!read_part(relief_fields, "relief", v, {}, relief_choices, relief_texts, data.relief, error))
        return refused(error);

    element device;
    if (!top["device"].get(device) && device.type() != element_type::NULL_VALUE) {
        simdjson::dom::object device_fields;
        if (device.get(device_fields))
            return refused(QStringLiteral("字段“device”应为JSON对象或null"));
        element kind;
        std::string_view which;
        if (device_fields["calc"].get(kind) || kind.get_string().get(which) ||
            (which != "valve" && which != "disc"))
            return refused(QStringLiteral("字段“device.calc”应为\"valve\"或\"disc\""));
        if (which == "valve") {
            valve_form form;
            if (!read_part(device_fields, "device", v, {"calc"}, valve_choices, valve_texts, form,
                           error))
                return refused(error);
            data.device = form;
        } else {
            disc_form form;
            if (!read_part(device_fields, "device", v, {"calc"}, disc_choices, disc_texts, form,
                           error))
                return refused(error);
            data.device = form;
        }
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
