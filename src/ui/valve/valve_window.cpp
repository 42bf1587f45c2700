#include "valve/valve_window.h"

#include <algorithm>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

#include "shell/controls.h"
#include "sizing/sizing.h"
#include "shell/fonts.h"
#include "shell/frame.h"
#include "shell/message.h"
#include "shell/status_bar.h"
#include "shell/twips.h"
#include "shell/window_host.h"
#include "shell/workflow_state.h"
#include "valve/valve_calc.h"

namespace ventora::valve {
namespace {

// The client area, in twips.
constexpr double client_width = 9432;
constexpr double client_height = 6996;

const QString input_tab_caption = QStringLiteral("输入数据");

QGroupBox* make_frame(QWidget* parent, const QString& name, const QString& caption,
                      const QRect& geometry) {
    auto* frame = new caption_frame(caption, parent);
    frame->setObjectName(name);
    frame->setGeometry(geometry);
    return frame;
}

QRadioButton* make_option(QWidget* parent, const QString& name, const QString& caption,
                          const QRect& geometry) {
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(name);
    option->setGeometry(geometry);
    return option;
}

// A box and its label are always enabled and disabled together.
void set_pair(QLineEdit* box, QLabel* label, bool enabled) {
    box->setEnabled(enabled);
    label->setEnabled(enabled);
}

// What is on a tab is placed from the tab control's corner; a page begins below the row of tabs.
QRect on_page(QRect rect, int tab_row_px) {
    rect.moveTop(std::max(0, rect.top() - tab_row_px));
    return rect;
}


}  // namespace

valve_window::valve_window(window_host& host, QWidget* parent) : QMdiSubWindow(parent), host_(host) {
    setObjectName(QStringLiteral("form_anquanfa"));
    setWindowTitle(QStringLiteral("安全阀计算"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A fixed single border: caption and close box, no minimise or maximise button.
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* client = new QWidget;
    client->setObjectName(QStringLiteral("form_anquanfa_client"));
    client->setFont(song_font(9));
    client->setFixedSize(twips_size(client_width, client_height));
    QPalette grey = client->palette();
    grey.setColor(QPalette::Window, classic_grey);
    client->setPalette(grey);
    client->setAutoFillBackground(true);

    tabs_ = new QTabWidget(client);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    tabs_->setGeometry(twips_rect(0, 0, 9576, 6732));
    // The tab control, its pages and the status bar are the window's grey, like the rest of the
    // client area.
    QPalette face = tabs_->palette();
    // Greyed text in the classic grey: plainly greyed, still legible.
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        face.setColor(QPalette::Disabled, role, greyed_text);
    tabs_->setPalette(face);
    auto* notes_page = new QWidget;
    notes_page->setObjectName(QStringLiteral("notes_tab"));
    auto* input_page = new QWidget;
    input_page->setObjectName(QStringLiteral("input_tab"));
    // A page fills itself with the window's grey, and the tabs take it as their face: the style
    // would show its own lighter face.
    for (QWidget* page : {notes_page, input_page}) page->setAutoFillBackground(true);
    QPalette tab_face = face;
    tab_face.setColor(QPalette::Button, grey.color(QPalette::Window));
    tabs_->tabBar()->setPalette(tab_face);
    tabs_->addTab(notes_page, QStringLiteral("说明"));
    tabs_->addTab(input_page, input_tab_caption);
    const int tab_row = tabs_->tabBar()->sizeHint().height();
    build_notes_tab(notes_page, tab_row);
    build_input_tab(input_page, tab_row);
    tabs_->setCurrentIndex(1);

    next_button_ = new QPushButton(QStringLiteral("下一步"), client);
    next_button_->setObjectName(QStringLiteral("Command1"));
    next_button_->setGeometry(twips_rect(6720, 6120, 1215, 495));
    connect(next_button_, &QPushButton::clicked, this, &valve_window::press_next_step);

    auto* status = new clock_status_bar(
        QStringLiteral("            ----欢迎使用2000年版Ventora软件！"), 7400, 1000, 1000, client);
    status->setPalette(face);
    status->setGeometry(twips_rect(0, 6624, 9432, 372));
    status->raise();

    set_tab_order();
    setWidget(client);
}

void valve_window::showEvent(QShowEvent* event) {
    QMdiSubWindow::showEvent(event);
    if (placed_) return;
    placed_ = true;
    // The frame around the client area is known only inside the main window, and the main
    // window's frame places a newly added child by its own rule: size and place it here, once.
    const QMargins frame = contentsMargins();
    setFixedSize(widget()->width() + frame.left() + frame.right(),
                 widget()->height() + frame.top() + frame.bottom());
    // Against the main window's right-hand side, just below its top.
    const double outer_width = px_to_twips(width());
    move(twips_to_px(host_.width_twips() - outer_width - 50), twips_to_px(100));
}

void valve_window::build_notes_tab(QWidget* page, int tab_row_px) {
    auto* frame = make_frame(page, QStringLiteral("Frame5"), QString(),
                             on_page(twips_rect(270, 525, 8865, 5220), tab_row_px));

    auto add_label = [frame](const char* name, const QString& caption, const QRect& geometry,
                             const QFont& font) {
        auto* label = new QLabel(caption, frame);
        label->setObjectName(QString::fromLatin1(name));
        label->setGeometry(geometry);
        label->setFont(font);
        label->setAlignment(Qt::AlignCenter);
        return label;
    };
    add_label("Label6", QStringLiteral("Corvalent"), twips_rect(480, 600, 7900, 900),
              gb_font(QStringLiteral("黑体"), 26, true));
    add_label("Label8", QStringLiteral("www.corvalent.example"), twips_rect(480, 1800, 7900, 420),
              song_font(12));
    add_label("Label7", QStringLiteral("support.corvalent.example"), twips_rect(480, 2400, 7900, 420),
              song_font(12));
    QLabel* notice = add_label("Label5", QStringLiteral("不提供计算书的保存、打印功能！"),
                               twips_rect(480, 3300, 7900, 480), song_font(15, true));
    QPalette red = notice->palette();
    red.setColor(QPalette::WindowText, QColor(192, 0, 0));
    notice->setPalette(red);
    add_label("Label2(0)", QString(), twips_rect(480, 4200, 7900, 420), song_font(12));
}

void valve_window::build_input_tab(QWidget* page, int tab_row_px) {
    auto* frame1 = make_frame(page, QStringLiteral("Frame1"), QString(),
                              on_page(twips_rect(240, 360, 9015, 6372), tab_row_px));

    build_valve_frame(frame1);
    build_dimension_frame(frame1);
    build_medium_frame(frame1);
    build_medium_data_frame(frame1);

    return_button_ = new QPushButton(QStringLiteral("返回主控窗"), frame1);
    return_button_->setObjectName(QStringLiteral("Command2"));
    return_button_->setGeometry(twips_rect(1080, 5760, 1215, 495));
    connect(return_button_, &QPushButton::clicked, this, &valve_window::return_to_main);
}

void valve_window::build_valve_frame(QWidget* parent) {
    auto* frame = make_frame(parent, QStringLiteral("Frame2"), QStringLiteral(" 安全阀类型 "),
                             twips_rect(240, 240, 8415, 735));
    const QStringList captions{QStringLiteral("全启式安全阀"), QStringLiteral("带调节圈的微启式安全阀"),
                               QStringLiteral("无调节圈的微启式安全阀")};
    const double lefts[] = {600, 3240, 5880};
    for (int i = 0; i < 3; ++i) {
        valve_type_[i] = make_option(frame, array_name("Option1", i), captions[i],
                                     twips_rect(lefts[i], 300, 2520, 315));
        connect(valve_type_[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on) on_valve_type();
        });
    }
}

void valve_window::build_dimension_frame(QWidget* parent) {
    dimension_frame_ = make_frame(parent, QStringLiteral("Frame4"), QStringLiteral(" 安全阀参数输入 "),
                                  twips_rect(240, 1080, 8415, 1515));
    QWidget* f = dimension_frame_;
    text1_[10] = add_box(f, array_name("Text1", 10), array_name("Label1", 10),
                         QStringLiteral("安全阀阀座喉径d1(mm)"), 360, 2640, 360, &label1_[10]);
    text1_[8] = add_box(f, array_name("Text1", 8), array_name("Label1", 8),
                        QStringLiteral("安全阀阀座口径D(mm)"), 4560, 7080, 360, &label1_[8]);
    text1_[11] = add_box(f, array_name("Text1", 11), array_name("Label1", 11),
                         QStringLiteral("安全阀开启高度h(mm)"), 360, 2640, 720, &label1_[11]);
    text1_[7] = add_box(f, array_name("Text1", 7), array_name("Label1", 7),
                        QStringLiteral("锥形密封面半锥角φ"), 4560, 7080, 720, &label1_[7]);
    seal_face_[0] = make_option(f, array_name("Option2", 0), QStringLiteral("平面型密封面"),
                                twips_rect(2280, 1110, 1800, 300));
    seal_face_[1] = make_option(f, array_name("Option2", 1), QStringLiteral("锥形密封面"),
                                twips_rect(4560, 1110, 1800, 300));
    for (QRadioButton* option : seal_face_) {
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on) on_seal_face();
        });
    }

    // As the window loads: the frame is disabled; the seal faces and every label with it. The
    // boxes themselves stay enabled, unusable only through their frame.
    dimension_frame_->setEnabled(false);
    seal_face_[0]->setEnabled(false);
    seal_face_[1]->setEnabled(false);
    for (int i : {10, 8, 11, 7}) label1_[i]->setEnabled(false);
}

