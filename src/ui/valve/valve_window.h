#pragma once

#include <array>
#include <map>

#include <QMdiSubWindow>

#include "shell/forms.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace ventora {
class window_host;
}

namespace ventora::valve {

struct valve_press_input;

// 安全阀计算 (`form_anquanfa`): a child window of the main window. Its constructor builds the
// controls and places the window. The engineer chooses the valve type, seal face and medium, types the dimensions and the
// medium's data, and "下一步" sizes the valve and checks its capacity against `vessel_ws`.
class valve_window : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit valve_window(window_host& host, QWidget* parent = nullptr);

    // The choices, the showing tab and every box's text as they stand (valve_window_form.cpp).
    forms::valve_form capture_form() const;
    // Fills the window as it opened with a form: the enabled states follow as if chosen by hand.
    void restore_form(const forms::valve_form& form);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Builders of the two tabs and the controls shared by both.
    void build_notes_tab(QWidget* page, int tab_row_px);
    void build_input_tab(QWidget* page, int tab_row_px);
    void build_valve_frame(QWidget* parent);
    void build_dimension_frame(QWidget* parent);
    void build_medium_frame(QWidget* parent);
    void build_medium_data_frame(QWidget* parent);
    // A label and the box to its right, in twips inside `frame`; the box starts at "0".
    QLineEdit* add_box(QWidget* frame, const QString& box_name, const QString& label_name,
                       const QString& caption, double label_left, double box_left, double top,
                       QLabel** label_out);
    void set_tab_order();

    // The three option handlers; each reads the options' states, never which one was clicked.
    void on_valve_type();
    void on_seal_face();
    void on_medium();
    // The seal-face columns: flat (D, d1) or conical (d1, h, φ).
    void apply_flat_face();
    void apply_conical_face();

    // "下一步" and "返回主控窗".
    void press_next_step();
    void return_to_main();
    valve_press_input read_press_input() const;

    window_host& host_;
    bool placed_ = false;
    QTabWidget* tabs_ = nullptr;
    QGroupBox* dimension_frame_ = nullptr;  // Frame4
    QGroupBox* medium_data_frame_ = nullptr;  // Frame3
    std::array<QRadioButton*, 3> valve_type_{};  // Option1(0..2)
    std::array<QRadioButton*, 2> seal_face_{};   // Option2(0..1)
    std::array<QRadioButton*, 3> medium_{};      // Option3(0..2)
    std::map<int, QLineEdit*> text1_;            // Text1(n)
    std::map<int, QLabel*> label1_;              // Label1(n)
    QLineEdit* density_box_ = nullptr;           // Text2, ρ
    QLineEdit* outlet_box_ = nullptr;            // Text3, Po
    QLabel* k_label_ = nullptr;                  // Label3
    QLabel* density_label_ = nullptr;            // Label4
    QPushButton* next_button_ = nullptr;         // Command1
    QPushButton* return_button_ = nullptr;       // Command2
};

}  // namespace ventora::valve
