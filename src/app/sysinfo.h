// Finding and starting the operating system's system-information tool ("系统信息(&S)..." of the
// About dialog). Two locations are consulted in a fixed order: the first names the tool's program
// file, the second a folder that should hold it. Where the locations come from is the platform's
// business (the registry on Windows, the PATH and a fixed folder on Linux desktops).
#pragma once

#include <memory>
#include <optional>

#include <QString>
#include <QStringList>

#include "registry.h"

namespace ventora::app {

// What the About dialog shows whenever the tool cannot be started.
inline const QString sysinfo_unavailable = QStringLiteral("此时系统信息无效");

class sysinfo_host {
public:
    virtual ~sysinfo_host() = default;
    // Location 1: the full path of the tool's program file. It is started without any check.
    virtual std::optional<QString> tool_path() = 0;
    // Location 2: the folder that should hold the tool's program file.
    virtual std::optional<QString> tool_folder() = 0;
    // The program file inside a folder from location 2.
    virtual QString tool_in(const QString& folder) const = 0;

    // True for an existing plain file (a folder of that name does not count).
    virtual bool is_plain_file(const QString& path) const;
    // Starts the program detached, with no arguments, without waiting for it.
    virtual bool start(const QString& program);
};

// StartSysInfo: location 1, else location 2's folder holding the program file, then start it.
// False when no location gives a program or starting it failed; the caller then shows
// sysinfo_unavailable.
bool start_sys_info(sysinfo_host& host);

// The Windows locations, read from HKEY_LOCAL_MACHINE:
// 1. "SOFTWARE\Microsoft\Shared Tools\MSINFO", value "PATH": the tool's full path;
// 2. "SOFTWARE\Microsoft\Shared Tools Location", value "MSINFO": the folder holding MSINFO32.EXE.
class registry_sysinfo_host : public sysinfo_host {
public:
    explicit registry_sysinfo_host(registry& source) : registry_(source) {}
    std::optional<QString> tool_path() override;
    std::optional<QString> tool_folder() override;
    QString tool_in(const QString& folder) const override;

private:
    registry& registry_;
};

// The Linux desktop locations:
// 1. the first of the known system-information programs found on PATH;
// 2. a fixed folder, which must exist and hold the program file `sysinfo`.
class desktop_sysinfo_host : public sysinfo_host {
public:
    // hardinfo (a system profiler like MSINFO32), then the desktops' own information tools.
    static QStringList default_programs();
    static QString default_folder();  // /usr/libexec/ventora

    explicit desktop_sysinfo_host(QStringList programs = default_programs(),
                                  QString folder = default_folder());
    std::optional<QString> tool_path() override;
    std::optional<QString> tool_folder() override;
    QString tool_in(const QString& folder) const override;

private:
    QStringList programs_;
    QString folder_;
};

// The locations of the platform the program runs on.
std::unique_ptr<sysinfo_host> platform_sysinfo_host();

}  // namespace ventora::app
