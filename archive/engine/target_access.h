#pragma once

#include <cstdint>
#include <string>

// Whether anything at all can be written below the chosen target folder, asked
// once before a run writes its first entry: a read-only volume (a DVD image,
// a share mounted read-only) or a folder the user may not write to fails
// every entry alike, so the run names that cause once instead.

// 0 when the target folder, or the existing folder it would be made in, can
// be written to; otherwise the message number of the cause: "File is
// read-only" on a read-only volume, "Error creating dir" when the folder
// cannot be written to or something other than a folder stands in its way.
int32_t TargetRefusal(const std::string& extractDir);

// A write below the target failed because the volume it went to is read-only
// (the failing call said so, or the volume is mounted read-only now).
bool OnReadOnlyVolume(const std::string& destination, int writeErrno);
