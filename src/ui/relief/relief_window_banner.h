// The welcome banner that slides along the bottom strip of the relief-rate window.
#pragma once

#include <QPixmap>

namespace ventora::relief {

// The banner picture: 380 × 50 pixels of "-欢迎使用2000年版Ventora软件！" in blue on grey. It is
// drawn for the 4560 × 360 twips picture box that stretches it, so that the text looks right
// once stretched.
QPixmap welcome_banner_picture();

// Where the banner's left edge goes for an angle in radians, in twips: cos(angle) × 6150, swinging
// from 6150 towards the strip's left edge; below 20 it rests at 100 instead.
double banner_position_at(double angle);

// What the angle grows by at each tick of the banner's 100 ms timer.
inline constexpr double banner_angle_step = 0.08;

}  // namespace ventora::relief
