#pragma once

// Writes RAR 4 archives whose entries are stored (not compressed), for tests
// and for the demo package. Names are given with "/" between folders; for a
// Windows host they are written with "\".

#include <cstdint>
#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace zk::rarwriter {

enum class Host : std::uint8_t { Windows = 2, Unix = 3 };

struct Entry {
    std::string name;
    std::string data; // a file's bytes, or a symbolic link's target
    bool isFolder = false;
    Host host = Host::Unix;
    // Attribute word as stored; empty means the host's usual one for a plain
    // file or folder (Unix 0100644 / 040755, Windows 0x20 / 0x10).
    std::optional<std::uint32_t> attr;
    std::uint32_t dosTime = 0; // DOS packed local date and time
    bool encrypted = false;    // sets the header's password flag only
};

// Attribute word of a Unix symbolic link of mode 777.
inline constexpr std::uint32_t kUnixSymlinkAttr = 0120777;

std::uint32_t defaultAttr(const Entry& entry);

// DOS packed local time of a Unix time; years before 1980 give 1980-01-01.
std::uint32_t dosTimeFromUnix(std::time_t t);

std::vector<std::uint8_t> buildArchive(const std::vector<Entry>& entries);

// Throws std::runtime_error when the file cannot be written.
void writeArchive(const std::string& path, const std::vector<Entry>& entries);

// The same entries as a volume set of at most `volumeSize` bytes per volume
// (the last one as small as its rest), files split across volumes where they
// do not fit. Throws std::runtime_error when one entry's header does not fit
// into an empty volume.
std::vector<std::vector<std::uint8_t>> buildVolumes(const std::vector<Entry>& entries,
                                                    std::size_t volumeSize);

// Writes the volumes as NAME.part1.rar, NAME.part2.rar ... (the number as
// wide as the count of volumes; NAME is `path` without ".rar") and answers
// their names, first to last.
std::vector<std::string> writeVolumes(const std::string& path, const std::vector<Entry>& entries,
                                      std::size_t volumeSize);

// Every file, folder and symbolic link below dir, names relative to dir,
// sorted, with each one's mode (Unix) or attribute word (Windows) and
// modification time. Throws std::runtime_error on a read failure.
std::vector<Entry> entriesFromDirectory(const std::string& dir, Host host);

} // namespace zk::rarwriter
