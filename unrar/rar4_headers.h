#pragma once

#include "unrar/stored_volume.h"

#include <string>

namespace zk::unrar {

// Walks one RAR 4 volume's headers (a self-extracting stub before the marker
// allowed), checking each file header's CRC and reading every field through
// the header's own bounds. Stops quietly at anything it does not understand,
// so the list may be short; nothing is found for RAR 5, and the list is empty
// for archives with encrypted headers.
StoredVolume readRar4Headers(const std::string& volumePath);

} // namespace zk::unrar
