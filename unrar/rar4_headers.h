#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zk::unrar {

// The raw fields of a RAR 4 file header, which libarchive does not pass on.
struct Rar4FileHeader {
    unsigned flags = 0;
    unsigned host = 0;
    std::uint32_t attr = 0;
    std::uint32_t packSize = 0;  // low 32 bits
    std::uint32_t unpSize = 0;   // low 32 bits
    std::uint32_t crc = 0;
    std::uint32_t time = 0;
    unsigned unpVer = 0;
    unsigned method = 0;
    bool folder = false;
};

// The file headers of one RAR 4 volume in order (a self-extracting stub before
// the marker allowed), leaving out the continuations of split files. Stops
// quietly at anything it does not understand, so the list may be short;
// empty for RAR 5 and for archives with encrypted headers.
std::vector<Rar4FileHeader> readRar4FileHeaders(const std::string& volumePath);

}  // namespace zk::unrar
