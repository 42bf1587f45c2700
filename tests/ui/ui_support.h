// Support for the window tests: a recorder that takes the place of the message boxes, and
// helpers to act on controls as a person would.
#pragma once

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include "shell/message.h"

class QAbstractButton;
class QRadioButton;
class QWidget;

namespace ventora::testing {

// While alive, every message box's text is recorded instead of shown.
class message_recorder {
public:
    message_recorder();
    ~message_recorder();
    message_recorder(const message_recorder&) = delete;
    message_recorder& operator=(const message_recorder&) = delete;

    const QStringList& texts() const { return texts_; }
    void clear() { texts_.clear(); }

private:
    QStringList texts_;
    message_sink previous_;
};

// Clicks a radio button on its indicator, where a person clicks.
void click_option(QRadioButton* option);
// Clicks a push button.
void click_button(QAbstractButton* button);

// Finds a descendant by object name, failing the test when it is missing or of another type.
template <typename T>
T* find(QWidget* root, const QString& name);

}  // namespace ventora::testing

#include <QWidget>
#include <QtTest>

namespace ventora::testing {
template <typename T>
T* find(QWidget* root, const QString& name) {
    T* child = root->findChild<T*>(name);
    if (!child) QTest::qFail(qPrintable(QStringLiteral("no control ") + name), __FILE__, __LINE__);
    return child;
}
}  // namespace ventora::testing