void valve_window::build_medium_frame(QWidget* parent) {
    auto* frame = make_frame(parent, QStringLiteral("Frame6"), QStringLiteral("介质类型"),
                             twips_rect(240, 2640, 8412, 612));
    const QStringList captions{QStringLiteral("气体"), QStringLiteral("饱和蒸气"), QStringLiteral("液体")};
    const double lefts[] = {600, 3240, 5880};
    for (int i = 0; i < 3; ++i) {
        medium_[i] = make_option(frame, array_name("Option3", i), captions[i],
                                 twips_rect(lefts[i], 240, 1800, 315));
        connect(medium_[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on) on_medium();
        });
    }
}

void valve_window::build_medium_data_frame(QWidget* parent) {
    medium_data_frame_ = make_frame(parent, QStringLiteral("Frame3"), QStringLiteral(" 介质参数输入 "),
                                    twips_rect(240, 3360, 8415, 2292));
    QWidget* f = medium_data_frame_;
    // The temperature box Text1(5) is labelled by Label1(3), and Text1(3) (k) by Label3.
    text1_[5] = add_box(f, array_name("Text1", 5), array_name("Label1", 3),
                        QStringLiteral("气体的温度T(K)"), 360, 2640, 360, &label1_[3]);
    text1_[2] = add_box(f, array_name("Text1", 2), array_name("Label1", 2),
                        QStringLiteral("气体的摩尔质量M(kg/kmol)"), 3720, 7080, 360, &label1_[2]);
    text1_[3] = add_box(f, array_name("Text1", 3), QStringLiteral("Label3"),
                        QStringLiteral("气体绝热系数k（Cp/Cv)"), 360, 2640, 840, &k_label_);
    text1_[1] = add_box(f, array_name("Text1", 1), array_name("Label1", 1),
                        QStringLiteral("安全阀的整定压力Ps(Mpa)"), 3720, 7080, 840, &label1_[1]);
    text1_[4] = add_box(f, array_name("Text1", 4), array_name("Label1", 4),
                        QStringLiteral("气体压缩系数Z"), 360, 2640, 1320, &label1_[4]);
    outlet_box_ = add_box(f, QStringLiteral("Text3"), array_name("Label1", 5),
                          QStringLiteral("安全阀的出口侧压力Po(绝压Mpa)"), 3720, 7080, 1320, &label1_[5]);
    text1_[0] = add_box(f, array_name("Text1", 0), array_name("Label1", 0),
                        QStringLiteral("气体特性系数C"), 360, 2640, 1800, &label1_[0]);
    density_box_ = add_box(f, QStringLiteral("Text2"), QStringLiteral("Label4"),
                           QStringLiteral("阀门入口侧温度下液体密度（kg/m3)"), 3720, 7080, 1800,
                           &density_label_);

    // As the window loads everything here is disabled, the frame first.
    medium_data_frame_->setEnabled(false);
    for (int i : {0, 1, 2, 3, 4, 5}) {
        text1_[i]->setEnabled(false);
        label1_[i]->setEnabled(false);
    }
    k_label_->setEnabled(false);
    set_pair(density_box_, density_label_, false);
    outlet_box_->setEnabled(false);
}

