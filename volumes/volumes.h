#pragma once

#include "volumes/mount_table.h"

#include <QString>

#include <functional>
#include <vector>

enum class VolumeKind { vkDisk, vkOptical, vkNetwork };

// One mounted volume as the drive list offers it.
struct Volume {
    QString root;   // mount point
    QString label;  // may be empty
    QString source; // where a network volume comes from
    VolumeKind kind = VolumeKind::vkDisk;
};

// Whether a user would install to the mount: not a kernel or memory file
// system of the system's own, not a snap or other read-only package image.
bool IsOffered(const Mount& mount);

// The volume a mount stands for; `labelOf` reads a device's label.
using LabelReader = std::function<QString(const QString& device)>;
Volume VolumeOfMount(const Mount& mount, const LabelReader& labelOf);

// The offered volumes among the mounts, one per mount point (the topmost
// mount), sorted by mount point. Mount points that are not folders (single
// files bound into place) are left out.
std::vector<Volume> OfferedVolumes(const std::vector<Mount>& mounts, const LabelReader& labelOf);

// The drive list's text for a volume: the mount point, then the label in
// brackets or the network source, nothing cut.
QString EntryText(const Volume& volume);
