#include "ui_support.h"

#include <QAbstractButton>
#include <QRadioButton>
#include <QtTest>

namespace ventora::testing {

message_recorder::message_recorder() {
    previous_ = set_message_sink([this](QWidget*, const QString& text) { texts_.append(text); });
}

message_recorder::~message_recorder() { set_message_sink(std::move(previous_)); }

void click_option(QRadioButton* option) {
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
}

void click_button(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

}  // namespace ventora::testing
