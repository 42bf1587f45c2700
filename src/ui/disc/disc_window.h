#pragma once

#include <array>

#include <QMdiSubWindow>

#include "shell/forms.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ventora {
class window_host;
}

namespace ventora::disc {

// 爆破片计算 (`Form_pian`): a child window of the main window. Its constructor is the window's load.
// The engineer picks the medium and the nozzle, types the medium's data, and "下一步" gives the
// disc's minimum discharge area for the vessel's `vessel_ws`.
class disc_window : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit disc_window(window_host& host, QWidget* parent = nullptr);

    // The choices and every box's text as they stand (disc_window_form.cpp).
    forms::disc_form capture_form() const;
    // Fills the window as it opened with a form: the enabled states follow as if chosen by hand.
    void restore_form(const forms::disc_form& form);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build_controls(QGroupBox* frame1);
    void set_tab_order();

    // The medium options' handlers: each acts only when its own option is now selected, and sets
    // which boxes, labels and nozzle options apply.
    void on_gas();
    void on_liquid();
    void on_steam();
    // Enabled states in the order boxes 1–7, labels 1–7, nozzle options. Index 0 is p_b,
    // 1 the gas data M, T, Z, k, 2 p_o, 3 ρ.
    void apply_medium(bool gas_data, bool outlet, bool density, bool nozzles);

    void press_next_step();
    void return_to_main();

    window_host& host_;
    bool placed_ = false;
    double left_twips_ = 0;  // the place chosen on opening, kept until the window is first shown
    std::array<QLineEdit*, 8> text_{};        // Text1..Text7 at their own numbers
    std::array<QLabel*, 8> label_{};          // Label1..Label7 at their own numbers
    std::array<QRadioButton*, 7> option_{};   // Option1..Option6 at their own numbers
    QPushButton* return_button_ = nullptr;    // Command1
    QPushButton* next_button_ = nullptr;      // Command2
};

}  // namespace ventora::disc
