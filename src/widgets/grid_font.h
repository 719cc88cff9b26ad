// The grid's fixed-pitch font: 6 px for a character of one display column and
// 12 px for one of two at pixel size 12, which the column widths rest on.
#pragma once

#include <QFont>

namespace tabulon {

// The first installed font of the known good ones that measures 6 and 12 px;
// otherwise the closest fixed-pitch font, with `exact` false.
QFont GridFont(bool* exact = nullptr);

}  // namespace tabulon
