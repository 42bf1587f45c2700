// 泄放系统校核 (`frm_system`): the relief-system checks after the route's safety valve. The route
// gives W_s, the valve, its capacity and the medium; the window asks only for the rest (number of
// valves, a disc under the valve, the inlet and outlet lines, bellows, open discharge, the API 521
// fire case, the medium's viscosity and density at the relieving state). "校核" runs the checks,
// shows each with its figures and verdict and the closing verdict line, and writes the section
// into the route's book. When the route is computed again the shown checks are withdrawn.
#pragma once

#include <map>
#include <optional>

#include <QMdiSubWindow>

#include "shell/forms.h"
#include "system/system_calc.h"

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace ventora {
class window_host;
}

namespace ventora::system_ui {

// What the form asks for, as the checks read it: every box by the number rules, a line's check
// and the fire case asked for as the form says (forms::system_form). Without the route's part.
system::system_input typed_input(const forms::system_form& form);

class system_window : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit system_window(window_host& host, QWidget* parent = nullptr);

    forms::system_form capture_form() const;
    // Fills the boxes and choices; any shown checks are withdrawn.
    void restore_form(const forms::system_form& form);

    // "校核": runs the checks on the route as it stands now.
    void run_checks();
    // The checks shown now: none before "校核", without a valve route, or once the route or a box
    // changed after them.
    const std::optional<system::system_result>& shown_result() const { return result_; }
    // Why no check is shown, as the window says it; empty while checks are shown.
    QString notice() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    QLineEdit* add_row(QGridLayout* grid, int row, const char* field, const QString& caption,
                       const QString& unit, const QString& placeholder = {});
    // Why the route gives nothing to check, or empty when its valve reached a capacity.
    QString route_refusal() const;
    void show_route();
    // Withdraws the shown checks (and the book's section), saying why.
    void withdraw(const QString& why);
    void fill_from_library();
    void show_checks(const system::system_result& r,
                     const account::route_account::system_section& section);

    window_host& host_;
    bool placed_ = false;
    bool restoring_ = false;
    std::map<QString, QLineEdit*> boxes_;  // by field name ("inlet_D")
    QCheckBox* disc_ = nullptr;
    QCheckBox* bellows_ = nullptr;
    QCheckBox* open_ = nullptr;
    QButtonGroup* drainage_ = nullptr;
    QRadioButton* drainage_yes_ = nullptr;
    QRadioButton* drainage_no_ = nullptr;
    QLabel* route_ = nullptr;
    QLabel* source_ = nullptr;
    QPushButton* library_ = nullptr;
    QPushButton* check_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* verdict_ = nullptr;
    QLabel* notice_ = nullptr;
    std::optional<system::system_result> result_;
};

}  // namespace ventora::system_ui
