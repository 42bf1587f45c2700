#include "splash.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include "icon.h"
#include "main_window.h"
#include "shell/fonts.h"
#include "shell/twips.h"

namespace ventora::app {
namespace {

const QColor face_grey(192, 192, 192);
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);
const QColor magenta(255, 0, 255);

// Auto-size labels take the size of their text: a left-aligned one keeps its left edge, a
// right-aligned one its right edge. A fixed label keeps its box, but is never shorter than one line
// of its font.
void fit(QLabel* label) {
    const QRect design = label->property("design").toRect();
    const QSize hint = label->sizeHint();
    if (label->property("auto_size").toBool()) {
        const int x = (label->alignment() & Qt::AlignRight) ? design.right() + 1 - hint.width()
                                                            : design.left();
        label->setGeometry(x, design.top(), hint.width(), hint.height());
    } else {
        // A stand-in face wider than the designed one (no 宋体 on the machine) is condensed to
        // the box: the caption is never cut off.
        const QString text = label->text().trimmed();
        QFont font = label->font();
        for (int stretch = 99; QFontMetrics(font).horizontalAdvance(text) > design.width() &&
                               stretch >= 50;
             --stretch)
            font.setStretch(stretch);
        label->setFont(font);
        label->setGeometry(design.left(), design.top(), design.width(),
                           std::max(design.height(), label->sizeHint().height()));
    }
}

void set_text_colour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace

splash_screen::splash_screen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the splash hands over to the main window; it must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    setAccessibleName(QStringLiteral("Ventora软件"));
    setFont(song_font(9));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, face_grey);
    setPalette(palette);
    setFixedSize(twips_size(7380, 4248));
    setFocusPolicy(Qt::StrongFocus);
    build();

    // Opening.
    auto* version = findChild<QLabel*>(QStringLiteral("lblVersion"));
    version->setText(QStringLiteral("2000版本"));
    fit(version);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &splash_screen::on_tick);
    timer_->start();
}

void splash_screen::build() {
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(twips_rect(120, 120, 7080, 4050));
    frame_ = frame;
    frame->installEventFilter(this);
    sensitive_.insert(frame);

    auto* logo = new QLabel(frame);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setAccessibleName(QStringLiteral("Ventora图标"));
    logo->setGeometry(twips_rect(240, 1920, 1572, 1632));
    logo->setScaledContents(true);
    logo->setPixmap(program_pixmap(QSize(128, 128)));
    logo->installEventFilter(this);
    sensitive_.insert(logo);

    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignTop;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignTop;

    QLabel* label = add_label("lblCompanyProduct", QStringLiteral("欢迎您使用2000年版"),
                              twips_rect(600, 600, 3240, 360), true, left, true);
    label->setFont(gb_font(QStringLiteral("隶书"), 18));
    set_text_colour(label, blue);

    label = add_label("lblProductName", QStringLiteral("Ventora软件"),
                      twips_rect(2040, 1320, 4512, 360), true, left, true);
    label->setFont(gb_font(QStringLiteral("黑体"), 18, true));
    set_text_colour(label, red);

    label = add_label("lblPlatform", QStringLiteral("For Windows9X "),
                      twips_rect(3240, 1920, 2196, 276), true, right, true);
    label->setFont(song_font(13.8, true));
    set_text_colour(label, magenta);

    label = add_label("Label1", QStringLiteral("Win2000 WinXP"), twips_rect(4440, 2280, 2172, 252),
                      false, left, false);
    label->setFont(song_font(13.8, true));
    set_text_colour(label, magenta);

    add_label("lblVersion", QString(), twips_rect(3720, 2760, 2004, 180), true, right, true);
    add_label("lblCompany", QStringLiteral("编制：   "), twips_rect(3240, 3120, 612, 252), false,
              left, true);
    add_label("Label2", QStringLiteral("Corvalent"), twips_rect(3840, 3120, 2772, 252), false, left,
              false);
    add_label("lblCopyright", QStringLiteral("    "), twips_rect(4080, 3480, 2052, 252), false, left,
              true);

    for (QLabel* each : frame->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (each != logo) fit(each);
}

QLabel* splash_screen::add_label(const char* name, const QString& text, QRect design,
                                 bool auto_size, Qt::Alignment alignment, bool closes) {
    auto* label = new QLabel(text, frame_);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(alignment);
    label->setProperty("design", design);
    label->setProperty("auto_size", auto_size);
    label->setGeometry(design);
    label->installEventFilter(this);
    if (closes) sensitive_.insert(label);
    return label;
}

void splash_screen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Centred on the screen it opens on.
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect box = frameGeometry();
        box.moveCenter(screen->geometry().center());
        move(box.topLeft());
    }
    setFocus(Qt::OtherFocusReason);
}

void splash_screen::on_tick() {
    ++counter_;
    if (counter_ > 3) close_splash();
}

void splash_screen::close_splash() {
    if (closing_) return;
    closing_ = true;
    timer_->stop();
    close();
    emit closed();
}

void splash_screen::closeEvent(QCloseEvent* event) {
    // However the window is closed, the main window follows.
    event->accept();
    if (!closing_) {
        closing_ = true;
        timer_->stop();
        emit closed();
    }
}

bool splash_screen::key_closes(const QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    if (static_cast<const QKeyEvent*>(event)->text().isEmpty()) return false;
    close_splash();
    return true;
}

bool splash_screen::event(QEvent* event) {
    // Before QWidget's own handling, which would take Tab for moving the focus.
    if (key_closes(event)) return true;
    return QWidget::event(event);
}

bool splash_screen::eventFilter(QObject* watched, QEvent* event) {
    // Key presses come to the window first, whichever control has the focus.
    if (key_closes(event)) return true;

    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) pressed_ = watched;
            // Kept here: a click on a label that does nothing must not reach the frame.
            return true;
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const bool clicked = mouse->button() == Qt::LeftButton && pressed_ == watched &&
                                 static_cast<QWidget*>(watched)->rect().contains(
                                     mouse->position().toPoint());
            pressed_ = nullptr;
            if (clicked && sensitive_.contains(watched)) close_splash();
            return true;
        }
        default:
            return QWidget::eventFilter(watched, event);
    }
}

splash_screen* start_with_splash(std::unique_ptr<main_window>& main) {
    auto* splash = new splash_screen;
    QObject::connect(splash, &splash_screen::closed, [&main] {
        main = std::make_unique<main_window>();
        QObject::connect(main.get(), &main_window::exit_requested, [] { QCoreApplication::exit(0); });
        main->show();
    });
    splash->show();
    return splash;
}

}  // namespace ventora::app
