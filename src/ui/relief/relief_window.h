// form_fa, "压力容器安全泄放量计算": the child window in which the engineer determines the
// vessel's safety relief rate W_s on one of three tabs, hands it to the program-wide workflow
// state and opens the device window of the chosen route.
#pragma once

#include <QMdiSubWindow>
#include <array>
#include <optional>

#include "relief/relief_calc.h"
#include "shell/forms.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;

namespace ventora {
class clock_status_bar;
class window_host;
}  // namespace ventora

namespace ventora::relief {

class relief_window : public QMdiSubWindow {
    Q_OBJECT
public:
    // Opening the window: builds every control, then sizes and places the window from the main
    // window's outer size.
    explicit relief_window(window_host& host, QWidget* parent = nullptr);

    // One tick of Timer2: slides the welcome banner along its cosine swing.
    void move_banner();

    // The banner's state: the angle in radians and the last position of Image1's left edge in
    // twips.
    double banner_angle() const { return banner_angle_; }
    double banner_position() const { return banner_position_; }
    QTimer* banner_timer() const { return timer2_; }

    // The choices, the showing tab and every box's text as they stand (relief_window_form.cpp).
    forms::relief_form capture_form() const;
    // Fills the window as it opened with a form: the enabled states follow as if chosen by hand.
    void restore_form(const forms::relief_form& form);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Construction, in relief_window_layout.cpp.
    void build_controls();
    QWidget* build_compressed_gas_tab();
    QWidget* build_liquefied_gas_tab();
    QWidget* build_typed_rate_tab();
    void build_banner_and_status(QWidget* client);
    void set_tab_order();
    void place_bottom_strip(QWidget* client);

    // Event handlers.
    void production_capacity_chosen();
    void gas_storage_tank_chosen();
    void liquefied_gas_option_clicked();
    void apply_vessel_form_rule();
    void next_step();

    std::optional<relief_case> current_case() const;
    relief_input read_input(relief_case kind) const;

    window_host& host_;
    // Where opening put the window, in the main window's client area. The frame's own placement
    // of a newly added child must not win over it.
    QRect load_geometry_;
    bool shown_ = false;

    QTabWidget* tabs_ = nullptr;
    QPushButton* command1_ = nullptr;

    // Tab 0: compressed gas or steam.
    QRadioButton* option1_ = nullptr;
    QRadioButton* option2_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* label5_ = nullptr;
    QLabel* label6_ = nullptr;
    QLabel* label7_ = nullptr;
    QLabel* label8_ = nullptr;
    QLabel* label9_ = nullptr;
    QLineEdit* text2_ = nullptr;
    QLineEdit* text3_ = nullptr;
    QLineEdit* text4_ = nullptr;
    QLineEdit* text5_ = nullptr;

    // Tab 1: liquefied gas. Option3(5) and Option3(8) do not exist and stay null.
    std::array<QRadioButton*, 13> option3_{};
    std::array<QLineEdit*, 7> text6_{};
    std::array<QLabel*, 7> label10_{};

    // Tab 2: typed rate.
    QLineEdit* text1_ = nullptr;

    // The bottom strip: the sliding banner over the status bar's text panel.
    QFrame* picture2_ = nullptr;
    QLabel* image1_ = nullptr;
    QTimer* timer2_ = nullptr;
    clock_status_bar* status_bar_ = nullptr;

    double banner_angle_ = 0.0;
    double banner_position_ = 0.0;
};

}  // namespace ventora::relief
