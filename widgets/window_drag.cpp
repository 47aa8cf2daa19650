#include "widgets/window_drag.h"

#include <QMouseEvent>
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

void letWindowBeDraggedBy(QWidget& handle)
{
    handle.installEventFilter(new WindowDragFilter(&handle));
}
