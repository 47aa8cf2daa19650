#include "widgets/window_owner.h"

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
