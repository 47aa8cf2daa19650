#include "dialogs/drive_list.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace {

VolumeSource& volumeSource()
{
    static VolumeSource current = MountedVolumes;
    return current;
}

// Block-device file systems are real ones; kernel and memory file systems
// (proc, sysfs, cgroup, tmpfs, ...) are not offered, nor are single-file
// bind mounts.
bool isRealVolume(const QStorageInfo& storage)
{
    return storage.isValid() && storage.isReady() && storage.device().startsWith("/dev/") &&
           QFileInfo(storage.rootPath()).isDir();
}

QString entryText(const Volume& volume)
{
    if (volume.label.isEmpty())
        return volume.root;
    return QStringLiteral("%1 [%2]").arg(volume.root, volume.label.toLower());
}

} // namespace

QString VolumeRootOf(const QString& folder)
{
    return QStorageInfo(folder).rootPath();
}

std::vector<Volume> MountedVolumes()
{
    std::vector<Volume> volumes;
    const QString current = VolumeRootOf(QDir::currentPath());
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        if (isRealVolume(storage) || storage.rootPath() == current)
            volumes.push_back({storage.rootPath(), storage.name()});
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const Volume& a, const Volume& b) { return a.root < b.root; });
    volumes.erase(std::unique(volumes.begin(), volumes.end(),
                              [](const Volume& a, const Volume& b) { return a.root == b.root; }),
                  volumes.end());
    return volumes;
}

void SetVolumeSource(VolumeSource source)
{
    volumeSource() = source ? std::move(source) : VolumeSource(MountedVolumes);
}

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent)
{
    const QString current = VolumeRootOf(QDir::currentPath());
    for (const Volume& volume : volumeSource()()) {
        addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), entryText(volume), volume.root);
        if (volume.root == current)
            setCurrentIndex(count() - 1);
    }
    drive_ = currentData().toString();
    connect(this, &QComboBox::activated, this, &TDriveComboBox::picked);
}

void TDriveComboBox::picked(int index)
{
    const QString root = itemData(index).toString();
    if (root == drive_)
        return;
    drive_ = root;
    emit Change();
}
