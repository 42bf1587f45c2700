#include "main_window.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QToolTip>

#include "about.h"
#include "book/book_window.h"
#include "case_actions.h"
#include "report.h"
#include "shell/status_bar.h"
#include "shell/twips.h"
#include "shell/workflow_state.h"
#include "disc/disc_window.h"
#include "media/media_dialog.h"
#include "relief/relief_window.h"
#include "system/system_window.h"
#include "valve/valve_window.h"

namespace ventora {

main_window::main_window(QWidget* parent) : QMainWindow(parent), mdi_(new QMdiArea(this)) {
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(QStringLiteral("Ventora"));
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    mdi_->setBackground(QColor(224, 224, 224));
    setCentralWidget(mdi_);
    build_menu();
    build_tools();
    // Menu shortcuts act even while a text box of a calculation window has the focus (a text
    // box would otherwise take Ctrl+A and Ctrl+X for itself). They belong to this window: not to
    // the About dialog, and not while a message box is up.
    qApp->installEventFilter(this);
    load();
}

main_window::~main_window() = default;

void main_window::load() {
    workflow().vessel_ws = 0.0F;
    workflow().valve_capacity = 0.0;
    // The restored size is the whole screen at its top-left corner; the window opens maximized.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        resize(area.size());
        move((area.width() - frameGeometry().width()) / 2, (area.height() - frameGeometry().height()) / 2);
    }
    setWindowState(windowState() | Qt::WindowMaximized);
}

void main_window::build_menu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menubar"));

    QMenu* cal = bar->addMenu(QStringLiteral("(&F)数据计算"));
    cal->setObjectName(QStringLiteral("menu_cal"));
    cal->menuAction()->setObjectName(QStringLiteral("menu_cal"));

    auto add_item = [&](const char* name, const QString& caption, const QKeySequence& keys,
                        auto&& on_trigger) {
        QAction* action = cal->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, on_trigger);
        shortcut_actions_.append(action);
        return action;
    };
    add_item("menu_cal_fa", QStringLiteral("(&D)安全阀计算"), QKeySequence(Qt::CTRL | Qt::Key_A),
             [this] { choose_route(route::device::safety_valve); });
    add_item("menu_cal_pian", QStringLiteral("(&P)爆破片计算"), QKeySequence(Qt::CTRL | Qt::Key_B),
             [this] { choose_route(route::device::bursting_disc); });
    add_item("menu_cal_dayin", QStringLiteral("(&T)文件打印"), QKeySequence(Qt::CTRL | Qt::Key_T),
             [this] { app::open_report(this); });
    add_item("menu_cal_exit", QStringLiteral("(&X)退出系统"), QKeySequence(Qt::CTRL | Qt::Key_X),
             [this] { emit exit_requested(); });

    // A top-level entry without a drop-down: it acts when clicked on the menu bar.
    QAction* about = bar->addAction(QStringLiteral("(&A)关于..."));
    about->setObjectName(QStringLiteral("menu_about"));
    connect(about, &QAction::triggered, this, [this] { app::show_about(this); });
}

void main_window::build_tools() {
    add_tool("tool_book", QStringLiteral("计算书"), QKeySequence(Qt::CTRL | Qt::Key_P), [this] { show_book_window(); });
    media_action_ = add_tool("action_media", QStringLiteral("介质物性..."), QKeySequence(Qt::Key_F4),
                             [this] { open_media_dialog(); });
    // Case files. Queued: opening ends the route's windows, and the right-click menu that asked
    // for it belongs to one of them.
    auto* cases = new app::case_keeper(*this);
    add_tool("tool_case_save", QStringLiteral("保存算例..."), QKeySequence(Qt::CTRL | Qt::Key_S),
             [cases] { QMetaObject::invokeMethod(cases, &app::case_keeper::save, Qt::QueuedConnection); });
    add_tool("tool_case_open", QStringLiteral("打开算例..."), QKeySequence(Qt::CTRL | Qt::Key_O),
             [cases] { QMetaObject::invokeMethod(cases, &app::case_keeper::open, Qt::QueuedConnection); });
    add_tool("tool_system", QStringLiteral("泄放系统校核..."), QKeySequence(Qt::Key_F5), [this] { show_system_window(); });

    // The empty workspace offers the same right-click menu as the calculation windows, and names
    // the shortcuts where the pointer rests on it (see eventFilter).
    QWidget* workspace = mdi_->viewport();
    workspace->setContextMenuPolicy(Qt::ActionsContextMenu);
    workspace->addActions(tool_actions_);
    workspace->setAccessibleDescription(shortcut_hint());
}

