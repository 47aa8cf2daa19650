#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// A button picture of `size`: a dark rounded plate of `plate` in its top-left
// corner, lettered in red; the rest stays transparent, so the plate shows
// whole in a control smaller than the picture. The lit twin has bright,
// glowing lettering, a red rim and a lit lamp at its right end.
QImage paintButton(const QString& lettering, QSize size, QSize plate, bool lit);
