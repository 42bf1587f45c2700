#include "book/book_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include "book/book.h"
#include "shell/fonts.h"
#include "shell/message.h"
#include "shell/settings.h"
#include "shell/workflow_state.h"

namespace ventora::book {
namespace {

struct field_spec {
    std::string account::project_info::*member;
    const char* key;      // the settings key and the box's object name after "text_"
    const char* caption;  // the label before the box
    int row, column;      // in the grid of captions and boxes; a box alone in its row spans it
};

// As the title block reads: the project, the equipment, the drawing, then the signatures.
const field_spec field_specs[] = {
    {&account::project_info::project, "project", "工程名称", 0, 0},
    {&account::project_info::equipment, "equipment", "设备名称", 1, 0},
    {&account::project_info::tag, "tag", "设备位号", 1, 2},
    {&account::project_info::drawing, "drawing", "图号", 2, 0},
    {&account::project_info::designer, "designer", "设计", 3, 0},
    {&account::project_info::design_date, "design_date", "日期", 3, 2},
    {&account::project_info::checker, "checker", "校核", 4, 0},
    {&account::project_info::check_date, "check_date", "日期", 4, 2},
    {&account::project_info::approver, "approver", "审核", 5, 0},
    {&account::project_info::approve_date, "approve_date", "日期", 5, 2},
};


QString default_choose_path(QWidget* parent, const QString& caption, const QString& filter) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileDialog::getSaveFileName(parent, caption,
                                        QDir(folder).filePath(QStringLiteral("计算书")), filter);
}

}  // namespace

bool nothing_computed(const account::route_account& route) {
    const account::account& r = route.relief;
    return r.inputs.empty() && r.steps.empty() && !r.refused() && r.conclusion.empty() &&
           !route.device;
}

book_window::book_window(std::function<void(const QString&)> open_document, QWidget* parent)
    : QMdiSubWindow(parent),
      open_document_(std::move(open_document)),
      choose_path_(default_choose_path) {
    setObjectName(QStringLiteral("form_book"));
    setWindowTitle(QStringLiteral("计算书"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("book_client"));
    auto* column = new QVBoxLayout(client);

    auto* grid = new QGridLayout;
    build_fields(grid);
    column->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    auto add_button = [&](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, client);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        return b;
    };
    print_button_ = add_button("button_print", QStringLiteral("打印…"));
    pdf_button_ = add_button("button_pdf", QStringLiteral("导出PDF…"));
    odt_button_ = add_button("button_odt", QStringLiteral("导出ODT…"));
    status_label_ = new QLabel(client);
    status_label_->setObjectName(QStringLiteral("label_status"));
    buttons->addWidget(status_label_, 1);
    column->addLayout(buttons);

    pages_ = new QStackedWidget(client);
    pages_->setObjectName(QStringLiteral("book_pages"));
    empty_label_ = new QLabel(
        QStringLiteral("尚无计算结果：完成一次计算并按“下一步”后，这里显示计算书。"), pages_);
    empty_label_->setObjectName(QStringLiteral("label_empty"));
    empty_label_->setAlignment(Qt::AlignCenter);
    empty_label_->setFont(song_font(12));
    pages_->addWidget(empty_label_);
    preview_printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    preview_printer_->setPageSize(QPageSize(QPageSize::A4));
    preview_printer_->setPageOrientation(QPageLayout::Portrait);
    preview_printer_->setPageMargins(QMarginsF(20, 12, 20, 12), QPageLayout::Millimeter);
    preview_ = new QPrintPreviewWidget(preview_printer_.get(), pages_);
    preview_->setObjectName(QStringLiteral("book_preview"));
    preview_->fitToWidth();
    pages_->addWidget(preview_);
    column->addWidget(pages_, 1);
    setWidget(client);
    resize(820, 760);

    preview_timer_ = new QTimer(this);
    preview_timer_->setSingleShot(true);
    preview_timer_->setInterval(300);
    connect(preview_timer_, &QTimer::timeout, this, &book_window::refresh);
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, &book_window::paint_preview);
    connect(print_button_, &QPushButton::clicked, this, &book_window::print);
    connect(pdf_button_, &QPushButton::clicked, this, [this] {
        export_as(QStringLiteral("导出PDF"), QStringLiteral("PDF 文件 (*.pdf)"),
                  QStringLiteral("pdf"), false);
    });
    connect(odt_button_, &QPushButton::clicked, this, [this] {
        export_as(QStringLiteral("导出ODT"), QStringLiteral("ODF 文本文档 (*.odt)"),
                  QStringLiteral("odt"), true);
    });
    connect(&workflow_events(), &workflow_notifier::book_changed, this, &book_window::refresh);

    load_settings();
    refresh();
}

