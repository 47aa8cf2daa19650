#pragma once

class QGuiApplication;

// While a modal window is open, the windows it blocks take no input. When the
// user activates one of them anyway (a click on the main window), some window
// systems raise it over the modal window, which then lies hidden behind a
// window that does not answer. This raises and activates the modal window
// again whenever a window it blocks becomes the active one; on Wayland it
// maps the modal window anew, which compositors stack on top and activate.
void keepModalWindowsInFront(QGuiApplication& application);
