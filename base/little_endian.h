#pragma once

#include <cstdint>

// Numbers stored least significant byte first, as the archive and executable
// formats keep them. Callers check that the bytes are there.

inline std::uint16_t ReadLe16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t ReadLe32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(ReadLe16(p)) |
           (static_cast<std::uint32_t>(ReadLe16(p + 2)) << 16);
}

inline void WriteLe16(std::uint8_t* p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void WriteLe32(std::uint8_t* p, std::uint32_t value)
{
    WriteLe16(p, static_cast<std::uint16_t>(value));
    WriteLe16(p + 2, static_cast<std::uint16_t>(value >> 16));
}
