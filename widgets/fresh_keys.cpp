#include "widgets/fresh_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

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

} // namespace

void actOnFreshKeyPressesOnly(QCoreApplication& application)
{
    application.installEventFilter(new FreshKeyFilter(&application));
}
