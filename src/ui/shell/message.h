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

// The same box as a question with 是 and 否: true when the person answers 是. A recording sink
// receives the question's text like any message; the answer then comes from the answerer.
enum class message_buttons { ok, yes_no };
bool show_message(QWidget* parent, const QString& text, message_buttons buttons);

// Loads Qt's own Chinese translations so that standard buttons speak like our windows (OK reads
// 确定). Returns false when they are not installed.
bool install_qt_translations();

// Replaces the real message box; an empty function restores it. Returns the previous sink.
using message_sink = std::function<void(QWidget* parent, const QString& text)>;
message_sink set_message_sink(message_sink sink);

// Answers the questions while a sink is installed (none set: every question is answered 是).
// Returns the previous answerer.
using question_answerer = std::function<bool(const QString& text)>;
question_answerer set_question_answerer(question_answerer answerer);

}  // namespace ventora
