// Building the relief-rate window: every control with its caption, initial text, position,
// font and enabled state. Positions are in twips, relative to the control's container.
#include <algorithm>

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "shell/controls.h"
#include "shell/fonts.h"
#include "shell/frame.h"
#include "shell/status_bar.h"
#include "shell/twips.h"
#include "relief/relief_window.h"
#include "relief/relief_window_banner.h"
#include "relief/relief_window_controls.h"

namespace ventora::relief {
namespace {

// The status bar and, in front of its text panel, the banner strip, as designed for a client
// area whose bottom edge is at 6648 + 372 twips.
constexpr double status_bar_top = 6648;
constexpr double status_bar_height = 372;
constexpr double picture2_top = 6655;
constexpr double welcome_panel_width = 7200;

wrapped_label* add_label(QWidget* parent, const QString& name, const QString& text,
                         const QRect& geometry) {
    auto* label = new wrapped_label(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

QLineEdit* add_text(QWidget* parent, const QString& name, const QString& text,
                    const QRect& geometry) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    return box;
}

wrapped_option* add_option(QWidget* parent, const QString& name, const QString& caption,
                           const QRect& geometry) {
    auto* option = new wrapped_option(caption, parent);
    option->setObjectName(name);
    option->setGeometry(geometry);
    option->setAccessibleName(caption);
    return option;
}

QGroupBox* add_frame(QWidget* parent, const QString& name, const QString& caption,
                     const QRect& geometry) {
    auto* frame = new caption_frame(caption, parent);
    frame->setObjectName(name);
    frame->setGeometry(geometry);
    if (!caption.isEmpty()) frame->setAccessibleName(caption);
    return frame;
}

}  // namespace

void relief_window::build_controls() {
    auto* client = new client_area([this](QWidget* area) { place_bottom_strip(area); });
    client->setObjectName(QStringLiteral("form_fa_client"));
    client->setFont(song_font(9));
    setWidget(client);

    auto* tabs = new tab_control(client);
    tabs_ = tabs;
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    tabs_->setFont(song_font(9));
    tabs_->setGeometry(twips_rect(0, 0, 9312, 6684));
    tabs_->addTab(build_compressed_gas_tab(), QStringLiteral("压缩气体（水蒸汽）"));
    tabs_->addTab(build_liquefied_gas_tab(), QStringLiteral("液化气体"));
    tabs_->addTab(build_typed_rate_tab(), QStringLiteral("输入安全泄放量"));
    for (int i = 0; i < tabs_->count(); ++i) {
        auto* frame =
            tabs_->widget(i)->findChild<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly);
        tabs->anchor(frame, frame->pos());
    }
    tabs_->setCurrentIndex(2);

    // In front of the tab control, on every tab.
    command1_ = new QPushButton(QStringLiteral("下一步"), client);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(twips_rect(6960, 6000, 1215, 372));
    command1_->raise();

