#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

// One line of the kernel's mount table.
struct Mount {
    QString mountPoint;
    QString fsType;
    QString source; // device, "server:/export", "//server/share", ...
};

// The mounts described by /proc/self/mountinfo text, in the table's order
// (a later mount at the same place lies on top of an earlier one). Lines
// that do not have the table's shape are skipped.
std::vector<Mount> ParseMountInfo(const QByteArray& text);

// Where the mount table is read from; tests put their own text in place. An
// empty function restores /proc/self/mountinfo.
using MountInfoSource = std::function<QByteArray()>;
void SetMountInfoSource(MountInfoSource source);
std::vector<Mount> CurrentMounts();

// The mount that holds a folder (an absolute path without "." or ".."
// parts): the one with the longest mount point above it, the topmost one
// where several share that place. Null when the table has none.
const Mount* MountOf(const std::vector<Mount>& mounts, const QString& folder);
