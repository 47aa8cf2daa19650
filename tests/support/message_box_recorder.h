#pragma once

#include "widgets/message_box.h"

#include <QString>
#include <vector>

// Stands in for Qt's message boxes in tests: records every box and answers at
// once with a scripted button (OK unless told otherwise).
class MessageBoxRecorder final : public MessageBoxPresenter {
public:
    struct Box {
        QString text;
        QString caption;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
    };

    MessageBoxRecorder() { setMessageBoxPresenter(this); }
    ~MessageBoxRecorder() override { setMessageBoxPresenter(nullptr); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    QMessageBox::StandardButton show(const QString& text, const QString& caption,
                                     QMessageBox::Icon icon,
                                     QMessageBox::StandardButtons buttons) override
    {
        boxes.push_back({text, caption, icon, buttons});
        return answer;
    }

    std::vector<Box> boxes;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
};