    build_banner_and_status(client);
    set_tab_order();
}

QWidget* relief_window::build_compressed_gas_tab() {
    auto* page = new QWidget;
    // Positioned in the tab control's coordinates by the tab control.
    QGroupBox* frame3 =
        add_frame(page, QStringLiteral("Frame3"), {}, twips_rect(360, 720, 8655, 5865));

    option1_ = add_option(frame3, QStringLiteral("Option1"), QStringLiteral("压缩机储气罐或者汽包"),
                          twips_rect(480, 240, 2535, 375));
    QGroupBox* frame4 =
        add_frame(frame3, QStringLiteral("Frame4"), {}, twips_rect(480, 600, 8055, 1095));
    label4_ = add_label(frame4, QStringLiteral("Label4"),
                        QStringLiteral("对于压缩机储气罐和汽包等压力容器，其安全泄放量应取设备的"
                                       "最大生产能力（产气量）："),
                        twips_rect(240, 240, 7200, 180));
    label5_ = add_label(frame4, QStringLiteral("Label5"), QStringLiteral("最大生产能力："),
                        twips_rect(2160, 600, 1470, 210));
    label5_->setFont(song_font(10.8));
    text2_ = add_text(frame4, QStringLiteral("Text2"), {}, twips_rect(3840, 600, 1335, 270));
    text2_->setFont(song_font(10.8));
    announce_by_label(label5_, text2_);
    label6_ = add_label(frame4, QStringLiteral("Label6"), QStringLiteral("（kg/h）"),
                        twips_rect(5280, 600, 960, 240));
    label6_->setFont(song_font(12));

    option2_ = add_option(frame3, QStringLiteral("Option2"), QStringLiteral("气体储罐"),
                          twips_rect(480, 1800, 2175, 375));
    QGroupBox* frame5 =
        add_frame(frame3, QStringLiteral("Frame5"), {}, twips_rect(480, 2160, 8055, 2055));
    label7_ = add_label(frame5, QStringLiteral("Label7"),
                        QStringLiteral("泄放压力下的气体密度（kg/立方米）："),
                        twips_rect(690, 480, 3150, 180));
    text3_ = add_text(frame5, QStringLiteral("Text3"), {}, twips_rect(3825, 360, 1335, 315));
    label8_ =
        add_label(frame5, QStringLiteral("Label8"), QStringLiteral("压力容器进口管的内径（mm）："),
                  twips_rect(1320, 1020, 2520, 180));
    text4_ = add_text(frame5, QStringLiteral("Text4"), {}, twips_rect(3825, 960, 1335, 315));
    label9_ = add_label(frame5, QStringLiteral("Label9"),
                        QStringLiteral("压力容器进口管内气体的流速（m/秒）："),
                        twips_rect(600, 1560, 3240, 180));
    text5_ = add_text(frame5, QStringLiteral("Text5"), {}, twips_rect(3825, 1560, 1335, 315));
    for (QLineEdit* box : {text3_, text4_, text5_}) box->setFont(song_font(10.8));
    announce_by_label(label7_, text3_);
    announce_by_label(label8_, text4_);
    announce_by_label(label9_, text5_);

    // Until a kind is chosen, neither set of inputs applies.
    for (QWidget* w : std::initializer_list<QWidget*>{label4_, label5_, label6_, text2_, label7_,
                                                      label8_, label9_, text3_, text4_, text5_})
        w->setEnabled(false);
    return page;
}

QWidget* relief_window::build_liquefied_gas_tab() {
    auto* page = new QWidget;
    QGroupBox* frame2 =
        add_frame(page, QStringLiteral("Frame2"), {}, twips_rect(360, 600, 8655, 5292));

    auto option = [this](QWidget* frame, int index, const char* caption, QRect geometry) {
        option3_[index] =
            add_option(frame, array_name("Option3", index), QString::fromUtf8(caption), geometry);
    };

    QGroupBox* medium = add_frame(frame2, array_name("Frame6", 0), QStringLiteral("介质类型选择"),
                                  twips_rect(360, 240, 7815, 735));
    option(medium, 0, "易燃液化气体,或者可能发生火灾环境下工作的非易燃液化气体",
           twips_rect(240, 240, 3135, 375));
    option(medium, 1, "非易燃液化气体,且工作在无火灾危险的环境下工作",
           twips_rect(4080, 240, 3135, 375));

    QGroupBox* insulation = add_frame(frame2, array_name("Frame6", 3), QStringLiteral("保温方式 "),
                                      twips_rect(360, 1080, 7815, 615));
    option(insulation, 6, "无绝热材料保温层的压力容器", twips_rect(240, 240, 2895, 255));
    option(insulation, 7, "有绝热材料保温层的压力容器", twips_rect(4080, 240, 3495, 255));

    QGroupBox* installation =
        add_frame(frame2, array_name("Frame6", 1), QStringLiteral("压力容器安装方式"),
                  twips_rect(360, 1800, 7815, 615));
    option(installation, 2, "设置在大于10升/平方米·分喷淋装置下", twips_rect(240, 240, 3495, 255));
    option(installation, 3, "装在地面以下,用沙土覆盖", twips_rect(3840, 240, 2415, 255));
    option(installation, 4, "装在地面上", twips_rect(6360, 240, 1215, 255));

    QGroupBox* form = add_frame(frame2, array_name("Frame7", 0), QStringLiteral(" 容器形式 "),
                                twips_rect(360, 2520, 3255, 1335));
    option(form, 10, "半球形封头卧式容器", twips_rect(240, 240, 1335, 375));
    option(form, 11, "立式压力容器", twips_rect(1680, 240, 1455, 375));
    option(form, 9, "椭圆形封头卧式容器", twips_rect(240, 720, 1335, 375));
    option(form, 12, "球形压力容器", twips_rect(1680, 720, 1455, 375));

    auto size_input = [this](QWidget* frame, int index, const char* caption, QRect label_at,
                             QRect box_at) {
        label10_[index] =
            add_label(frame, array_name("Label10", index), QString::fromUtf8(caption), label_at);
        text6_[index] = add_text(frame, array_name("Text6", index), QStringLiteral("0"), box_at);
        announce_by_label(label10_[index], text6_[index]);
    };

    QGroupBox* sizes = add_frame(frame2, array_name("Frame7", 1), QStringLiteral(" 容器参数 "),
                                 twips_rect(4920, 2520, 3255, 1335));
    size_input(sizes, 0, "容器直径(m)", twips_rect(240, 240, 1215, 255),
               twips_rect(1440, 240, 1575, 270));
    size_input(sizes, 1, "容器长度(m)", twips_rect(240, 600, 1215, 255),
               twips_rect(1440, 600, 1575, 270));
    size_input(sizes, 2, "最高液位(m)", twips_rect(240, 960, 1215, 255),
               twips_rect(1440, 960, 1575, 270));

    QGroupBox* others = add_frame(frame2, QStringLiteral("Frame8"), QStringLiteral("其他参数"),
                                  twips_rect(360, 3960, 7812, 1215));
    size_input(others, 3, "泄放压力下液化气体的气化潜热(kj/kg)", twips_rect(120, 240, 2295, 375),
               twips_rect(2520, 240, 1455, 270));
    size_input(others, 4, "常温下绝热材料的导热系数(kj/平方米·h·摄氏度）",
               twips_rect(120, 720, 2175, 375), twips_rect(2520, 840, 1455, 270));
    size_input(others, 5, "泄放压力下饱和温度(摄氏度)", twips_rect(4440, 240, 1332, 372),
               twips_rect(6360, 240, 855, 270));
    size_input(others, 6, "保温层厚度(m)", twips_rect(4440, 840, 1212, 252),
               twips_rect(6360, 840, 855, 270));
    return page;
}

QWidget* relief_window::build_typed_rate_tab() {
    auto* page = new QWidget;
    QGroupBox* frame1 =
        add_frame(page, QStringLiteral("Frame1"), {}, twips_rect(360, 600, 8295, 4935));

    QLabel* label1 = add_label(
        frame1, QStringLiteral("Label1"),
        QStringLiteral("注: 由于化学反应使气体体积增大的容器,其安全泄放量,应根据压力容器内化学反应"
                       "可能生成的最大气量以及反应时所需要的时间来决定。请自行输入计算后的压力容器"
                       "安全泄放量："),
        twips_rect(720, 720, 6960, 675));
    label1->setFont(song_font(10.8));

    QGroupBox* frame10 =
        add_frame(frame1, QStringLiteral("Frame10"), QStringLiteral(" 请自行输入： "),
                  twips_rect(600, 2040, 7695, 1575));
    QLabel* label2 = add_label(frame10, QStringLiteral("Label2"), QStringLiteral("安全泄放量："),
                               twips_rect(1200, 720, 1995, 315));
    label2->setFont(song_font(15.6, true));
    text1_ = add_text(frame10, QStringLiteral("Text1"), {}, twips_rect(3345, 720, 1575, 315));
    text1_->setFont(song_font(14.4));
    announce_by_label(label2, text1_);
    QLabel* label3 = add_label(frame10, QStringLiteral("Label3"), QStringLiteral("kg/h"),
                               twips_rect(5160, 720, 855, 495));
    label3->setFont(song_font(15, true));
    return page;
}

void relief_window::build_banner_and_status(QWidget* client) {
    const QString welcome = QStringLiteral("     ---欢迎使用2000年版Ventora软件！");
    status_bar_ = new clock_status_bar(welcome, welcome_panel_width, 1000, 1000, client);

    // The banner strip lies in front of the status bar's text panel.
    picture2_ = new QFrame(client);
    picture2_->setObjectName(QStringLiteral("Picture2"));
    picture2_->setFrameShape(QFrame::NoFrame);
    picture2_->setAutoFillBackground(true);
    picture2_->setBackgroundRole(QPalette::Button);
    picture2_->setAccessibleName(welcome.trimmed());

    image1_ = new QLabel(picture2_);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(welcome_banner_picture());
    image1_->setScaledContents(true);
    image1_->setGeometry(twips_rect(0, 0, 4560, 360));
    image1_->setAccessibleName(QStringLiteral("-欢迎使用2000年版Ventora软件！"));

    timer2_ = new QTimer(this);
    timer2_->setObjectName(QStringLiteral("Timer2"));
    timer2_->setInterval(100);
    connect(timer2_, &QTimer::timeout, this, &relief_window::move_banner);
    timer2_->start();

    place_bottom_strip(client);
}

// The status bar runs along the bottom edge of the client area, whatever height the window's
// title bar leaves it; the banner strip keeps its place relative to the status bar.
void relief_window::place_bottom_strip(QWidget* client) {
    if (!status_bar_ || !picture2_) return;
    const int status_height = twips_to_px(status_bar_height);
    const int status_top =
        client->height() > 0 ? client->height() - status_height : twips_to_px(status_bar_top);
    const int status_width = client->width() > 0 ? client->width() : twips_to_px(9228);
    // The client area is narrower than the one the panels were fitted to: the status bar's text
    // panel gives up the difference, and the banner strip in front of it ends where it ends, so
    // that the time and the date show whole.
    status_bar_->setGeometry(0, status_top, status_width, status_height);
    status_bar_->fit_panels();
    const int given_up = twips_to_px(welcome_panel_width) - status_bar_->welcome_panel()->width();
    const int picture_offset = twips_to_px(picture2_top) - twips_to_px(status_bar_top);
    const QRect designed = twips_rect(40, picture2_top, 7160, 492);
    picture2_->setGeometry(designed.x(), status_top + picture_offset,
                           std::max(0, designed.width() - given_up), designed.height());
    picture2_->raise();
}

void relief_window::set_tab_order() {
    std::vector<QWidget*> order{tabs_, option1_, text2_, option2_, text3_, text4_, text5_};
    for (int index : {0, 1, 6, 7, 2, 3, 4, 10, 11, 9, 12}) order.push_back(option3_[index]);
    for (QLineEdit* box : text6_) order.push_back(box);
    order.push_back(text1_);
    order.push_back(command1_);
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace ventora::relief
