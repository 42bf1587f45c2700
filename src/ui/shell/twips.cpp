#include "shell/twips.h"

#include <cmath>

namespace ventora {

int twips_to_px(double twips) { return static_cast<int>(std::lround(twips / twips_per_pixel)); }

double px_to_twips(int px) { return px * twips_per_pixel; }

QRect twips_rect(double left, double top, double width, double height) {
    return {twips_to_px(left), twips_to_px(top), twips_to_px(width), twips_to_px(height)};
}

QSize twips_size(double width, double height) { return {twips_to_px(width), twips_to_px(height)}; }

}  // namespace ventora
