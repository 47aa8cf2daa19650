#pragma once

#include <cstdint>
#include <functional>
#include <optional>

// Bytes free to the user on the volume of the process's current directory;
// nullopt when the volume cannot be asked.
using FreeSpaceSource = std::function<std::optional<uint64_t>()>;

// statvfs of ".": blocks available to the user times the fragment size.
std::optional<uint64_t> StatvfsFreeBytes();
// The source the install directory dialog asks; tests put their own in
// place. An empty function restores the real one.
void SetFreeSpaceSource(FreeSpaceSource source);
std::optional<uint64_t> FreeBytesOfCurrentVolume();
// Whole megabytes of 1,000,000 bytes; an unknown figure counts as 0.
uint64_t FreeMegabytes(std::optional<uint64_t> bytes);
