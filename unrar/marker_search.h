#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>

namespace zk::unrar {

// Offset just past the first `marker` within the file's first megabyte (a
// self-extracting stub may come before it), or -1 when there is none.
std::streamoff offsetAfterMarker(std::ifstream& file, const std::uint8_t* marker, std::size_t size);

} // namespace zk::unrar
