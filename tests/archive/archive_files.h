#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Builders of the files that detection tests feed to the component.
namespace archive_files {

using Bytes = std::vector<uint8_t>;

Bytes FromText(const std::string& text);
void Append(Bytes& to, const Bytes& what);
void PutLe16(Bytes& to, size_t at, uint16_t value);
void PutLe32(Bytes& to, size_t at, uint32_t value);

// An old-style executable whose header says its image ends at imageEnd; the
// image is padded with zero bytes up to there.
Bytes OldStyleExecutable(uint32_t imageEnd);

// A PE image whose string table holds strings[i] as id i (ids 0 to 15).
Bytes ExecutableWithStrings(const std::vector<std::string>& strings);

// A stored ZIP with one entry whose central directory offset counts from
// base: the ZIP's position in the file, or 0 for an offset relative to the ZIP.
Bytes ZipArchive(uint32_t base);

// A TAR header block with a valid checksum (a volume header for "V").
Bytes TarHeader(char typeFlag = '0');

// Writes bytes to file, making its folders; answers the file's path.
std::string WriteBytes(const std::filesystem::path& file, const Bytes& bytes);

} // namespace archive_files
