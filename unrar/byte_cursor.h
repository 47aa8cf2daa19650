#pragma once

#include "base/little_endian.h"

#include <cstddef>
#include <cstdint>

namespace zk::unrar {

// Little-endian numbers and variable-length integers from a byte range; any
// read past its end fails, so a header shorter than its fields is never read
// beyond its own bytes.
class ByteCursor {
public:
    ByteCursor(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}

    bool vint(std::uint64_t& value)
    {
        value = 0;
        for (unsigned shift = 0; shift < 64 && p_ < end_; shift += 7) {
            const std::uint8_t byte = *p_++;
            value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0)
                return true;
        }
        return false;
    }
    bool u8(std::uint8_t& value)
    {
        return number(value, [](const std::uint8_t* p) { return *p; });
    }
    bool u16(std::uint16_t& value) { return number(value, ReadLe16); }
    bool u32(std::uint32_t& value) { return number(value, ReadLe32); }
    bool bytes(std::uint64_t size, const std::uint8_t*& out)
    {
        if (size > left())
            return false;
        out = p_;
        p_ += size;
        return true;
    }
    std::size_t left() const { return static_cast<std::size_t>(end_ - p_); }

private:
    template <typename Number, typename Read>
    bool number(Number& value, Read read)
    {
        const std::uint8_t* p = nullptr;
        if (!bytes(sizeof value, p))
            return false;
        value = read(p);
        return true;
    }

    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

} // namespace zk::unrar