QLineEdit* valve_window::add_box(QWidget* frame, const QString& box_name, const QString& label_name,
                                 const QString& caption, double label_left, double box_left,
                                 double top, QLabel** label_out) {
    auto* label = new QLabel(caption, frame);
    label->setObjectName(label_name);
    label->setGeometry(twips_rect(label_left, top, box_left - label_left - 60, 270));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto* box = new QLineEdit(QStringLiteral("0"), frame);
    box->setObjectName(box_name);
    box->setGeometry(twips_rect(box_left, top, 800, 270));
    announce_by_label(label, box);
    *label_out = label;
    return box;
}

void valve_window::set_tab_order() {
    // Across each frame row by row, then the two buttons.
    const QList<QWidget*> order{
        tabs_,         valve_type_[0], valve_type_[1], valve_type_[2], text1_[10],   text1_[8],
        text1_[11],    text1_[7],      seal_face_[0],  seal_face_[1],  medium_[0],   medium_[1],
        medium_[2],    text1_[5],      text1_[2],      text1_[3],      text1_[1],    text1_[4],
        outlet_box_,   text1_[0],      density_box_,   return_button_, next_button_,
    };
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void valve_window::on_valve_type() {
    if (valve_type_[0]->isChecked()) {
        // Full lift: only the throat diameter counts.
        dimension_frame_->setEnabled(true);
        set_pair(text1_[10], label1_[10], true);
        for (int i : {7, 8, 11}) set_pair(text1_[i], label1_[i], false);
        seal_face_[0]->setEnabled(false);
        seal_face_[1]->setEnabled(false);
        return;
    }
    // Micro-lift: the seal face decides which dimensions count; none chosen leaves them as they are.
    seal_face_[0]->setEnabled(true);
    seal_face_[1]->setEnabled(true);
    dimension_frame_->setEnabled(true);
    set_pair(text1_[10], label1_[10], false);
    if (seal_face_[0]->isChecked()) apply_flat_face();
    if (seal_face_[1]->isChecked()) apply_conical_face();
}

void valve_window::on_seal_face() {
    if (seal_face_[0]->isChecked()) apply_flat_face();
    if (seal_face_[1]->isChecked()) apply_conical_face();
}

void valve_window::apply_flat_face() {
    set_pair(text1_[8], label1_[8], true);
    set_pair(text1_[10], label1_[10], true);
    set_pair(text1_[11], label1_[11], false);
    set_pair(text1_[7], label1_[7], false);
}

void valve_window::apply_conical_face() {
    set_pair(text1_[8], label1_[8], false);
    set_pair(text1_[10], label1_[10], true);
    set_pair(text1_[11], label1_[11], true);
    set_pair(text1_[7], label1_[7], true);
}

void valve_window::on_medium() {
    medium_data_frame_->setEnabled(true);
    const bool gas = medium_[0]->isChecked();
    const bool steam = !gas && medium_[1]->isChecked();
    const bool liquid = !gas && !steam;
    set_pair(text1_[0], label1_[0], gas);     // C
    set_pair(text1_[1], label1_[1], true);    // Ps
    set_pair(text1_[2], label1_[2], gas);     // M
    set_pair(text1_[5], label1_[3], gas);     // T
    set_pair(text1_[4], label1_[4], gas);     // Z
    set_pair(text1_[3], k_label_, gas);       // k
    set_pair(density_box_, density_label_, liquid);        // ρ
    set_pair(outlet_box_, label1_[5], gas || liquid);      // Po
}

valve_press_input valve_window::read_press_input() const {
    valve_press_input in;
    in.without_data = tabs_->tabText(tabs_->currentIndex()) != input_tab_caption;
    if (valve_type_[0]->isChecked()) in.type = valve_type::full_lift;
    else if (valve_type_[1]->isChecked()) in.type = valve_type::micro_lift_ring;
    else if (valve_type_[2]->isChecked()) in.type = valve_type::micro_lift_plain;
    if (seal_face_[0]->isChecked()) in.face = seal_face::flat;
    else if (seal_face_[1]->isChecked()) in.face = seal_face::conical;
    if (medium_[0]->isChecked()) in.medium = valve_medium::gas;
    else if (medium_[1]->isChecked()) in.medium = valve_medium::saturated_steam;
    else if (medium_[2]->isChecked()) in.medium = valve_medium::liquid;
    // Every box is read whatever its state: a greyed box still holds a value.
    in.d1 = read_box(text1_.at(10));
    in.D = read_box(text1_.at(8));
    in.h = read_box(text1_.at(11));
    in.phi = read_box(text1_.at(7));
    in.capacity.C = read_box(text1_.at(0));
    in.capacity.Ps = read_box(text1_.at(1));
    in.capacity.M = read_box(text1_.at(2));
    in.capacity.T = read_box(text1_.at(5));
    in.capacity.Z = read_box(text1_.at(4));
    in.capacity.k = read_box(text1_.at(3));
    in.capacity.rho = read_box(density_box_);
    in.capacity.Po = read_box(outlet_box_);
    return in;
}

void valve_window::press_next_step() {
    account::account acc;
    const valve_press_input in = read_press_input();
    const valve_press_result result = press_next(in, workflow().vessel_ws, &acc);
    // The check keeps the capacity it has just shown, before its verdict is read.
    if (result.status == press_status::checked) workflow().valve_capacity = result.capacity;
    attach_texts(acc, {{"d_{1}", text1_.at(10)}, {"D", text1_.at(8)}, {"h", text1_.at(11)},
                       {"φ", text1_.at(7)}, {"C", text1_.at(0)}, {"P_{s}", text1_.at(1)},
                       {"M", text1_.at(2)}, {"T", text1_.at(5)}, {"Z", text1_.at(4)},
                       {"k", text1_.at(3)}, {"ρ", density_box_}, {"P_{o}", outlet_box_}});
    workflow().book.device = std::move(acc);
    workflow().book.sizing.reset();
    account::account sizing;
    if (sizing::size_after_press(in, result, workflow().vessel_ws, &sizing))
        workflow().book.sizing = std::move(sizing);
    // The relief-system checks drew on the valve pressed before.
    workflow().book.system.reset();
    workflow().valve_input = in;
    workflow().valve_result = result;
    emit workflow_events().route_changed();
    emit workflow_events().book_changed();
    for (const std::string& text : result.messages) show_message(this, QString::fromStdString(text));
}

void valve_window::return_to_main() {
    // The host is the main window, which outlives this one: it may be used after the close.
    window_host& host = host_;
    close();
    host.close_relief_window();
}

}  // namespace ventora::valve
