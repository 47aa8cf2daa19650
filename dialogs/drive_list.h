#pragma once

#include "volumes/volumes.h"

#include <QComboBox>
#include <QString>

#include <vector>

// The offered volumes of the current mount table with their labels, sorted
// by mount point; the volume of `folder` is always among them.
std::vector<Volume> MountedVolumes(const QString& folder);

// The mount point of the volume that holds a folder.
QString VolumeRootOf(const QString& folder);

// The drive list: one entry per volume with a picture for its kind, its
// full mount point as the entry's hint. It selects the volume of the current
// directory at creation and notifies a change only when the user picks a
// different volume. The closed list shortens a long entry in the middle;
// the open list is as wide as its longest entry.
class TDriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDriveComboBox(QWidget* parent);

    // The mount point of the selected volume.
    QString Drive() const { return drive_; }
    // Selects the volume at `root` without notifying a change, adding an
    // entry when the list has none for it.
    void ShowVolume(const QString& root);

    void showPopup() override;

signals:
    void Change();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void addVolume(const Volume& volume, int index);
    void select(int index);
    void picked(int index);

    QString drive_;
};
