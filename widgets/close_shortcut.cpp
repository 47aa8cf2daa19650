#include "widgets/close_shortcut.h"

#include <QShortcut>
#include <QWidget>

void closeOnAltF4(QWidget& window)
{
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), &window);
    shortcut->setContext(Qt::WindowShortcut);
    // Held down, the key would close this window and then the next.
    shortcut->setAutoRepeat(false);
    QObject::connect(shortcut, &QShortcut::activated, &window, &QWidget::close);
}
