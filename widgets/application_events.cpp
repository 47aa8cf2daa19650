#include "widgets/application_events.h"

#include "base/process_messages.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformwindow.h>

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
