#include "dialogs/volume_check_task.h"

#include <utility>

VolumeCheckTask::VolumeCheckTask(Checker checker) : checker_(std::move(checker)) {}

VolumeCheckTask::~VolumeCheckTask()
{
    stop();
}

void VolumeCheckTask::setChecker(Checker checker)
{
    stop();
    checker_ = std::move(checker);
}

void VolumeCheckTask::start(const QString& archivePath)
{
    stop();
    worker_ = std::thread([this, archivePath] { run(archivePath); });
}

void VolumeCheckTask::stop()
{
    if (!worker_.joinable())
        return;
    {
        const std::lock_guard lock(mutex_);
        stopRequested_ = true;
    }
    worker_.join();
    const std::lock_guard lock(mutex_);
    stopRequested_ = false;
    progress_ = Progress();
    outcome_.reset();
}

void VolumeCheckTask::run(const QString& archivePath)
{
    const VolumeCheck outcome =
        checker_(archivePath, [this](const QString& name, qint64 done, qint64 total) {
            const std::lock_guard lock(mutex_);
            progress_ = Progress{name, done, total};
            return !stopRequested_;
        });
    {
        const std::lock_guard lock(mutex_);
        outcome_ = outcome;
    }
    ended_.notify_all();
}

std::optional<VolumeCheck> VolumeCheckTask::waitFor(std::chrono::milliseconds wait)
{
    std::unique_lock lock(mutex_);
    ended_.wait_for(lock, wait, [this] { return outcome_.has_value(); });
    return outcome_;
}

VolumeCheckTask::Progress VolumeCheckTask::progress() const
{
    const std::lock_guard lock(mutex_);
    return progress_;
}
