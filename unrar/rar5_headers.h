#pragma once

#include "unrar/stored_header.h"

#include <string>
#include <vector>

namespace zk::unrar {

// The headers of one RAR 5 volume, as far as they are intact.
struct Rar5Volume {
    bool found = false; // a RAR 5 marker was found (after a stub, perhaps)
    // File headers in order, the continuations of split files marked as such.
    std::vector<StoredFileHeader> files;
    bool headersEncrypted = false; // nothing after the marker can be read
    bool endFound = false;         // an intact end-of-archive block was reached
    bool moreVolumes = false;      // ... and it announces another volume
};

// Walks the volume's header chain, checking each header's CRC and bounding
// every size by the file's; stops at the first header that does not fit.
Rar5Volume readRar5Headers(const std::string& volumePath);

} // namespace zk::unrar
