#include "unrar/data_checksum.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace zk::unrar {

DataChecksum::DataChecksum(bool withBlake2sp) : withBlake2sp_(withBlake2sp)
{
    if (withBlake2sp_)
        blake2sp_init(&blake2sp_, 32);
}

void DataChecksum::add(const void* data, std::size_t size, std::uint64_t offset)
{
    static const std::array<std::uint8_t, 4096> zeros{};
    while (size_ < offset) {
        const auto gap =
            static_cast<std::size_t>(std::min<std::uint64_t>(offset - size_, zeros.size()));
        addBytes(zeros.data(), gap);
    }
    addBytes(static_cast<const std::uint8_t*>(data), size);
}

void DataChecksum::addBytes(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return;
    crc_ = static_cast<std::uint32_t>(crc32_z(crc_, data, size));
    if (withBlake2sp_)
        blake2sp_update(&blake2sp_, data, size);
    size_ += size;
}

bool DataChecksum::matches(const StoredFileHeader& header) const
{
    if (size_ != header.unpSize || (header.crc && *header.crc != crc_))
        return false;
    if (!header.blake2sp)
        return true;
    if (!withBlake2sp_)
        return false;
    blake2sp_state state = blake2sp_;
    std::array<std::uint8_t, 32> digest{};
    blake2sp_final(&state, digest.data(), digest.size());
    return digest == *header.blake2sp;
}

} // namespace zk::unrar
