#pragma once

#include <string>

// How a RAR volume ends, read from the file itself: an incomplete download
// or copy is told from a whole archive before anything is installed.
//
// Every RAR 5 volume ends with an end-of-archive header; RAR 4 archivers from
// 3.0 on end every volume with an end-of-archive block. Either carries a flag
// when another volume follows. Archives written before RAR 3.0 have no end
// block: one is taken as whole when its blocks reach exactly the end of the
// file and none of its headers carries a mark that only 3.0 and later write.
// In a self-extracting program the end record may be followed by the
// program's signature.
enum class VolumeEnding {
    Last,              // the end record of the archive's last volume
    LastWithoutRecord, // a whole RAR 4 archive from an archiver before 3.0
    MoreVolumes,       // an end record that announces the next volume
    Cut,               // no end record where the format requires one
    Unreadable,        // encrypted headers (the end record is encrypted too), or no RAR marker
};

// `endRecordRequired`: the set's first volume showed that its archiver writes
// end records, so a later volume without one is cut whatever its headers say.
VolumeEnding ReadVolumeEnding(const std::string& volumePath, bool endRecordRequired);
