#include "disc/disc_window.h"

#include <algorithm>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOption>
#include <QStylePainter>

#include "shell/controls.h"
#include "sizing/sizing.h"
#include "shell/fonts.h"
#include "shell/frame.h"
#include "shell/message.h"
#include "shell/twips.h"
#include "shell/window_host.h"
#include "shell/workflow_state.h"
#include "disc/disc_calc.h"

namespace ventora::disc {
namespace {

// A tool window's thin caption bar: the title row only as high as its text needs.
class thin_caption_style : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_TitleBarHeight) {
            const int text = widget ? widget->fontMetrics().height() : option ? option->fontMetrics.height() : 0;
            return std::min(text + 4, QProxyStyle::pixelMetric(metric, option, widget));
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    // The base style insets its cross so far into the small close box that only a dot is left:
    // the cross is drawn again across the box, a quarter of its width in from its sides.
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        const auto* bar = qstyleoption_cast<const QStyleOptionTitleBar*>(option);
        if (control != CC_TitleBar || !bar || !(bar->subControls & SC_TitleBarCloseButton) ||
            !(bar->titleBarFlags & Qt::WindowSystemMenuHint))
            return;
        const QRect box = subControlRect(CC_TitleBar, bar, SC_TitleBarCloseButton, widget);
        if (!box.isValid()) return;
        const int inset = std::max(3, box.width() / 4);
        const QRect cross = box.adjusted(inset, inset, -inset, -inset);
        const bool active = bar->titleBarState & State_Active;
        painter->save();
        painter->setPen(QPen(bar->palette.color(active ? QPalette::HighlightedText : QPalette::WindowText), 2));
        painter->drawLine(cross.topLeft(), cross.bottomRight());
        painter->drawLine(cross.topRight(), cross.bottomLeft());
        painter->restore();
    }
};

// An option whose caption wraps under itself when its box is too narrow for one line, as the
// medium options' captions are laid out.
class wrapping_option : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

    // The height that shows every line of the caption at the option's current width.
    int needed_height() const {
        const QRect label = caption_rect();
        const QRect text = fontMetrics().boundingRect(QRect(0, 0, std::max(label.width(), 1), 10000),
                                                      Qt::TextWordWrap, this->text());
        return std::max(sizeHint().height(), text.height() + 2);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        const QRect label = caption_rect();
        if (fontMetrics().horizontalAdvance(text()) <= label.width()) {
            QRadioButton::paintEvent(event);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        painter.drawControl(QStyle::CE_RadioButton, option);
        painter.drawItemText(label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, palette(),
                             isEnabled(), text(), QPalette::WindowText);
    }

private:
    QRect caption_rect() const {
        QStyleOptionButton option;
        initStyleOption(&option);
        return style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this);
    }
};

// Labels are laid out for the GB2312 faces, whose lines are lower than those of the faces that
// stand in for them here: a label grows about its middle until its text shows whole.
void fit_height(QWidget* control, int needed) {
    if (needed <= control->height()) return;
    QRect geometry = control->geometry();
    geometry.adjust(0, -(needed - geometry.height()) / 2, 0, 0);
    geometry.setHeight(needed);
    control->setGeometry(geometry);
}


}  // namespace

