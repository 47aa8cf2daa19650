#pragma once

#include <QApplication>

#include <utility>

// Shows what escaped a handler in the standard error box; the program goes on.
void reportEscapedException() noexcept;

// Runs a handler or creation sequence so that no exception leaves it: an
// escaped error ends the handler and is shown in the standard error box.
template <typename Handler>
void runGuarded(Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        reportEscapedException();
    }
}

// The application object: every event Qt delivers, and with it every handler
// bound to a control, runs inside the guard, so no exception crosses Qt's
// event loop.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};
