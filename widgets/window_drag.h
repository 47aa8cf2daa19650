#pragma once

class QWidget;

// Lets the user move the window of `handle` by pressing the left button on
// `handle` and dragging: the window system moves it, which is the only way a
// borderless window can be moved on Wayland and works on X alike. The
// handle's own press, move and release handling is left as it is.
void letWindowBeDraggedBy(QWidget& handle);
