#pragma once

#include <cstdint>
#include <string>

// What already stands in the target folder on an entry's way. The library
// follows links when it writes, so a link left in the target (by an earlier
// install, by the user, by anyone who could write there) would carry the
// write outside the target or onto another file.

// Removes every symbolic link at one of the destination's folders below
// `extractDir` and at the destination itself, and a file at the destination
// that has other hard links; the library then makes a folder or a new file
// in its place. `extractDir` itself is the user's choice and stays as it is.
// False when such a link cannot be removed.
bool ClearLinksOnTheWay(const std::string& extractDir, const std::string& destination);

// The longest name part found in the destination below `extractDir` is
// longer than the target's file system takes.
bool HasOverlongNamePart(const std::string& extractDir, const std::string& destination);

// Whether what the library reported as written is there: a link for a link
// entry, otherwise a regular file, of the entry's size when `size` is given.
bool EntryWritten(const std::string& destination, bool link, const uint64_t* size);

// A write to the folder holding `destination` failed for want of space: the
// failing call's error number says so, or the volume has less room left than
// the entry needs.
bool VolumeFull(const std::string& destination, uint64_t entrySize, int writeErrno);
