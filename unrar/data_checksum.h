#pragma once

#include "unrar/stored_header.h"

#include <blake2.h>

#include <cstddef>
#include <cstdint>

namespace zk::unrar {

// The checksums of an entry's data as it is extracted, compared at the end
// with the ones its stored header carries: CRC32, or BLAKE2sp for RAR 5
// entries that carry that instead, and the unpacked size.
class DataChecksum {
public:
    // A file split across volumes may show its hash only in its last part.
    explicit DataChecksum(bool withBlake2sp);

    // Adds a block that starts at `offset`; a gap before it counts as zeros.
    void add(const void* data, std::size_t size, std::uint64_t offset);
    bool matches(const StoredFileHeader& header) const;

private:
    void addBytes(const std::uint8_t* data, std::size_t size);

    bool withBlake2sp_;
    std::uint32_t crc_ = 0;
    blake2sp_state blake2sp_{};
    std::uint64_t size_ = 0;
};

} // namespace zk::unrar
