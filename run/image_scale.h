// How a chart image of a given size in pixels and resolution is drawn: the chart is laid
// out at the size a screen of `screenDpi` shows it and scaled up to the pixels, so that a
// figure of 6.5 inches at 300 dpi has the lettering of a printed page, only sharper.
#pragma once

namespace vd::run {

inline constexpr int screenDpi = 96;

// The sizes `vando3-cli plot` takes.
inline constexpr int largestImageSide = 20000;
inline constexpr int largestImageDpi = 2400;

struct ImageScale {
    int layoutWidth = 0;  // the chart's size as laid out, in screen pixels
    int layoutHeight = 0;
    double scale = 1;         // image pixels per screen pixel
    int dotsPerMeter = 3780;  // the resolution written into a PNG
    double widthMm = 0;       // the printed size, written into an SVG
    double heightMm = 0;
};

ImageScale imageScale(int width, int height, int dpi);

}  // namespace vd::run
