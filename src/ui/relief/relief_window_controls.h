// Controls of the relief-rate window that behave like the ones it was designed with: captions
// that wrap inside the control with lines one em apart, option buttons that react anywhere on
// their area, and a tab control whose pages place their contents relative to the whole tab
// control rather than to the page below the tab row.
#pragma once

#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <functional>
#include <vector>

namespace ventora::relief {

// Draws text wrapped at word boundaries (anywhere between Chinese characters) inside rect, one
// line per em, as the GB2312 faces space their lines. Returns the rectangle the lines take.
QRect draw_wrapped_text(QPainter& painter, const QRect& rect, const QString& text,
                        Qt::Alignment vertical);

// A caption: wrapped, top-left aligned, greyed when disabled.
class wrapped_label : public QLabel {
public:
    wrapped_label(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// An option button whose caption wraps and is centred vertically beside the indicator; a click
// anywhere on the button chooses it.
class wrapped_option : public QRadioButton {
public:
    wrapped_option(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

// A tab row whose tabs share the tab control's width equally, all in one row.
class equal_tab_bar : public QTabBar {
public:
    explicit equal_tab_bar(QWidget* parent) : QTabBar(parent) {}

protected:
    QSize tabSizeHint(int index) const override;
};

// A tab control whose page contents are positioned in the tab control's own coordinates: each
// page holds one frame, kept at its position however tall the tab row is drawn.
class tab_control : public QTabWidget {
public:
    explicit tab_control(QWidget* parent);
    // Keeps frame, a child of page, at top_left (pixels from the tab control's top-left corner).
    void anchor(QWidget* frame, QPoint top_left);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void place_anchored();
    struct anchored {
        QWidget* frame;
        QPoint top_left;
    };
    std::vector<anchored> anchored_;
};

// The window's client area; tells its owner when its size changes, so that the controls along
// the bottom edge follow it.
class client_area : public QWidget {
public:
    explicit client_area(std::function<void(QWidget*)> on_resize);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    std::function<void(QWidget*)> on_resize_;
};

}  // namespace ventora::relief
