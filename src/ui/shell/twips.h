// Geometry is designed in twips (1/1440 inch). At the 96 dpi of Qt's logical pixels one pixel is
// 15 twips.
#pragma once

#include <QRect>
#include <QSize>

namespace ventora {

inline constexpr double twips_per_pixel = 15.0;

// Rounds to the nearest logical pixel.
int twips_to_px(double twips);
double px_to_twips(int px);
// (left, top, width, height) in twips.
QRect twips_rect(double left, double top, double width, double height);
QSize twips_size(double width, double height);

}  // namespace ventora
