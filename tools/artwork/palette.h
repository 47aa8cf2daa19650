#pragma once

#include <QColor>

// The colours every picture shares, so header and buttons read as one set.
namespace artwork_palette {
inline const QColor kPlateTop{58, 58, 64};
inline const QColor kPlateBottom{14, 14, 17};
inline const QColor kRim{92, 92, 100};
inline const QColor kRedDim{168, 20, 24};
inline const QColor kRed{214, 28, 32};
inline const QColor kRedHot{255, 92, 72};
inline const QColor kLampOff{60, 14, 14};
} // namespace artwork_palette
