#include "widgets/modal_in_front.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <qpa/qplatformwindow.h>

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

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(u"wayland");
}

// A Wayland compositor may refuse a client's activation request (sway
// marks the window urgent instead) and restacks nothing for it, but it
// stacks a window that maps on top and activates it. So the modal window's
// native surface is unmapped and mapped anew; the widget and its modal
// loop never see it hidden.
void mapAnew(QWindow& window)
{
    QPlatformWindow* native = window.handle();
    native->setVisible(false);
    native->setVisible(true);
}

void bringModalWindowBack(QWindow* activated)
{
    QWindow* modal = QGuiApplication::modalWindow();
    if (!activated || !modal || isFreeOf(activated, modal))
        return;
    // After the activation at hand is through, or the window system would
    // settle on the window it activated. On Wayland the owner is also
    // activated for a moment when the window before the modal one closes or
    // the modal one unmaps, and the toolkit may learn of it only after the
    // modal window has the focus again: the check waits until that news is
    // in, or it would map the modal window anew again and again.
    const int settle = onWayland() ? 150 : 0;
    QTimer::singleShot(settle, modal, [modal = QPointer<QWindow>(modal)] {
        if (!modal || !modal->isVisible() || QGuiApplication::modalWindow() != modal)
            return;
        // The modal window may be active again by now.
        const QWindow* focus = QGuiApplication::focusWindow();
        if (!focus || isFreeOf(focus, modal))
            return;
        if (onWayland()) {
            mapAnew(*modal);
        } else {
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
