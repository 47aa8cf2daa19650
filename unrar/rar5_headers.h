#pragma once

#include "unrar/stored_volume.h"

#include <string>

namespace zk::unrar {

// Walks the volume's header chain, checking each header's CRC and bounding
// every size by the file's; stops at the first header that does not fit.
StoredVolume readRar5Headers(const std::string& volumePath);

} // namespace zk::unrar
