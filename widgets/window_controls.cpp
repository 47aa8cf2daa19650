#include "widgets/window_controls.h"

#include <QMouseEvent>
#include <QShortcut>
#include <QWidget>
#include <QWindow>

namespace {

class WindowDragFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            if (QWindow* window = static_cast<QWidget*>(watched)->window()->windowHandle())
                window->startSystemMove();
        }
        return false;
    }
};

} // namespace

void closeOnAltF4(QWidget& window)
{
    auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), &window);
    shortcut->setContext(Qt::WindowShortcut);
    // Held down, the key would close this window and then the next.
    shortcut->setAutoRepeat(false);
    QObject::connect(shortcut, &QShortcut::activated, &window, &QWidget::close);
}

void letWindowBeDraggedBy(QWidget& handle)
{
    handle.installEventFilter(new WindowDragFilter(&handle));
}