disc_window::disc_window(window_host& host, QWidget* parent) : QMdiSubWindow(parent), host_(host) {
    setObjectName(QStringLiteral("Form_pian"));
    setWindowTitle(QStringLiteral("爆破片计算"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A sizable tool window: thin caption and a close box, no minimise or maximise button.
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto* caption_style = new thin_caption_style;
    caption_style->setParent(this);
    setStyle(caption_style);

    auto* client = new QWidget;
    client->setObjectName(QStringLiteral("Form_pian_client"));
    client->setFont(song_font(9));
    QPalette grey = client->palette();
    grey.setColor(QPalette::Window, classic_grey);
    // Greyed text in the classic grey, which stays legible on this background.
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        grey.setColor(QPalette::Disabled, role, greyed_text);
    client->setPalette(grey);
    client->setAutoFillBackground(true);

    auto* frame1 = new caption_frame(QStringLiteral("选择爆破片计算参数："), client);
    frame1->setObjectName(QStringLiteral("Frame1"));
    frame1->setFont(song_font(14.4));
    build_controls(frame1);
    set_tab_order();
    setWidget(client);

    // Opening sizes the window from the main window's outer size, in single-precision twips,
    // and reads each size back as the window system has taken it.
    const auto main_width = static_cast<float>(host_.width_twips());
    const auto main_height = static_cast<float>(host_.height_twips());
    resize(twips_to_px(static_cast<float>(main_width * 0.65)), twips_to_px(static_cast<float>(main_height * 0.65)));
    const auto width = static_cast<float>(px_to_twips(this->width()));
    const auto height = static_cast<float>(px_to_twips(this->height()));
    left_twips_ = main_width - width;
    const float frame_height = height - 800;
    const float frame_width = width - 400;
    const float frame_left = (width - frame_width) / 2;
    frame1->setGeometry(twips_rect(frame_left, 0, frame_width, frame_height));
}

void disc_window::showEvent(QShowEvent* event) {
    QMdiSubWindow::showEvent(event);
    if (placed_) return;
    placed_ = true;
    // The main window's frame places a newly added child by its own rule; the place chosen on opening wins.
    move(twips_to_px(left_twips_), twips_to_px(100));
}

void disc_window::build_controls(QGroupBox* frame1) {
    const QFont label_font = song_font(10.8);
    const QFont big_font = song_font(12);

    auto add_label = [&](int n, const QString& caption, const QRect& geometry, const QFont& font) {
        auto* label = new QLabel(caption, frame1);
        label->setObjectName(QStringLiteral("Label%1").arg(n));
        label->setGeometry(geometry);
        label->setFont(font);
        fit_height(label, label->sizeHint().height());
        label_[n] = label;
    };
    auto add_box = [&](int n, const QRect& geometry, const QFont& font) {
        auto* box = new QLineEdit(QStringLiteral("0"), frame1);
        box->setObjectName(QStringLiteral("Text%1").arg(n));
        box->setGeometry(geometry);
        box->setFont(font);
        announce_by_label(label_[n], box);
        text_[n] = box;
    };
    const QFont entry_font = song_font(14.4);
    const QFont bold_entry_font = song_font(13.8, true);
    add_label(1, QStringLiteral("设计爆破压力(绝压MPa):"), twips_rect(1920, 720, 2412, 300), label_font);
    add_box(1, twips_rect(4500, 600, 1500, 400), entry_font);
    add_label(6, QStringLiteral("泄放侧压力(MPa):"), twips_rect(1920, 1200, 1812, 252), label_font);
    add_box(6, twips_rect(4500, 1080, 1500, 400), bold_entry_font);
    add_label(2, QStringLiteral("气体摩尔质量（kg/kmol):"), twips_rect(1920, 1680, 2556, 300), label_font);
    add_box(2, twips_rect(4500, 1560, 1500, 400), entry_font);
    add_label(3, QStringLiteral("气体的绝对温度（K）："), twips_rect(1920, 2160, 2292, 300), label_font);
    add_box(3, twips_rect(4500, 2076, 1500, 400), entry_font);
    add_label(4, QStringLiteral("气体的压缩系数（Z）："), twips_rect(1920, 2640, 2292, 300), label_font);
    add_box(4, twips_rect(4500, 2580, 1500, 400), entry_font);
    add_label(5, QStringLiteral("气体绝热系数(k) ："), twips_rect(1920, 3180, 1992, 300), label_font);
    add_box(5, twips_rect(4500, 3084, 1500, 400), entry_font);
    add_label(7, QStringLiteral("液体密度(kg/m^3)"), twips_rect(1920, 3600, 2292, 372), big_font);
    add_box(7, twips_rect(4500, 3600, 1500, 400), bold_entry_font);

    auto add_frame = [&](const char* name, const QString& caption, const QRect& geometry) {
        auto* frame = new caption_frame(caption, frame1);
        frame->setObjectName(QString::fromLatin1(name));
        frame->setGeometry(geometry);
        frame->setFont(big_font);
        return frame;
    };
    QGroupBox* medium_frame = add_frame("Frame3", QStringLiteral("计算类型："), twips_rect(240, 600, 1452, 3372));
    QGroupBox* nozzle_frame = add_frame("Frame2", QStringLiteral("接管："), twips_rect(6240, 480, 1332, 3492));

    auto add_option = [&](int n, QGroupBox* frame, const QString& caption, const QRect& geometry) {
        auto* option = new wrapping_option(caption, frame);
        option->setObjectName(QStringLiteral("Option%1").arg(n));
        option->setGeometry(geometry);
        option->setFont(big_font);
        fit_height(option, option->needed_height());
        option_[n] = option;
    };
    add_option(4, medium_frame, QStringLiteral("气体"), twips_rect(240, 600, 852, 252));
    add_option(5, medium_frame, QStringLiteral("液体"), twips_rect(240, 1440, 852, 372));
    add_option(6, medium_frame, QStringLiteral("饱和蒸汽"), twips_rect(240, 2400, 852, 492));
    add_option(1, nozzle_frame, QStringLiteral("直管"), twips_rect(120, 600, 852, 252));
    add_option(2, nozzle_frame, QStringLiteral("平直管"), twips_rect(120, 1800, 1092, 252));
    add_option(3, nozzle_frame, QStringLiteral("喇叭管"), twips_rect(120, 2880, 1092, 252));
    // Whether chosen by mouse or keyboard; a handler ignores its option being unchosen.
    connect(option_[4], &QRadioButton::toggled, this, &disc_window::on_gas);
    connect(option_[5], &QRadioButton::toggled, this, &disc_window::on_liquid);
    connect(option_[6], &QRadioButton::toggled, this, &disc_window::on_steam);

    return_button_ = new QPushButton(QStringLiteral("返回主控窗"), frame1);
    return_button_->setObjectName(QStringLiteral("Command1"));
    return_button_->setGeometry(twips_rect(1440, 4320, 1500, 500));
    return_button_->setFont(label_font);
    connect(return_button_, &QPushButton::clicked, this, &disc_window::return_to_main);
    next_button_ = new QPushButton(QStringLiteral("下一步"), frame1);
    next_button_->setObjectName(QStringLiteral("Command2"));
    next_button_->setGeometry(twips_rect(4560, 4320, 1500, 500));
    next_button_->setFont(label_font);
    connect(next_button_, &QPushButton::clicked, this, &disc_window::press_next_step);
}

void disc_window::set_tab_order() {
    // The window's own tab indices, leaving out the frames and labels, which take no focus.
    const QList<QWidget*> order{text_[1],   text_[2],   text_[3],   text_[4],   return_button_,
                                next_button_, text_[5], text_[6],   option_[1], option_[2],
                                option_[3], option_[4], option_[5], option_[6], text_[7]};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void disc_window::on_gas() {
    if (option_[4]->isChecked()) apply_medium(true, true, false, true);
}

void disc_window::on_liquid() {
    if (option_[5]->isChecked()) apply_medium(false, true, true, false);
}

void disc_window::on_steam() {
    if (option_[6]->isChecked()) apply_medium(false, false, false, true);
}

void disc_window::apply_medium(bool gas_data, bool outlet, bool density, bool nozzles) {
    const std::array<bool, 8> enabled{false, true, gas_data, gas_data, gas_data, gas_data, outlet, density};
    for (int n = 1; n <= 7; ++n) text_[n]->setEnabled(enabled[n]);
    for (int n = 1; n <= 7; ++n) label_[n]->setEnabled(enabled[n]);
    // A nozzle chosen before stays chosen when its option is greyed.
    for (int n = 1; n <= 3; ++n) option_[n]->setEnabled(nozzles);
}

void disc_window::press_next_step() {
    disc_inputs in;
    in.k = read_box(text_[5]);
    in.p_b = read_box(text_[1]);
    in.T = read_box(text_[3]);
    in.Z = read_box(text_[4]);
    in.M = read_box(text_[2]);
    in.p_o = read_box(text_[6]);
    in.rho = read_box(text_[7]);

    std::optional<disc_medium> medium;
    if (option_[4]->isChecked()) medium = disc_medium::gas;
    else if (option_[5]->isChecked()) medium = disc_medium::liquid;
    else if (option_[6]->isChecked()) medium = disc_medium::saturated_steam;
    std::optional<nozzle_type> nozzle;
    if (option_[1]->isChecked()) nozzle = nozzle_type::straight_pipe;
    else if (option_[2]->isChecked()) nozzle = nozzle_type::flush_pipe;
    else if (option_[3]->isChecked()) nozzle = nozzle_type::bell_mouth;

    account::account acc;
    const disc_result result = size_bursting_disc(medium, nozzle, in, workflow().vessel_ws, &acc);
    attach_texts(acc, {{"p_{b}", text_[1]}, {"M", text_[2]}, {"T", text_[3]}, {"Z", text_[4]},
                       {"k", text_[5]}, {"p_{o}", text_[6]}, {"ρ", text_[7]}});
    workflow().book.device = std::move(acc);
    workflow().book.sizing.reset();
    if (result.status == disc_status::area_ready && value_or_zero(result.A) > 0)
        sizing::disc_min_bore(result.A, &workflow().book.sizing.emplace());
    emit workflow_events().book_changed();
    show_message(this, QString::fromStdString(disc_message(result)));
}

void disc_window::return_to_main() {
    // The host is the main window, which outlives this one: it may be used after the close.
    window_host& host = host_;
    close();
    host.close_relief_window();
}

}  // namespace ventora::disc
