#include "widgets/message_box.h"

#include "widgets/app_title.h"

#include <QApplication>

namespace {

class QtMessageBoxPresenter final : public MessageBoxPresenter {
public:
    QMessageBox::StandardButton show(const QString& text, const QString& caption,
                                     QMessageBox::Icon icon,
                                     QMessageBox::StandardButtons buttons) override
    {
        QMessageBox box(icon, caption, text, buttons, QApplication::activeWindow());
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
