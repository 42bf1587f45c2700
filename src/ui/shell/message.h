// Every message box of the program goes through show_message: modal, OK only, no icon, titled
// with the application title. Tests swap in a recorder to read what a person would see.
#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace ventora {

// The application title, also the title of every message box.
inline const QString app_title = QStringLiteral("Ventora程序");

void show_message(QWidget* parent, const QString& text);

// Loads Qt's own Chinese translations so that standard buttons speak like our windows (OK reads
// 确定). Returns false when they are not installed.
bool install_qt_translations();

// Replaces the real message box; an empty function restores it. Returns the previous sink.
using message_sink = std::function<void(QWidget* parent, const QString& text)>;
message_sink set_message_sink(message_sink sink);

}  // namespace ventora
