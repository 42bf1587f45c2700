#include "shell/fonts.h"
#include "relief/relief_window_banner.h"

#include <QPainter>
#include <cmath>

#include "shell/controls.h"
#include "shell/twips.h"
#include "relief/relief_window_controls.h"

namespace ventora::relief {

QPixmap welcome_banner_picture() {
    constexpr int width = 380;
    constexpr int height = 50;
    // The picture box shows the picture in 4560 × 360 twips; the text is laid out in that box's
    // pixels and the drawing stretched to the picture's size, so the box's own stretching
    // undoes it.
    const QSize shown = twips_size(4560, 360);

    QPixmap picture(width, height);
    picture.fill(classic_grey);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(double(width) / shown.width(), double(height) / shown.height());
    QFont font = song_font(12, true);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 255));
    painter.drawText(QRect(QPoint(0, 0), shown), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("-欢迎使用2000年版Ventora软件！"));
    return picture;
}

double banner_position_at(double angle) {
    double position = std::cos(angle) * 6150;
    if (position < 20) position = 100;
    return position;
}

}  // namespace ventora::relief
