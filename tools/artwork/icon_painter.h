#pragma once

#include <QImage>

// The installer's own icon, a square of `size` pixels: the buttons' dark
// plate with a red arrow going down into a tray, for "install".
QImage paintIcon(int size);
