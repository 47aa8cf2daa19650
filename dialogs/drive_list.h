#pragma once

#include <QComboBox>
#include <QString>

#include <functional>
#include <vector>

// One mounted volume as the drive list offers it.
struct Volume {
    QString root;   // mount point
    QString label;  // may be empty
};

// The mounted real file systems, sorted by mount point; the volume of the
// current directory is always among them.
std::vector<Volume> MountedVolumes();
// Where the drive list takes its volumes from; tests put their own list in
// place. An empty function restores MountedVolumes.
using VolumeSource = std::function<std::vector<Volume>()>;
void SetVolumeSource(VolumeSource source);

// The mount point of the volume that holds a folder.
QString VolumeRootOf(const QString& folder);

// The drive list: one entry per volume, shown as its mount point and label.
// It selects the volume of the current directory at creation and notifies a
// change only when the user picks a different volume.
class TDriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDriveComboBox(QWidget* parent);

    // The mount point of the selected volume.
    QString Drive() const { return drive_; }

signals:
    void Change();

private:
    void picked(int index);

    QString drive_;
};
