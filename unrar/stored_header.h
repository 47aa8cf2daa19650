#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace zk::unrar {

// What an archive's own file header says about one entry, read beside
// libarchive: the fields libarchive does not pass on, and the checksum the
// extracted data must match.
struct StoredFileHeader {
    std::string name;   // RAR 5 only (UTF-8); empty where not read
    unsigned flags = 0; // RHDF_* flags
    unsigned host = 0;  // RAR_HOST_*
    std::uint32_t attr = 0;
    std::optional<std::uint32_t> dosTime;
    std::uint64_t packSize = 0;
    std::uint64_t unpSize = 0;
    std::optional<std::uint32_t> crc;
    std::optional<std::array<std::uint8_t, 32>> blake2sp;
    unsigned unpVer = 0;
    unsigned method = 0;
    bool folder = false;
    // A later part of a file split across volumes; the last part's checksum
    // is the whole file's.
    bool continuation = false;
    // False while parts of a split file are still to come.
    bool complete = true;
};

} // namespace zk::unrar
