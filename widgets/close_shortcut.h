#pragma once

class QWidget;

// Alt+F4 closes the window as its close box does, also where the window
// manager does not bind the key (many Wayland compositors).
void closeOnAltF4(QWidget& window);
