#pragma once

#include <QImage>

// The main window's header picture. Its bottom-left pixel is pure black: the
// window treats that colour as transparent. The lower right corner stays
// empty for the Install button and the top right for the credit lines.
QImage paintHeader(int width, int height);
