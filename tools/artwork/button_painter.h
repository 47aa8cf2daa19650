#pragma once

#include <QImage>
#include <QString>

// A button picture: a dark rounded plate lettered in red. The lit twin has
// bright, glowing lettering, a red rim and a lit lamp at its right end.
QImage paintButton(const QString& lettering, int width, int height, bool lit);
