#pragma once

#include <QMessageBox>
#include <QString>

// Every message box the program shows goes through one presenter, so tests can
// put a recorder in place of Qt's boxes and assert the exact texts.
class MessageBoxPresenter {
public:
    virtual ~MessageBoxPresenter() = default;
    // Shows a modal box and answers the button the user chose.
    virtual QMessageBox::StandardButton show(const QString& text, const QString& caption,
                                             QMessageBox::Icon icon,
                                             QMessageBox::StandardButtons buttons) = 0;
};

// The presenter in use; Qt's own boxes unless a test installed another.
MessageBoxPresenter& messageBoxes();
// Installs a presenter (not owned); nullptr restores Qt's boxes.
void setMessageBoxPresenter(MessageBoxPresenter* presenter);

// The application's standard error box: the message with a full stop added
// when its last character sorts after ".", the application title as caption,
// the error icon and OK.
void showStandardError(const QString& message);
// The standard error box's text for a message.
QString standardErrorText(const QString& message);

// The program's own error box: caption "Error", error icon, OK.
void showErrorBox(const QString& text);
// The program's information box: the application title as caption, no icon, OK.
void showInformationBox(const QString& text);
