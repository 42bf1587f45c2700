// "(&T)文件打印": opens the calculation report document in the word processor, titled and
// visible, and leaves it to the user. The program never writes the document.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace ventora::app {

// The title the word processor's window is given.
inline const QString report_caption = QStringLiteral("安全阀计算书");
// The document's file name; on Windows it lives at c:\安全阀计算书.doc.
inline const QString report_file_name = QStringLiteral("安全阀计算书.doc");

enum class report_failure { none, no_word_processor, missing_document, start_refused };

// The word processor, reached the platform's way. Each use starts afresh and keeps no link to
// what it started.
// - Windows: a new automation object "Word.Application"; Documents.Open(document) with all the
//   optional arguments left out; Caption ← caption; Visible ← true; then every reference released.
// - Linux desktops: writer_word_processor.
class word_processor {
public:
    virtual ~word_processor() = default;
    virtual report_failure open_titled_visible(const QString& document, const QString& caption) = 0;
};

// LibreOffice Writer: the first of soffice, libreoffice and lowriter found on PATH, started
// detached as `<program> --writer <document>`. A missing document starts nothing. Writer names
// its window after the document, so the caption is not passed on.
class writer_word_processor : public word_processor {
public:
    static QStringList default_programs();
    explicit writer_word_processor(QStringList programs = default_programs());
    report_failure open_titled_visible(const QString& document, const QString& caption) override;

private:
    QStringList programs_;
};

// Where the report document is looked for: 安全阀计算书.doc in the user's documents folder.
QString report_document_path();

// The message that names what failed; empty for report_failure::none.
QString report_failure_text(report_failure failure, const QString& document);

// Opens `document` through `processor`. Nothing is checked beforehand and no program state
// changes; a failure is reported in one message box.
void open_report(QWidget* parent, word_processor& processor, const QString& document);

// The menu item: the platform's word processor on report_document_path().
void open_report(QWidget* parent);

}  // namespace ventora::app
