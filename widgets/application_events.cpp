#include "widgets/application_events.h"

#include "base/process_messages.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

bool isActingKey(const QKeyEvent& event, const QObject* receiver)
{
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Space: {
        // In a text field a space is text.
        const auto* widget = qobject_cast<const QWidget*>(receiver);
        return !widget || !widget->testAttribute(Qt::WA_InputMethodEnabled);
    }
    default:
        return false;
    }
}

class FreshKeyFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat())
                lastRelease_ = {key->key(), key->timestamp()};
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        return isActingKey(*key, receiver) && isRepeated(*key);
    }

private:
    // The X server repeats a held key as a release and a press with one
    // time stamp; the toolkit marks them as repeated when it sees both at
    // once, and a pair read apart is recognised here by that time stamp.
    bool isRepeated(const QKeyEvent& press) const
    {
        return press.isAutoRepeat() || (press.timestamp() != 0 && press.key() == lastRelease_.key &&
                                        press.timestamp() == lastRelease_.timestamp);
    }

    struct Release {
        int key = 0;
        quint64 timestamp = 0;
    } lastRelease_;
};

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

void InstallWindowMessageHook()
{
    SetProcessMessagesHook([] { QCoreApplication::processEvents(); });
}

void actOnFreshKeyPressesOnly(QCoreApplication& application)
{
    application.installEventFilter(new FreshKeyFilter(&application));
}

void keepModalWindowsInFront(QGuiApplication& application)
{
    QObject::connect(&application, &QGuiApplication::focusWindowChanged, &application,
                     &bringModalWindowBack);
}
