#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// What the file system tells about the volume that holds a folder.
struct VolumeSpace {
    uint64_t freeBytes = 0; // available to the user
    bool readOnly = false;
};

// Asks the volume of a folder; nullopt when it cannot be asked.
using FreeSpaceSource = std::function<std::optional<VolumeSpace>(const QString& folder)>;

// statvfs: blocks available to the user times the fragment size, and the
// mount's read-only flag.
std::optional<VolumeSpace> StatvfsSpace(const QString& folder);
// The source the install directory dialog asks; tests put their own in
// place. An empty function restores the real one.
void SetFreeSpaceSource(FreeSpaceSource source);
std::optional<VolumeSpace> SpaceOfVolume(const QString& folder);
// Whole megabytes of 1,000,000 bytes that can be written: an unknown figure
// and a read-only volume count as 0.
uint64_t FreeMegabytes(const std::optional<VolumeSpace>& space);
