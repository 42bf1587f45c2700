// 计算书: a child window of the main window showing the book of the current route as pages, kept
// up to date after every "下一步", with printing, PDF and ODT export and the title-block fields.
// The fields are remembered between runs in the user's settings.
#pragma once

#include <QMdiSubWindow>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "account/account.h"

class QLabel;
class QLineEdit;
class QPrintPreviewWidget;
class QPrinter;
class QGridLayout;
class QPushButton;
class QStackedWidget;
class QTimer;

namespace ventora::book {

// Nothing computed yet: no calculation has filled the route's account.
bool nothing_computed(const account::route_account& route);

class book_window : public QMdiSubWindow {
    Q_OBJECT
public:
    // `open_document` is handed an exported ODT to open in the word processor.
    explicit book_window(std::function<void(const QString& path)> open_document,
                         QWidget* parent = nullptr);
    ~book_window() override;

    // How the export buttons ask for a path (a save dialog); tests replace it. An empty path
    // cancels.
    using path_chooser =
        std::function<QString(QWidget* parent, const QString& caption, const QString& filter)>;
    void set_path_chooser(path_chooser chooser) { choose_path_ = std::move(chooser); }

    // Re-reads workflow().book and shows it.
    void refresh();

    // Writes the book to `path` by its extension; a failure is said in a message box.
    bool export_to(const QString& path);

private:
    void build_fields(QGridLayout* grid);
    account::project_info project() const;
    void field_edited();
    void load_settings();
    void export_as(const QString& caption, const QString& filter, const QString& suffix,
                   bool open_after);
    void print();
    void paint_preview(QPrinter* printer);

    std::function<void(const QString&)> open_document_;
    path_chooser choose_path_;
    std::vector<std::pair<std::string account::project_info::*, QLineEdit*>> fields_;
    QStackedWidget* pages_ = nullptr;
    QLabel* empty_label_ = nullptr;
    QLabel* status_label_ = nullptr;
    QPrintPreviewWidget* preview_ = nullptr;
    std::unique_ptr<QPrinter> preview_printer_;
    QTimer* preview_timer_ = nullptr;
    QPushButton* print_button_ = nullptr;
    QPushButton* pdf_button_ = nullptr;
    QPushButton* odt_button_ = nullptr;
};

}  // namespace ventora::book
