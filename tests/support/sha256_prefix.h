#pragma once

#include <nettle/sha2.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// The first 16 hexadecimal digits of a file's SHA-256, as the sample
// archives' README lists them; empty when the file cannot be read.
inline std::string sha256Prefix(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    sha256_ctx context;
    sha256_init(&context);
    std::vector<char> block(1 << 16);
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0)
        sha256_update(&context, static_cast<size_t>(in.gcount()),
                      reinterpret_cast<const uint8_t*>(block.data()));
    uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&context, sizeof digest, digest);
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (size_t i = 0; i < 8; ++i) {
        hex += digits[digest[i] >> 4];
        hex += digits[digest[i] & 15];
    }
    return hex;
}
