#include "shell/message.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QShortcut>
#include <QTranslator>

namespace ventora {
namespace {
message_sink& current_sink() {
    static message_sink sink;
    return sink;
}
}  // namespace

void show_message(QWidget* parent, const QString& text) {
    if (const auto& sink = current_sink()) {
        sink(parent, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, app_title, text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("ventora_message"));
    box.setWindowModality(Qt::ApplicationModal);
    // The X11 style decorates OK with a check mark; our boxes carry no icon anywhere.
    if (auto* ok = box.button(QMessageBox::Ok)) ok->setIcon(QIcon());
    // An engineer pastes an area or a capacity into a report: the text is selectable with the
    // mouse and the keyboard, and Ctrl+C copies the selection, or the whole text when nothing is
    // selected, wherever the focus is in the box.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* copy = new QShortcut(QKeySequence::Copy, &box);
    QObject::connect(copy, &QShortcut::activated, &box, [&box, text] {
        const auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        const QString selected = label ? label->selectedText() : QString();
        QGuiApplication::clipboard()->setText(selected.isEmpty() ? text : selected);
    });
    box.exec();
}

bool install_qt_translations() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

message_sink set_message_sink(message_sink sink) {
    auto previous = std::move(current_sink());
    current_sink() = std::move(sink);
    return previous;
}

}  // namespace ventora
