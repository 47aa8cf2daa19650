#pragma once

#include <cstddef>
#include <cstdint>

namespace zk::unrar {

// How far back from a volume's end its end-of-archive block is looked for.
inline constexpr std::size_t kEndBlockSearch = 512;

// Whether the end-of-archive block at the very end of `tail` (the last bytes
// of a volume, RAR 4 or RAR 5) says that another volume follows. False when
// no intact end block is found there (zero padding after it allowed).
bool endBlockAnnouncesNextVolume(const std::uint8_t* tail, std::size_t size);

} // namespace zk::unrar
