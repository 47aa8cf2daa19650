#include "widgets/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

void setOwnerWindow(QWidget& window, QWidget& owner)
{
    // The native windows are made now so the link exists before either is
    // first shown; a Wayland compositor reads it when the window maps.
    window.winId();
    owner.winId();
    window.windowHandle()->setTransientParent(owner.windowHandle());
}

void centreOnScreen(QWidget& window, const QScreen* screen, const QPoint& centre)
{
    if (screen)
        window.move(screen->availableGeometry().center() - centre);
}

QScreen* screenOfOwner(const QWidget& window)
{
    if (const QWindow* native = window.windowHandle(); native && native->transientParent())
        return native->transientParent()->screen();
    if (const QWidget* parent = window.parentWidget())
        return parent->window()->screen();
    return window.screen() ? window.screen() : QGuiApplication::primaryScreen();
}
