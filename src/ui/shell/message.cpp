#include "shell/message.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
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
