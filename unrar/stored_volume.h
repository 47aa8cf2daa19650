#pragma once

#include "unrar/stored_header.h"

#include <vector>

namespace zk::unrar {

// The headers of one volume, RAR 4 or RAR 5, as far as they are intact.
struct StoredVolume {
    bool found = false; // the format's marker was found (after a stub, perhaps)
    // File headers in order, the continuations of split files marked as such.
    std::vector<StoredFileHeader> files;
    bool headersEncrypted = false; // nothing after the marker can be read
    // The walk reached an end block (that, in RAR 5, announces no further
    // volume) or, as older RAR 4 archives end, the file's end exactly; false
    // for a cut or damaged volume.
    bool endsCleanly = false;
};

} // namespace zk::unrar
