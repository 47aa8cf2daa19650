#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSocketNotifier;

// One running installer per user and installer folder. The first start
// listens on a local socket named after the user and the folder; a later
// start finds it there, asks it to come to the front and ends, so the user
// never gets a second identical window over the first.
class InstallerInstance : public QObject {
    Q_OBJECT
public:
    // `whenStartedAgain` runs in the running installer at each later start.
    InstallerInstance(const QString& folder, std::function<void()> whenStartedAgain);
    ~InstallerInstance() override;

    // True when another installer of this folder and user runs and was told
    // to come to the front; this start then ends.
    bool anotherIsRunning() const { return anotherIsRunning_; }

private:
    void takeLaterStart();

    bool anotherIsRunning_ = false;
    int listener_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> whenStartedAgain_;
};

// What a later start does to the running installer: its front window (the
// modal one when one is open, else the main window) is raised and activated,
// where the window system allows a program to do so.
void bringInstallerToFront();
