#include <gtest/gtest.h>

#include <map>
#include <set>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "sysinfo.h"

using namespace ventora::app;

namespace {

// A host whose two locations, files and start outcome are given, and which logs what
// StartSysInfo asked of it.
class scripted_host : public sysinfo_host {
public:
    std::optional<QString> location_1;
    std::optional<QString> location_2;
    std::set<QString> plain_files;
    bool start_succeeds = true;
    QStringList log;

    std::optional<QString> tool_path() override {
        log << QStringLiteral("location 1");
        return location_1;
    }
    std::optional<QString> tool_folder() override {
        log << QStringLiteral("location 2");
        return location_2;
    }
    QString tool_in(const QString& folder) const override { return folder + QStringLiteral("/tool"); }
    bool is_plain_file(const QString& path) const override {
        const_cast<scripted_host*>(this)->log << QStringLiteral("exists ") + path;
        return plain_files.count(path) > 0;
    }
    bool start(const QString& program) override {
        log << QStringLiteral("start ") + program;
        return start_succeeds;
    }
};

struct lookup_case {
    const char* name;
    std::optional<QString> location_1;
    std::optional<QString> location_2;
    std::set<QString> plain_files;
    bool start_succeeds;
    bool started;
    QStringList log;
};

void PrintTo(const lookup_case& c, std::ostream* os) { *os << c.name; }

const lookup_case lookup_cases[] = {
    {"LocationOneIsStartedWithoutAnyCheck", QStringLiteral("/opt/info/tool"), std::nullopt, {}, true,
     true, {"location 1", "start /opt/info/tool"}},
    {"LocationOneWinsOverLocationTwo", QStringLiteral("/opt/info/tool"), QStringLiteral("/srv"),
     {"/srv/tool"}, true, true, {"location 1", "start /opt/info/tool"}},
    {"LocationOneThatCannotStartGivesFailure", QStringLiteral("/no/such/tool"), QStringLiteral("/srv"),
     {"/srv/tool"}, false, false, {"location 1", "start /no/such/tool"}},
    {"FolderHoldingTheToolIsStarted", std::nullopt, QStringLiteral("/srv"), {"/srv/tool"}, true,
     true, {"location 1", "location 2", "exists /srv/tool", "start /srv/tool"}},
    {"FolderWithoutTheToolGivesFailure", std::nullopt, QStringLiteral("/srv"), {}, true, false,
     {"location 1", "location 2", "exists /srv/tool"}},
    {"ToolInFolderThatCannotStartGivesFailure", std::nullopt, QStringLiteral("/srv"),
     {"/srv/tool"}, false, false, {"location 1", "location 2", "exists /srv/tool", "start /srv/tool"}},
    {"NeitherLocationGivesFailure", std::nullopt, std::nullopt, {}, true, false,
     {"location 1", "location 2"}},
};

class StartSysInfo : public testing::TestWithParam<lookup_case> {};

TEST_P(StartSysInfo, LooksUpInOrder) {
    const lookup_case& c = GetParam();
    scripted_host host;
    host.location_1 = c.location_1;
    host.location_2 = c.location_2;
    host.plain_files = c.plain_files;
    host.start_succeeds = c.start_succeeds;
    EXPECT_EQ(start_sys_info(host), c.started);
    EXPECT_EQ(host.log, c.log);
}

INSTANTIATE_TEST_SUITE_P(Lookup, StartSysInfo, testing::ValuesIn(lookup_cases),
                         [](const auto& info) { return std::string(info.param.name); });

// The Windows locations over a registry held in a table; file test and start are logged.
class table_registry : public registry {
public:
    std::map<std::pair<QString, QString>, raw_registry_value> values;
    QStringList asked;
    std::optional<raw_registry_value> read(std::uint32_t root, const QString& key,
                                           const QString& value_name) override {
        asked << QStringLiteral("%1 %2\\%3").arg(root, 0, 16).arg(key, value_name);
        const auto found = values.find({key, value_name});
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
};

class logged_registry_host : public registry_sysinfo_host {
public:
    using registry_sysinfo_host::registry_sysinfo_host;
    std::set<QString> plain_files;
    QStringList started;
    bool is_plain_file(const QString& path) const override { return plain_files.count(path) > 0; }
    bool start(const QString& program) override {
        started << program;
        return true;
    }
};

const QString msinfo_key = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString location_key = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString first_question = QStringLiteral("80000002 ") + msinfo_key + QStringLiteral("\\PATH");
const QString second_question =
    QStringLiteral("80000002 ") + location_key + QStringLiteral("\\MSINFO");

TEST(RegistryLocations, PathValueIsStartedAndTheSecondKeyIsNotRead) {
    table_registry reg;
    reg.values[{msinfo_key, "PATH"}] = {reg_sz, QByteArray("C:\\PROGRA~1\\MSINFO32.EXE\0", 25)};
    logged_registry_host host(reg);
    EXPECT_TRUE(start_sys_info(host));
    EXPECT_EQ(reg.asked, QStringList{first_question});
    EXPECT_EQ(host.started, QStringList{"C:\\PROGRA~1\\MSINFO32.EXE"});
}

TEST(RegistryLocations, FolderValueIsUsedWhenThePathValueIsMissing) {
    table_registry reg;
    // D:\工具 in code page 936.
    reg.values[{location_key, "MSINFO"}] = {reg_sz, QByteArray("D:\\\xB9\xA4\xBE\xDF")};
    logged_registry_host host(reg);
    host.plain_files = {QStringLiteral("D:\\工具\\MSINFO32.EXE")};
    EXPECT_TRUE(start_sys_info(host));
    EXPECT_EQ(reg.asked, (QStringList{first_question, second_question}));
    EXPECT_EQ(host.started, QStringList{QStringLiteral("D:\\工具\\MSINFO32.EXE")});
}

TEST(RegistryLocations, OverlongPathValueCountsAsMissing) {
    table_registry reg;
    reg.values[{msinfo_key, "PATH"}] = {reg_sz, QByteArray(1025, 'C')};
    reg.values[{location_key, "MSINFO"}] = {reg_sz, QByteArray("C:\\INFO")};
    logged_registry_host host(reg);
    host.plain_files = {QStringLiteral("C:\\INFO\\MSINFO32.EXE")};
    EXPECT_TRUE(start_sys_info(host));
    EXPECT_EQ(host.started, QStringList{"C:\\INFO\\MSINFO32.EXE"});
}

TEST(RegistryLocations, FolderWithoutTheToolStartsNothing) {
    table_registry reg;
    reg.values[{location_key, "MSINFO"}] = {reg_sz, QByteArray("C:\\INFO")};
    logged_registry_host host(reg);
    EXPECT_FALSE(start_sys_info(host));
    EXPECT_TRUE(host.started.isEmpty());
}

TEST(RegistryLocations, NoValuesStartNothing) {
    table_registry reg;
    logged_registry_host host(reg);
    EXPECT_FALSE(start_sys_info(host));
    EXPECT_EQ(reg.asked, (QStringList{first_question, second_question}));
    EXPECT_TRUE(host.started.isEmpty());
}

#ifndef _WIN32
// Windows has no such locations (it asks the registry, tested above and in registry_windows_test).
// The Linux desktop locations, on a PATH and a folder made for the test.
class DesktopLocations : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        saved_path = qgetenv("PATH");
        QDir(dir.path()).mkpath(QStringLiteral("bin"));
        qputenv("PATH", QFile::encodeName(dir.filePath(QStringLiteral("bin"))));
    }
    void TearDown() override { qputenv("PATH", saved_path); }

