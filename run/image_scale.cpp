#include "image_scale.h"

#include <algorithm>
#include <cmath>

namespace vd::run {

ImageScale imageScale(int width, int height, int dpi) {
    constexpr double mmPerInch = 25.4;
    ImageScale s;
    dpi = std::max(dpi, 1);
    s.scale = static_cast<double>(dpi) / screenDpi;
    s.layoutWidth = std::max(1, static_cast<int>(std::lround(width / s.scale)));
    s.layoutHeight = std::max(1, static_cast<int>(std::lround(height / s.scale)));
    s.dotsPerMeter = static_cast<int>(std::lround(dpi * 1000 / mmPerInch));
    s.widthMm = width * mmPerInch / dpi;
    s.heightMm = height * mmPerInch / dpi;
    return s;
}

}  // namespace vd::run
