#pragma once

#include "unrar/stored_header.h"

#include <string>
#include <vector>

namespace zk::unrar {

// The file headers of one RAR 4 volume in order (a self-extracting stub before
// the marker allowed), the continuations of split files marked as such.
// Stops quietly at anything it does not understand, so the list may be short;
// empty for RAR 5 and for archives with encrypted headers.
std::vector<StoredFileHeader> readRar4FileHeaders(const std::string& volumePath);

}  // namespace zk::unrar
