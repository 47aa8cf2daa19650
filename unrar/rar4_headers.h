#pragma once

#include "unrar/stored_header.h"

#include <string>
#include <vector>

namespace zk::unrar {

// The headers of one RAR 4 volume, as far as they are intact.
struct Rar4Volume {
    // File headers in order, the continuations of split files marked as such.
    std::vector<StoredFileHeader> files;
    // The walk reached an end block or, as older archives end, the file's
    // end exactly; false for a cut or damaged volume.
    bool endsCleanly = false;
};

// Walks one RAR 4 volume's headers (a self-extracting stub before the marker
// allowed). Stops quietly at anything it does not understand, so the list may
// be short; empty for RAR 5 and for archives with encrypted headers.
Rar4Volume readRar4Headers(const std::string& volumePath);

} // namespace zk::unrar
