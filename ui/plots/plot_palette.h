// The colours of the charts: the Okabe-Ito palette, whose colours stay apart for readers
// with the common colour-vision deficiencies; lines also differ in their dash pattern.
#pragma once

#include <QColor>

namespace vd::ui::palette {

inline const QColor black{0, 0, 0};
inline const QColor orange{230, 159, 0};
inline const QColor skyBlue{86, 180, 233};
inline const QColor bluishGreen{0, 158, 115};
inline const QColor yellow{240, 228, 66};
inline const QColor blue{0, 114, 178};
inline const QColor vermillion{213, 94, 0};
inline const QColor reddishPurple{204, 121, 167};

// `colour` seen through: for shaded areas that must not hide what lies under them.
inline QColor translucent(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

}  // namespace vd::ui::palette
