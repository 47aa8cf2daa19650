#pragma once

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <utility>

// Drives windows as a user would, through the application's event delivery,
// so handlers run inside the guard and unhandled moves reach the background.
namespace driver {

inline void sendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button)
{
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A pointer move over the middle of a control.
inline void hover(QWidget* target)
{
    sendMouse(target, QEvent::MouseMove, target->rect().center(), Qt::NoButton);
}

// A pointer move over the window at a point where no control lies.
inline void hoverAt(QWidget* window, QPoint at)
{
    sendMouse(window, QEvent::MouseMove, at, Qt::NoButton);
}

inline void click(QWidget* target)
{
    sendMouse(target, QEvent::MouseButtonPress, target->rect().center(), Qt::LeftButton);
    sendMouse(target, QEvent::MouseButtonRelease, target->rect().center(), Qt::LeftButton);
}

// Alt+F4 on a window once it is the active one, as window shortcuts need;
// false when it never became active.
inline bool altF4(QWidget* window)
{
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return false;
    QTest::keyClick(window, Qt::Key_F4, Qt::AltModifier);
    return true;
}

// Shows a dialog modally and runs `user` once its loop is running; answers the
// modal result. A dialog still open after `user` is closed with -1, so a
// test that fails never hangs.
inline int runModal(QDialog* dialog, std::function<void()> user)
{
    auto showing = std::make_shared<bool>(true);
    QTimer::singleShot(0, dialog, [dialog, user = std::move(user), showing] {
        user();
        QTimer::singleShot(0, dialog, [dialog, showing] {
            if (*showing && dialog->isVisible())
                dialog->done(-1);
        });
    });
    const int result = dialog->exec();
    *showing = false;
    return result;
}

// A temporary folder, and the current directory put back afterwards.
class ScratchFolder {
public:
    ScratchFolder() : previous_(QDir::currentPath()) {}
    ~ScratchFolder() { QDir::setCurrent(previous_); }
    QString path() const { return QDir(dir_.path()).canonicalPath(); }
    QString make(const QString& relative) const
    {
        QDir(path()).mkpath(relative);
        return QDir(path()).filePath(relative);
    }

private:
    QString previous_;
    QTemporaryDir dir_;
};

} // namespace driver