book_window::~book_window() = default;

void book_window::build_fields(QGridLayout* grid) {
    for (const field_spec& spec : field_specs) {
        auto* label = new QLabel(QString::fromUtf8(spec.caption));
        auto* box = new QLineEdit;
        box->setObjectName(QStringLiteral("text_") + QLatin1String(spec.key));
        label->setBuddy(box);
        fields_.emplace_back(spec.member, box);
        connect(box, &QLineEdit::textEdited, this, &book_window::field_edited);
        const bool alone = spec.member == &account::project_info::project ||
                           spec.member == &account::project_info::drawing;
        grid->addWidget(label, spec.row, spec.column);
        grid->addWidget(box, spec.row, spec.column + 1, 1, alone ? 3 : 1);
    }
}

account::project_info book_window::project() const {
    account::project_info p;
    for (const auto& [member, box] : fields_) p.*member = box->text().toStdString();
    return p;
}

void book_window::load_settings() {
    QSettings s = user_settings();
    s.beginGroup(QStringLiteral("book"));
    account::project_info& p = workflow().book.project;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        auto& [member, box] = fields_[i];
        // What this run already holds wins over what an earlier run left.
        if ((p.*member).empty())
            p.*member = s.value(QLatin1String(field_specs[i].key)).toString().toStdString();
        box->setText(QString::fromStdString(p.*member));
    }
}

void book_window::field_edited() {
    workflow().book.project = project();
    QSettings s = user_settings();
    s.beginGroup(QStringLiteral("book"));
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        s.setValue(QLatin1String(field_specs[i].key), fields_[i].second->text());
    }
    preview_timer_->start();
}

void book_window::refresh() {
    preview_timer_->stop();
    // The title block may have come from elsewhere (an opened case): show what the route holds.
    const account::project_info& p = workflow().book.project;
    for (auto& [member, box] : fields_) {
        const QString text = QString::fromStdString(p.*member);
        if (box->text() != text) box->setText(text);
    }
    const bool empty = nothing_computed(workflow().book);
    print_button_->setEnabled(!empty);
    pdf_button_->setEnabled(!empty);
    odt_button_->setEnabled(!empty);
    if (empty) {
        pages_->setCurrentWidget(empty_label_);
        return;
    }
    pages_->setCurrentWidget(preview_);
    preview_->updatePreview();
}

void book_window::paint_preview(QPrinter* printer) {
    chapter c;
    c.route = workflow().book;
    print_book(*printer, {c});
}

bool book_window::export_to(const QString& path) {
    chapter c;
    c.route = workflow().book;
    const QString failure = write_book(path, {c});
    if (!failure.isEmpty()) {
        status_label_->clear();
        show_message(this, failure);
        return false;
    }
    status_label_->setText(QStringLiteral("已导出：") + QDir::toNativeSeparators(path));
    return true;
}

void book_window::export_as(const QString& caption, const QString& filter, const QString& suffix,
                            bool open_after) {
    QString path = choose_path_(this, caption, filter);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0) path += '.' + suffix;
    if (export_to(path) && open_after && open_document_) open_document_(path);
}

void book_window::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(book_title);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    chapter c;
    c.route = workflow().book;
    print_book(printer, {c});
}

}  // namespace ventora::book
