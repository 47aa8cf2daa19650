#include "widgets/window_centring.h"

#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget& window, const QScreen* screen, const QPoint& centre)
{
    if (screen)
        window.move(screen->availableGeometry().center() - centre);
}
