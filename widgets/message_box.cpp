#include "widgets/message_box.h"

#include "widgets/app_title.h"
#include "widgets/window_controls.h"

#include <QApplication>

namespace {

// The window a box belongs to: the modal window in front, else the active
// one, else the program's visible window. The box stands centred over it.
// Right after a dialog closes, the window system may not yet have made the
// window below active again: a hidden window does not count, and among the
// visible ones the main window comes before any other, whatever order the
// toolkit lists them in.
QWidget* ownerWindow()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible())
        return active;
    QWidget* other = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = window->windowType();
        if (!window->isVisible() || type == Qt::ToolTip || type == Qt::Popup)
            continue;
        if (type == Qt::Window)
            return window;
        other = other ? other : window;
    }
    return other;
}

// A box that stands centred over its owner. The box takes its final size
// only as it is shown, after the dialog's own placement, so it is placed
// again then, before it reaches the screen.
class CentredMessageBox final : public QMessageBox {
public:
    CentredMessageBox(Icon icon, const QString& caption, const QString& text,
                      StandardButtons buttons, QWidget* owner)
        : QMessageBox(icon, caption, text, buttons, owner)
    {
        closeOnAltF4(*this);
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        if (const QWidget* owner = parentWidget()) {
            const QSize frame = frameGeometry().size();
            move(owner->window()->frameGeometry().center() -
                 QPoint(frame.width() / 2, frame.height() / 2));
        }
    }
};

class QtMessageBoxPresenter final : public MessageBoxPresenter {
public:
    QMessageBox::StandardButton show(const QString& text, const QString& caption,
                                     QMessageBox::Icon icon,
                                     QMessageBox::StandardButtons buttons) override
    {
        CentredMessageBox box(icon, caption, text, buttons, ownerWindow());
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }
};

QtMessageBoxPresenter qtPresenter;
MessageBoxPresenter* currentPresenter = &qtPresenter;

} // namespace

MessageBoxPresenter& messageBoxes()
{
    return *currentPresenter;
}

void setMessageBoxPresenter(MessageBoxPresenter* presenter)
{
    currentPresenter = presenter ? presenter : &qtPresenter;
}

QString standardErrorText(const QString& message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void showStandardError(const QString& message)
{
    messageBoxes().show(standardErrorText(message), applicationTitle(), QMessageBox::Critical,
                        QMessageBox::Ok);
}

void showErrorBox(const QString& text)
{
    messageBoxes().show(text, QStringLiteral("Error"), QMessageBox::Critical, QMessageBox::Ok);
}

void showInformationBox(const QString& text)
{
    messageBoxes().show(text, applicationTitle(), QMessageBox::NoIcon, QMessageBox::Ok);
}
