#include "relief/relief_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "shell/controls.h"
#include "shell/message.h"
#include "shell/twips.h"
#include "shell/window_host.h"
#include "shell/workflow_state.h"
#include "relief/relief_window_banner.h"

namespace ventora::relief {
namespace {

constexpr double window_width = 9300;
constexpr double window_height = 7380;

void set_enabled(std::initializer_list<QWidget*> widgets, bool enabled) {
    for (QWidget* w : widgets) w->setEnabled(enabled);
}

}  // namespace

relief_window::relief_window(window_host& host, QWidget* parent)
    : QMdiSubWindow(parent), host_(host) {
    setObjectName(QStringLiteral("form_fa"));
    setWindowTitle(QStringLiteral("压力容器安全泄放量计算"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A fixed single border: a close box, no maximize or minimize, no resizing.
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    build_controls();

    connect(option1_, &QRadioButton::clicked, this, &relief_window::production_capacity_chosen);
    connect(option2_, &QRadioButton::clicked, this, &relief_window::gas_storage_tank_chosen);
    for (QRadioButton* option : option3_) {
        if (option)
            connect(option, &QRadioButton::clicked, this,
                    &relief_window::liquefied_gas_option_clicked);
    }
    connect(command1_, &QPushButton::clicked, this, &relief_window::next_step);

    // Centred on the main window's outer size, lifted by 350 twips; single precision, as the
    // window's Left and Top are.
    const float left = (static_cast<float>(host_.width_twips()) - float(window_width)) / 2.0F;
    const float top =
        (static_cast<float>(host_.height_twips()) - float(window_height)) / 2.0F - 350.0F;
    setFixedSize(twips_size(window_width, window_height));
    load_geometry_ = twips_rect(left, top, window_width, window_height);
    setGeometry(load_geometry_);
}

void relief_window::showEvent(QShowEvent* event) {
    if (!shown_) {
        shown_ = true;
        setGeometry(load_geometry_);
    }
    QMdiSubWindow::showEvent(event);
}

void relief_window::production_capacity_chosen() {
    set_enabled({label4_, label5_, label6_, text2_}, true);
    set_enabled({label7_, label8_, label9_, text3_, text4_, text5_}, false);
}

void relief_window::gas_storage_tank_chosen() {
    set_enabled({label4_, label5_, label6_, text2_}, false);
    set_enabled({label7_, label8_, label9_, text3_, text4_, text5_}, true);
}

// Whichever member was clicked, the enabled states follow from the choices as they now stand:
// the insulation decides which inputs apply, then the vessel form greys the sizes it does not
// read. Greying never clears a choice or a text.
void relief_window::liquefied_gas_option_clicked() {
    if (option3_[6]->isChecked()) {
        for (int i = 0; i <= 3; ++i) set_enabled({text6_[i], label10_[i]}, true);
        for (int i = 4; i <= 6; ++i) set_enabled({text6_[i], label10_[i]}, false);
        set_enabled({option3_[2], option3_[3], option3_[4]}, true);
        apply_vessel_form_rule();
    } else if (option3_[7]->isChecked()) {
        for (int i = 0; i <= 6; ++i) set_enabled({text6_[i], label10_[i]}, true);
        set_enabled({option3_[2], option3_[3], option3_[4]}, false);
        apply_vessel_form_rule();
    }
}

void relief_window::apply_vessel_form_rule() {
    if (option3_[9]->isChecked() || option3_[10]->isChecked()) {
        set_enabled({text6_[2], label10_[2]}, false);
    } else if (option3_[11]->isChecked()) {
        set_enabled({text6_[1], label10_[1]}, false);
    } else if (option3_[12]->isChecked()) {
        set_enabled({text6_[1], text6_[2], label10_[1], label10_[2]}, false);
    }
}

void relief_window::move_banner() {
    banner_position_ = banner_position_at(banner_angle_);
    const float left = static_cast<float>(banner_position_);
    image1_->move(twips_to_px(left), image1_->y());
    banner_angle_ += banner_angle_step;
}

std::optional<relief_case> relief_window::current_case() const {
    const QString caption = tabs_->tabText(tabs_->currentIndex());
    if (caption == QStringLiteral("压缩气体（水蒸汽）")) return relief_case::compressed_gas;
    if (caption == QStringLiteral("液化气体")) return relief_case::liquefied_gas;
    if (caption == QStringLiteral("输入安全泄放量")) return relief_case::typed_rate;
    return std::nullopt;
}

// Every choice and every text counts, whether its control is greyed or not.
relief_input relief_window::read_input(relief_case kind) const {
    relief_input in;
    in.kind = kind;

    if (option1_->isChecked())
        in.compressed = compressed_kind::production_capacity;
    else if (option2_->isChecked())
        in.compressed = compressed_kind::gas_storage_tank;

    if (option3_[0]->isChecked())
        in.fire = fire_exposure::fire_exposed;
    else if (option3_[1]->isChecked())
        in.fire = fire_exposure::fire_free;

    if (option3_[6]->isChecked())
        in.insulated = insulation::uninsulated;
    else if (option3_[7]->isChecked())
        in.insulated = insulation::insulated;

    if (option3_[2]->isChecked())
        in.installed = installation::water_spray;
    else if (option3_[3]->isChecked())
        in.installed = installation::below_ground;
    else if (option3_[4]->isChecked())
        in.installed = installation::above_ground;

    if (option3_[10]->isChecked())
        in.form = vessel_form::hemispherical_heads;
    else if (option3_[9]->isChecked())
        in.form = vessel_form::elliptical_heads;
    else if (option3_[11]->isChecked())
        in.form = vessel_form::vertical;
    else if (option3_[12]->isChecked())
        in.form = vessel_form::spherical;

    in.G = read_box(text2_);
    in.rho = read_box(text3_);
    in.d = read_box(text4_);
    in.v = read_box(text5_);
    in.D = read_box(text6_[0]);
    in.L = read_box(text6_[1]);
    in.h = read_box(text6_[2]);
    in.q = read_box(text6_[3]);
    in.lambda = read_box(text6_[4]);
    in.t = read_box(text6_[5]);
    in.delta = read_box(text6_[6]);
    in.W_t = read_box(text1_);
    return in;
}

// "下一步": computes W_s for the current tab, shows the outcome, keeps the rate program-wide and
// opens the device window of the route. This window stays open behind it.
void relief_window::next_step() {
    const std::optional<relief_case> kind = current_case();
    if (!kind) return;
    account::account acc;
    const relief_result result = calc_relief_rate(read_input(*kind), &acc);
    attach_texts(acc, {{"G", text2_}, {"ρ", text3_}, {"d", text4_}, {"v", text5_},
                       {"D", text6_[0]}, {"L", text6_[1]}, {"h", text6_[2]}, {"q", text6_[3]},
                       {"λ", text6_[4]}, {"t", text6_[5]}, {"δ", text6_[6]}, {"W_{s}", text1_}});
    // A new relief rate starts the route's book again: the device sized before used the old one.
    account::route_account& book = workflow().book;
    book.relief = std::move(acc);
    book.device.reset();
    book.sizing.reset();
    book.system.reset();
    workflow().relief_input = read_input(*kind);
    workflow().relief_result = result;
    workflow().valve_input.reset();
    workflow().valve_result.reset();
    emit workflow_events().route_changed();
    emit workflow_events().book_changed();
    for (const std::string& text : relief_messages(result))
        show_message(this, QString::fromStdString(text));
    if (result.refused()) return;

    workflow().vessel_ws = result.stored;
    if (workflow().cal_route == route::device::safety_valve)
        host_.show_valve_window();
    else
        host_.show_disc_window();
}

}  // namespace ventora::relief
