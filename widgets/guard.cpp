#include "widgets/guard.h"

#include "widgets/message_box.h"

#include <exception>

void reportEscapedException() noexcept
{
    try {
        try {
            throw;
        } catch (const std::exception& error) {
            showStandardError(QString::fromUtf8(error.what()));
        } catch (...) {
            showStandardError(QStringLiteral("Unknown error"));
        }
    } catch (...) {
        // Showing the box itself failed; there is nobody left to tell.
    }
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    runGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