QString main_window::shortcut_hint() const {
    QStringList parts;
    for (const QAction* action : tool_actions_) {
        QString caption = action->text();
        caption.remove(QStringLiteral("..."));
        parts << action->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(' ') + caption;
    }
    return QStringLiteral("快捷键：") + parts.join(QStringLiteral("，")) + QStringLiteral("；右键菜单中亦有。");
}

QAction* main_window::add_tool(const char* name, const QString& caption, const QKeySequence& keys,
                               std::function<void()> run) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    action->setShortcutVisibleInContextMenu(true);
    connect(action, &QAction::triggered, this, std::move(run));
    addAction(action);
    tool_actions_.append(action);
    return action;
}

void main_window::open_media_dialog() {
    // One dialog at a time, for the window active now.
    for (auto* open : findChildren<media_ui::media_dialog*>(Qt::FindDirectChildrenOnly)) open->close();
    auto* dialog = new media_ui::media_dialog(mdi_->activeSubWindow(), this);
    dialog->show();
}

bool main_window::eventFilter(QObject* watched, QEvent* event) {
    const auto* widget = qobject_cast<QWidget*>(watched);
    // Only over the empty workspace: a window in it that has no tooltip of its own passes the
    // event up to the workspace, and must not show the hint.
    if (event->type() == QEvent::ToolTip && watched == mdi_->viewport()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (!mdi_->viewport()->childAt(help->pos())) QToolTip::showText(help->globalPos(), shortcut_hint(), mdi_->viewport());
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride && widget && widget->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QAction* action : std::as_const(shortcut_actions_)) {
            if (action->shortcut() == pressed) {
                // Not accepted: the focus widget does not keep the key, so the menu's shortcut
                // runs.
                event->ignore();
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void main_window::choose_route(route::device device) {
    workflow().cal_route = device;
    show_relief_window();
}

double main_window::width_twips() const { return px_to_twips(frameGeometry().width()); }
double main_window::height_twips() const { return px_to_twips(frameGeometry().height()); }

void main_window::present(QMdiSubWindow* window) {
    if (window->mdiArea() != mdi_) {
        mdi_->addSubWindow(window);
        if (QWidget* client = window->widget(); client && !tool_actions_.isEmpty()) {
            client->setContextMenuPolicy(Qt::ActionsContextMenu);
            client->addActions(tool_actions_);
            // The welcome text keeps its words; resting the pointer on it names the shortcuts.
            if (auto* bar = client->findChild<clock_status_bar*>()) bar->welcome_panel()->setToolTip(shortcut_hint());
        }
    }
    window->show();
    window->raise();
    mdi_->setActiveSubWindow(window);
    window->setFocus();
}

void main_window::show_relief_window() {
    if (!relief_) relief_ = new relief::relief_window(*this);
    present(relief_);
}

void main_window::show_valve_window() {
    if (!valve_) valve_ = new valve::valve_window(*this);
    present(valve_);
}

void main_window::show_disc_window() {
    if (!disc_) disc_ = new disc::disc_window(*this);
    present(disc_);
}

void main_window::show_book_window() {
    if (!book_) {
        // An exported ODT opens in the word processor; a failure is named in one message.
        book_ = new book::book_window([this](const QString& path) {
            app::writer_word_processor writer;
            app::open_report(this, writer, path);
        });
    }
    present(book_);
}

void main_window::show_system_window() {
    if (!system_) system_ = new system_ui::system_window(*this);
    present(system_);
}

void main_window::close_relief_window() {
    if (relief_) relief_->close();
}

}  // namespace ventora
