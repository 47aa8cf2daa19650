#include "widgets/window_centring.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

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