    QString add_program(const QString& name) {
        const QString path = dir.filePath(QStringLiteral("bin/") + name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    QTemporaryDir dir;
    QByteArray saved_path;
};

TEST_F(DesktopLocations, FirstKnownProgramOnPathIsLocationOne) {
    add_program(QStringLiteral("gnome-system-monitor"));
    const QString kinfocenter = add_program(QStringLiteral("kinfocenter"));
    desktop_sysinfo_host host;
    EXPECT_EQ(host.tool_path(), kinfocenter);
}

TEST_F(DesktopLocations, HardinfoComesFirst) {
    const QString hardinfo = add_program(QStringLiteral("hardinfo"));
    add_program(QStringLiteral("kinfocenter"));
    desktop_sysinfo_host host;
    EXPECT_EQ(host.tool_path(), hardinfo);
}

TEST_F(DesktopLocations, NoKnownProgramMeansNoLocationOne) {
    add_program(QStringLiteral("top"));
    desktop_sysinfo_host host;
    EXPECT_FALSE(host.tool_path().has_value());
}

TEST_F(DesktopLocations, ExistingFolderIsLocationTwoAndHoldsSysinfo) {
    const QString folder = dir.filePath(QStringLiteral("tools"));
    QDir().mkpath(folder);
    desktop_sysinfo_host host(desktop_sysinfo_host::default_programs(), folder);
    EXPECT_EQ(host.tool_folder(), folder);
    EXPECT_EQ(host.tool_in(folder), folder + QStringLiteral("/sysinfo"));
}

TEST_F(DesktopLocations, MissingFolderMeansNoLocationTwo) {
    desktop_sysinfo_host host(desktop_sysinfo_host::default_programs(),
                              dir.filePath(QStringLiteral("absent")));
    EXPECT_FALSE(host.tool_folder().has_value());
}

TEST_F(DesktopLocations, FolderNamedLikeTheToolIsNotAPlainFile) {
    const QString folder = dir.filePath(QStringLiteral("tools"));
    QDir().mkpath(folder + QStringLiteral("/sysinfo"));
    desktop_sysinfo_host host(desktop_sysinfo_host::default_programs(), folder);
    EXPECT_FALSE(host.is_plain_file(host.tool_in(folder)));
    EXPECT_FALSE(start_sys_info(host));
}
#endif  // _WIN32

TEST(DesktopDefaults, FixedFolderAndProgramOrder) {
    EXPECT_EQ(desktop_sysinfo_host::default_folder(), QStringLiteral("/usr/libexec/ventora"));
    EXPECT_EQ(desktop_sysinfo_host::default_programs(),
              (QStringList{"hardinfo", "kinfocenter", "gnome-system-monitor", "mate-system-monitor"}));
}

}  // namespace
