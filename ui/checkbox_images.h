// The pair of check-box images that the gage table's Use column is drawn with.
#pragma once

#include <QPixmap>

namespace vd::ui {

struct CheckImages {
    QPixmap FCheck;    // a checked box
    QPixmap FNoCheck;  // an empty box, of the same size
};

CheckImages makeCheckImages(int side = 13);

}  // namespace vd::ui
