#include "widgets/modal_in_front.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace {

// A window the modal window leaves free: itself, what it opened (a list's
// popup, a box above it) and hints.
bool isFreeOf(const QWindow* window, const QWindow* modal)
{
    if (window->type() == Qt::Popup || window->type() == Qt::ToolTip)
        return true;
    for (const QWindow* step = window; step; step = step->transientParent())
        if (step == modal)
            return true;
    return false;
}

void bringModalWindowBack(QWindow* activated)
{
    QWindow* modal = QGuiApplication::modalWindow();
    if (!activated || !modal || isFreeOf(activated, modal))
        return;
    // After the activation at hand is through, or the window system would
    // settle on the window it activated.
    QTimer::singleShot(0, modal, [modal = QPointer<QWindow>(modal)] {
        if (modal && modal->isVisible() && QGuiApplication::modalWindow() == modal) {
            modal->raise();
            modal->requestActivate();
        }
    });
}

} // namespace

void keepModalWindowsInFront(QGuiApplication& application)
{
    QObject::connect(&application, &QGuiApplication::focusWindowChanged, &application,
                     &bringModalWindowBack);
}
