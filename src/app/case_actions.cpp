#include "case_actions.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QTimer>

#include "disc/disc_window.h"
#include "media/media_dialog.h"
#include "shell/settings.h"
#include "main_window.h"
#include "relief/relief_window.h"
#include "shell/controls.h"
#include "shell/message.h"
#include "splash.h"
#include "shell/workflow_state.h"
#include "system/system_window.h"
#include "valve/valve_window.h"

namespace ventora::app {
namespace {

const QString folder_key = QStringLiteral("cases/last_folder");
const QString file_filter = QStringLiteral("Ventora算例 (*.ventora)");

QSettings settings() { return user_settings(); }

case_file_chooser& chooser() {
    static case_file_chooser c;
    return c;
}

QString choose_file(QWidget* parent, bool saving, const QString& start) {
    if (chooser()) return chooser()(parent, saving, start);
    return saving ? QFileDialog::getSaveFileName(parent, QStringLiteral("保存算例"), start, file_filter)
                  : QFileDialog::getOpenFileName(parent, QStringLiteral("打开算例"), start, file_filter);
}

// The window a message or a file dialog belongs to: the main window once it shows.
QWidget* message_parent(main_window& main) {
    return main.isVisible() ? static_cast<QWidget*>(&main) : nullptr;
}

relief::relief_window* relief_of(const main_window& main) {
    return qobject_cast<relief::relief_window*>(main.relief_window());
}
valve::valve_window* valve_of(const main_window& main) {
    return qobject_cast<valve::valve_window*>(main.valve_window());
}
disc::disc_window* disc_of(const main_window& main) {
    return qobject_cast<disc::disc_window*>(main.disc_window());
}
system_ui::system_window* system_of(const main_window& main) {
    return qobject_cast<system_ui::system_window*>(main.system_window());
}

// Ends a window now, not at the next turn of the event loop: the main window must create a new
// one at once. Never called from inside the window's own event handling.
void end_window(QMdiSubWindow* window) {
    if (!window) return;
    window->close();
    delete window;
}

// The medium a window was filled from, and the sources of the boxes that still hold its values.
void restore_medium(QMdiSubWindow* window, const std::string& id, const requests::medium_state& state) {
    media_ui::restore_fill(window, {QString::fromStdString(id), state.T, state.P});
}

}  // namespace

case_keeper::case_keeper(main_window& main) : QObject(&main), main_(main) {
    setObjectName(QStringLiteral("case_keeper"));
}

cases::case_data case_keeper::capture() const {
    cases::case_data data;
    data.project = workflow().book.project;
    if (const auto* relief = relief_of(main_)) {
        data.relief = relief->capture_form();
        const media_ui::kept_medium kept = media_ui::kept_medium_of(main_.relief_window());
        data.relief_medium = kept.id.toStdString();
        data.relief_state = {kept.T, kept.P};
    }
    const auto* valve = valve_of(main_);
    const auto* disc = disc_of(main_);
    // Both device windows open after a change of route: the route's own device counts.
    const bool disc_route = workflow().cal_route == route::device::bursting_disc;
    const QWidget* device = nullptr;
    if (valve && (!disc || !disc_route)) {
        data.device = valve->capture_form();
        device = main_.valve_window();
    } else if (disc) {
        data.device = disc->capture_form();
        device = main_.disc_window();
    }
    if (device) {
        const media_ui::kept_medium kept = media_ui::kept_medium_of(device);
        data.device_medium = kept.id.toStdString();
        data.device_state = {kept.T, kept.P};
    }
    // The relief-system checks belong to a safety valve.
    if (const auto* system = system_of(main_); system && std::holds_alternative<forms::valve_form>(data.device))
        data.system = system->capture_form();
    return data;
}

bool case_keeper::has_unsaved_inputs() const {
    const auto* relief = relief_of(main_);
    const auto* valve = valve_of(main_);
    const auto* disc = disc_of(main_);
    if (!relief && !valve && !disc) return false;

    const bool kept = baseline_window_ && baseline_window_ == main_.relief_window();
    // Windows that opened after the last save or open are compared with windows as they open.
    const cases::case_data reference = kept ? baseline_ : cases::case_data{};
    const cases::case_data now = capture();
    if (kept && !cases::same_project(now.project, reference.project)) return true;
    if (relief && !(now.relief == reference.relief)) return true;
    if (valve) {
        const auto* saved = std::get_if<forms::valve_form>(&reference.device);
        if (!(valve->capture_form() == (saved ? *saved : forms::valve_form{}))) return true;
    }
    if (disc) {
        const auto* saved = std::get_if<forms::disc_form>(&reference.device);
        if (!(disc->capture_form() == (saved ? *saved : forms::disc_form{}))) return true;
    }
    if (const auto* system = system_of(main_))
        if (!(system->capture_form() == reference.system.value_or(forms::system_form{}))) return true;
    return false;
}

void case_keeper::save() {
    if (!relief_of(main_)) {
        show_message(message_parent(main_),
                     QStringLiteral("没有可保存的计算：请先从“数据计算”菜单开始计算。"));
        return;
    }
    const QString start = current_path_.isEmpty()
                              ? start_folder() + QStringLiteral("/算例") + cases::file_suffix
                              : current_path_;
    QString path = choose_file(message_parent(main_), true, start);
    if (path.isEmpty()) return;
    if (!path.endsWith(cases::file_suffix, Qt::CaseInsensitive)) path += cases::file_suffix;
    save_file(path);
}

bool case_keeper::save_file(const QString& path) {
    const cases::case_data data = capture();
    if (const QString field = cases::overlong_field(data); !field.isEmpty()) {
        show_message(message_parent(main_),
                     QStringLiteral("无法保存算例：字段%1的文字超过%2个字符。")
                         .arg(field)
                         .arg(cases::max_text_chars));
        return false;
    }
    if (const QString error = cases::save_case_file(path, data); !error.isEmpty()) {
        show_message(message_parent(main_), QStringLiteral("无法保存算例文件“%1”：%2。")
                                                .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    baseline_ = data;
    baseline_window_ = main_.relief_window();
    current_path_ = path;
    remember_folder(path);
    return true;
}

void case_keeper::open() {
    const QString start = current_path_.isEmpty() ? start_folder() : current_path_;
    const QString path = choose_file(message_parent(main_), false, start);
    if (!path.isEmpty()) open_file(path);
}

bool case_keeper::open_file(const QString& path) {
    const cases::read_result read = cases::load_case_file(path);
    if (!read.data) {
        show_message(message_parent(main_), QStringLiteral("无法打开算例文件“%1”：%2。")
                                                .arg(QDir::toNativeSeparators(path), read.error));
        return false;
    }
    remember_folder(path);
    if (has_unsaved_inputs() &&
        !show_message(message_parent(main_),
                      QStringLiteral("当前计算的输入尚未保存。打开算例“%1”将关闭当前计算，是否继续？")
                          .arg(QFileInfo(path).fileName()),
                      message_buttons::yes_no))
        return false;

    const cases::case_data& data = *read.data;
    end_window(main_.system_window());
    end_window(main_.valve_window());
    end_window(main_.disc_window());
    end_window(main_.relief_window());

    // As the menu chooses a route; a case of the relief rate alone keeps the route chosen last.
    if (std::holds_alternative<forms::valve_form>(data.device))
        workflow().cal_route = route::device::safety_valve;
    else if (std::holds_alternative<forms::disc_form>(data.device))
        workflow().cal_route = route::device::bursting_disc;
    else if (!workflow().cal_route)
        workflow().cal_route = route::device::safety_valve;
    // A new route starts as the program does: no rate kept, no capacity, no accounts yet.
    workflow().vessel_ws = 0.0F;
    workflow().valve_capacity = 0.0;
    workflow().book = {};
    workflow().book.project = data.project;
    workflow().relief_input.reset();
    workflow().relief_result.reset();
    workflow().valve_input.reset();
    workflow().valve_result.reset();

    if (const auto* valve = std::get_if<forms::valve_form>(&data.device)) {
        main_.show_valve_window();
        valve_of(main_)->restore_form(*valve);
        restore_medium(main_.valve_window(), data.device_medium, data.device_state);
    } else if (const auto* disc = std::get_if<forms::disc_form>(&data.device)) {
        main_.show_disc_window();
        disc_of(main_)->restore_form(*disc);
        restore_medium(main_.disc_window(), data.device_medium, data.device_state);
    }
    if (data.system) {
        main_.show_system_window();
        system_of(main_)->restore_form(*data.system);
    }
    // The relief-rate window last, in front: its "下一步" comes first.
    main_.show_relief_window();
    relief_of(main_)->restore_form(data.relief);
    restore_medium(main_.relief_window(), data.relief_medium, data.relief_state);

    baseline_ = data;
    baseline_window_ = main_.relief_window();
    current_path_ = path;
    emit workflow_events().book_changed();
    return true;
}

void case_keeper::remember_folder(const QString& path) const {
    settings().setValue(folder_key, QFileInfo(path).absolutePath());
}

QString case_keeper::start_folder() const {
    const QString folder = settings().value(folder_key).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void open_case_after_splash(splash_screen* splash, std::unique_ptr<main_window>& main,
                            const QString& path) {
    // Connected after the splash's own handler, which creates the main window: this runs next,
    // and opens at the following turn of the event loop, once the main window has shown.
    QObject::connect(splash, &splash_screen::closed, [&main, path] {
        if (!main) return;
        QTimer::singleShot(0, main.get(), [&main, path] {
            if (case_keeper* keeper = keeper_of(*main)) keeper->open_file(path);
        });
    });
}

case_keeper* keeper_of(main_window& main) {
    return main.findChild<case_keeper*>(QStringLiteral("case_keeper"), Qt::FindDirectChildrenOnly);
}

case_file_chooser set_case_file_chooser(case_file_chooser c) {
    auto previous = std::move(chooser());
    chooser() = std::move(c);
    return previous;
}

}  // namespace ventora::app
