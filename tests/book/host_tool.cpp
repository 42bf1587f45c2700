#include "host_tool.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace ventora::testing {
namespace {

QString failed(const QString& program) { return QStringLiteral("<failed: %1>").arg(program); }

#ifdef _WIN32
// The Linux path of a Windows one, from Wine's kernel32; empty on Windows itself.
QString unix_path(const QString& windows_path) {
    using to_unix = char*(__cdecl*)(const wchar_t*);
    const auto convert = reinterpret_cast<to_unix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return {};
    char* path = convert(reinterpret_cast<const wchar_t*>(windows_path.utf16()));
    if (!path) return {};
    const QString out = QString::fromUtf8(path);
    HeapFree(GetProcessHeap(), 0, path);
    return out;
}

QString quoted(const QString& word) {
    return QLatin1Char('\'') + QString(word).replace(QLatin1Char('\''), QLatin1String("'\\''")) +
           QLatin1Char('\'');
}
#endif

}  // namespace

QString run_host_tool(const QString& program, const QStringList& args) {
#ifdef _WIN32
    QTemporaryDir dir;
    const QString here = unix_path(dir.path());
    if (!dir.isValid() || here.isEmpty()) return failed(program);
    QString command = quoted(program);
    for (const QString& arg : args) {
        // A file the test names is passed as the Linux sees it; options stay as they are.
        const QString path = QFile::exists(arg) ? unix_path(arg) : QString();
        command += QLatin1Char(' ') + quoted(path.isEmpty() ? arg : path);
    }
    QFile script(dir.filePath(QStringLiteral("run.sh")));
    if (!script.open(QIODevice::WriteOnly)) return failed(program);
    script.write(QStringLiteral("cd %1 || exit 1\n%2 > out.part 2>/dev/null\n"
                                "echo $? > status.part\nmv out.part out && mv status.part status\n")
                     .arg(quoted(here), command)
                     .toUtf8());
    script.close();
    if (!QProcess::startDetached(QStringLiteral("/bin/sh"), {here + QStringLiteral("/run.sh")}))
        return failed(program);
    QFile status(dir.filePath(QStringLiteral("status")));
    for (QDeadlineTimer limit(60000); !status.exists(); QThread::msleep(20))
        if (limit.hasExpired()) return failed(program);
    QFile out(dir.filePath(QStringLiteral("out")));
    if (!status.open(QIODevice::ReadOnly) || status.readAll().trimmed() != "0" ||
        !out.open(QIODevice::ReadOnly))
        return failed(program);
    return QString::fromUtf8(out.readAll());
#else
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return failed(program);
    return QString::fromUtf8(p.readAllStandardOutput());
#endif
}

}  // namespace ventora::testing
