#include "about.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "icon.h"
#include "shell/fonts.h"
#include "shell/message.h"
#include "shell/twips.h"

namespace ventora::app {
namespace {

QLabel* add_label(QWidget* parent, const char* name, const QString& text, const QRect& box) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(box);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

// A word-wrapping label keeps its width and grows downwards to show all its lines.
void fit_height(QLabel* label) {
    const int needed = label->heightForWidth(label->width());
    if (needed > label->height()) label->resize(label->width(), needed);
}

QWidget* add_line(QWidget* parent, const char* name, const QRect& box, const QColor& colour) {
    auto* line = new QWidget(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setGeometry(box);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}

}  // namespace

about_dialog::about_dialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      host_(platform_sysinfo_host()) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("关于本软件..."));
    setFont(song_font(9));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setFixedSize(twips_size(5724, 3552));
    build();
    load();
}

about_dialog::~about_dialog() = default;

void about_dialog::build() {
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setAccessibleName(QStringLiteral("Ventora程序图标"));
    icon->setGeometry(twips_rect(360, 480, 384, 384));
    icon->setPixmap(program_pixmap(icon->size()));

    QLabel* title = add_label(this, "lblTitle", app_title, twips_rect(1200, 480, 4032, 300));
    title->setFont(gb_font(QStringLiteral("楷体_GB2312"), 15, true));
    QPalette blue = title->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    title->setPalette(blue);
    fit_height(title);

    add_label(this, "lblVersion", QStringLiteral("2000年版本"), twips_rect(2376, 1200, 1056, 180));
    QLabel* description = add_label(
        this, "lblDescription",
        QStringLiteral("应用程序描述: 本程序根据1999年版《容规》对压力容器的安全装置 "
                       "进行了计算，并直接输出统一格式的计算书。"),
        twips_rect(840, 1680, 3885, 660));
    fit_height(description);

    // The etched separator: a grey line with a white one just below it.
    add_line(this, "Line1(1)", QRect(twips_to_px(90), twips_to_px(2443),
                                     twips_to_px(5648) - twips_to_px(90), 1),
             QColor(128, 128, 128));
    add_line(this, "Line1(0)", QRect(twips_to_px(105), twips_to_px(2458),
                                     twips_to_px(5648) - twips_to_px(105), 2),
             Qt::white);

    add_label(this, "lblDisclaimer", QString(), twips_rect(240, 2760, 3252, 360));

    ok_ = new QPushButton(QStringLiteral("确定"), this);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setGeometry(twips_rect(4125, 2625, 1500, 345));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    sys_info_ = new QPushButton(QStringLiteral("系统信息(&S)..."), this);
    sys_info_->setObjectName(QStringLiteral("cmdSysInfo"));
    sys_info_->setGeometry(twips_rect(4140, 3075, 1485, 345));
    connect(sys_info_, &QPushButton::clicked, this, &about_dialog::start_sys_info);

    setTabOrder(ok_, sys_info_);
    ok_->setFocus(Qt::OtherFocusReason);
}

void about_dialog::load() {
    setWindowTitle(QStringLiteral("关于 ") + app_title);
    auto* version = findChild<QLabel*>(QStringLiteral("lblVersion"));
    version->setText(QStringLiteral("版本 %1.%2.%3")
                         .arg(VENTORA_VERSION_MAJOR)
                         .arg(VENTORA_VERSION_MINOR)
                         .arg(VENTORA_VERSION_REVISION));
    // The version line stays on one line: it widens to its text.
    const int width = version->fontMetrics().horizontalAdvance(version->text()) + 2;
    if (width > version->width()) version->resize(width, version->height());
    fit_height(version);
}

void about_dialog::set_sysinfo_host(std::unique_ptr<sysinfo_host> host) { host_ = std::move(host); }

void about_dialog::keyPressEvent(QKeyEvent* event) {
    // cmdOK is also the cancel button: Esc presses it, whichever control has the focus.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ok_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void about_dialog::start_sys_info() {
    if (!app::start_sys_info(*host_)) show_message(this, sysinfo_unavailable);
}

void show_about(QWidget* main_window) {
    static QPointer<about_dialog> open;
    if (!open) open = new about_dialog(main_window);
    open->show();
    open->raise();
    open->activateWindow();
}

}  // namespace ventora::app
