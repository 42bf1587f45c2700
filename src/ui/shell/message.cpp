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
question_answerer& current_answerer() {
    static question_answerer answerer;
    return answerer;
}
}  // namespace

void show_message(QWidget* parent, const QString& text) {
    show_message(parent, text, message_buttons::ok);
}

bool show_message(QWidget* parent, const QString& text, message_buttons buttons) {
    const bool question = buttons == message_buttons::yes_no;
    if (const auto& sink = current_sink()) {
        sink(parent, text);
        if (!question) return true;
        const auto& answerer = current_answerer();
        return answerer ? answerer(text) : true;
    }
    QMessageBox box(QMessageBox::NoIcon, app_title, text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("ventora_message"));
    box.setWindowModality(Qt::ApplicationModal);
    // The X11 style decorates its buttons with icons; our boxes carry no icon anywhere.
    for (QAbstractButton* button : box.buttons()) button->setIcon(QIcon());
    if (question) {
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    }
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
    return !question || box.clickedButton() == box.button(QMessageBox::Yes);
}

bool install_qt_translations() {
    auto* translator = new QTranslator(QCoreApplication::instance());
    // Qt's own folder on Linux; beside the program where it travels with its libraries (the
    // Windows folder and installer).
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        !translator->load(QStringLiteral("qtbase_zh_CN"),
                          QCoreApplication::applicationDirPath() + QStringLiteral("/translations"))) {
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

question_answerer set_question_answerer(question_answerer answerer) {
    auto previous = std::move(current_answerer());
    current_answerer() = std::move(answerer);
    return previous;
}

}  // namespace ventora
