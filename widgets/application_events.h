#pragma once

class QCoreApplication;
class QGuiApplication;

// What the application does with events as a whole, set up once at program
// start, after the application object exists.

// Points the archive component's message hook at Qt's event processing, so
// windows repaint and take Cancel clicks in the middle of an extraction run.
void InstallWindowMessageHook();

// The keys that act (Enter, Esc, Space) act only on a fresh press. A key
// held down repeats: the window system sends its press again and again, to
// whichever window has the focus by then, so a key held to close one window
// would act in the next and the one after. Installed on the application,
// this drops the repeated presses of those keys before any window sees
// them; a text field still takes repeated spaces.
void actOnFreshKeyPressesOnly(QCoreApplication& application);

// While a modal window is open, the windows it blocks take no input. When the
// user activates one of them anyway (a click on the main window), some window
// systems raise it over the modal window, which then lies hidden behind a
// window that does not answer. This raises and activates the modal window
// again whenever a window it blocks becomes the active one; on Wayland it
// maps the modal window anew, which compositors stack on top and activate.
void keepModalWindowsInFront(QGuiApplication& application);
