#include "report.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "shell/message.h"

namespace ventora::app {

QStringList writer_word_processor::default_programs() {
    return {QStringLiteral("soffice"), QStringLiteral("libreoffice"), QStringLiteral("lowriter")};
}

writer_word_processor::writer_word_processor(QStringList programs) : programs_(std::move(programs)) {}

report_failure writer_word_processor::open_titled_visible(const QString& document, const QString&) {
    QString program;
    for (const QString& name : std::as_const(programs_)) {
        program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty()) break;
    }
    if (program.isEmpty()) return report_failure::no_word_processor;
    // Writer would open an empty window with an error box for a file that is not there.
    if (!QFileInfo(document).isFile()) return report_failure::missing_document;
    if (!QProcess::startDetached(program, {QStringLiteral("--writer"), document}))
        return report_failure::start_refused;
    return report_failure::none;
}

#ifndef _WIN32
// Windows: report_windows.cpp.
QString report_document_path() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).filePath(report_file_name);
}
#endif

QString report_failure_text(report_failure failure, const QString& document) {
    switch (failure) {
        case report_failure::none:
            return QString();
        case report_failure::no_word_processor:
            return QStringLiteral("无法打开计算书：找不到文字处理程序（LibreOffice Writer）");
        case report_failure::missing_document:
            return QStringLiteral("无法打开计算书：找不到计算书文件 ") + QDir::toNativeSeparators(document);
        case report_failure::start_refused:
            return QStringLiteral("无法打开计算书：文字处理程序无法启动");
    }
    return QString();
}

void open_report(QWidget* parent, word_processor& processor, const QString& document) {
    const report_failure failure = processor.open_titled_visible(document, report_caption);
    if (failure != report_failure::none) show_message(parent, report_failure_text(failure, document));
}

#ifndef _WIN32
void open_report(QWidget* parent) {
    writer_word_processor writer;
    open_report(parent, writer, report_document_path());
}
#endif

}  // namespace ventora::app
