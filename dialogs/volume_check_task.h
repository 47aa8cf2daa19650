#pragma once

#include "dialogs/volume_record.h"

#include <QString>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// The check of an archive's recorded volumes, run on a thread of its own from
// the moment the extraction window opens: while the user reads the window the
// volumes are read and hashed, and at Extract only what is left of the check
// is waited for. The check only reads; nothing is written before its outcome.
class VolumeCheckTask {
public:
    using Checker =
        std::function<VolumeCheck(const QString& archivePath, const VolumeCheckProgress& progress)>;
    struct Progress {
        QString name; // the volume being read, empty before the first
        qint64 done = 0;
        qint64 total = 0;
    };

    explicit VolumeCheckTask(Checker checker = CheckRecordedVolumes);
    ~VolumeCheckTask();
    VolumeCheckTask(const VolumeCheckTask&) = delete;
    VolumeCheckTask& operator=(const VolumeCheckTask&) = delete;

    // Stops a check under way; the checks from now on use `checker`.
    void setChecker(Checker checker);
    // Starts checking the volumes recorded beside `archivePath`, after
    // stopping a check under way.
    void start(const QString& archivePath);
    // Stops the check under way and forgets its outcome.
    void stop();
    bool started() const { return worker_.joinable(); }

    // The outcome, once the check has ended within `wait`.
    std::optional<VolumeCheck> waitFor(std::chrono::milliseconds wait);
    Progress progress() const;

private:
    void run(const QString& archivePath);

    Checker checker_;
    std::thread worker_;
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    bool stopRequested_ = false;
    Progress progress_;
    std::optional<VolumeCheck> outcome_;
};
