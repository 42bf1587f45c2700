// The frame every window draws: an etched border whose top line runs through the middle of the
// caption, the caption near its left end, as a classic frame. Children are placed from the
// frame's top-left corner.
#pragma once

#include <QGroupBox>

namespace ventora {

class caption_frame : public QGroupBox {
public:
    caption_frame(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ventora
