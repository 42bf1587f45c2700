#include "sysinfo.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#ifdef _WIN32
#include "registry_windows.h"
#endif

namespace ventora::app {

bool sysinfo_host::is_plain_file(const QString& path) const {
    const QFileInfo file(path);
    return file.exists() && file.isFile();
}

bool sysinfo_host::start(const QString& program) {
    return QProcess::startDetached(program, QStringList());
}

bool start_sys_info(sysinfo_host& host) {
    std::optional<QString> program = host.tool_path();
    if (!program) {
        const std::optional<QString> folder = host.tool_folder();
        if (!folder) return false;
        const QString candidate = host.tool_in(*folder);
        if (!host.is_plain_file(candidate)) return false;
        program = candidate;
    }
    return host.start(*program);
}

std::optional<QString> registry_sysinfo_host::tool_path() {
    // A failed look-up leaves the text empty, so the second look-up starts from "" as well.
    const key_value value =
        get_key_value(registry_, hkey_local_machine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                      QStringLiteral("PATH"), QString());
    if (!value.found) return std::nullopt;
    return value.text;
}

std::optional<QString> registry_sysinfo_host::tool_folder() {
    const key_value value =
        get_key_value(registry_, hkey_local_machine, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                      QStringLiteral("MSINFO"), QString());
    if (!value.found) return std::nullopt;
    return value.text;
}

QString registry_sysinfo_host::tool_in(const QString& folder) const {
    return folder + QStringLiteral("\\MSINFO32.EXE");
}

QStringList desktop_sysinfo_host::default_programs() {
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"), QStringLiteral("mate-system-monitor")};
}

QString desktop_sysinfo_host::default_folder() { return QStringLiteral("/usr/libexec/ventora"); }

desktop_sysinfo_host::desktop_sysinfo_host(QStringList programs, QString folder)
    : programs_(std::move(programs)), folder_(std::move(folder)) {}

std::optional<QString> desktop_sysinfo_host::tool_path() {
    for (const QString& name : std::as_const(programs_)) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) return path;
    }
    return std::nullopt;
}

std::optional<QString> desktop_sysinfo_host::tool_folder() {
    if (!QFileInfo(folder_).isDir()) return std::nullopt;
    return folder_;
}

QString desktop_sysinfo_host::tool_in(const QString& folder) const {
    return folder + QStringLiteral("/sysinfo");
}

std::unique_ptr<sysinfo_host> platform_sysinfo_host() {
#ifdef _WIN32
    // The registry reader keeps nothing between reads: one serves every look-up.
    static win32_registry system_registry;
    return std::make_unique<registry_sysinfo_host>(system_registry);
#else
    return std::make_unique<desktop_sysinfo_host>();
#endif
}

}  // namespace ventora::app
