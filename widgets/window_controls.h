#pragma once

class QWidget;

// The user's own ways to move and close a window, where the window manager
// gives none: a borderless window has no title bar, and many Wayland
// compositors bind no close key.

// Alt+F4 closes the window as its close box does.
void closeOnAltF4(QWidget& window);

// Lets the user move the window of `handle` by pressing the left button on
// `handle` and dragging: the window system moves it, which is the only way a
// borderless window can be moved on Wayland and works on X alike. The
// handle's own press, move and release handling is left as it is.
void letWindowBeDraggedBy(QWidget& handle);
