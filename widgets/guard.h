#pragma once

#include <QApplication>

#include <utility>

// The guard policy: an error that escapes a handler ends that handler, is
// shown in the standard error box, and the program goes on. Handlers carry
// no guard of their own; there is one where control comes in from outside:
// - Qt's GUI and widget libraries are built without exception support: an
//   exception unwinding through their frames skips the destructors there
//   (while a mouse event is delivered, a copy of it and a guarded pointer to
//   its widget, which then leak). So where a widget's input, show or close
//   handling reaches a handler (a control's signal emitted from its input
//   handler, a window's Enter, Esc or close box, a Qt control's signal), that
//   call runs in runGuarded;
// - whatever else Qt delivers runs inside GuardedApplication::notify: timers
//   and queued calls such as the music's end notice, which the media back end
//   hands from its audio thread to the GUI thread. They come through Qt's
//   core library, which unwinds, and the plain delivery in between holds
//   nothing to clean up. The GUI tests start with this application object too;
// - what runs outside the event loop is wrapped in runGuarded by its caller:
//   the windows' creation sequences, run before the loop starts, and a test
//   that calls a handler directly.

// Shows what escaped a handler in the standard error box; the program goes on.
void reportEscapedException() noexcept;

// Runs a handler or creation sequence so that no exception leaves it.
template <typename Handler>
void runGuarded(Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        reportEscapedException();
    }
}

// The application object: every event Qt delivers runs inside the guard, so
// no exception crosses Qt's event loop (the input handlers catch their own).
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};
