#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One entry of the archive as the bound RAR library reads it.
struct ArchiveEntry {
    QString name; // as stored, "/" between folders
    bool folder = false;
    // A symbolic link or junction, and where it points; the target is empty
    // when the library reports none and would not write the link either.
    bool link = false;
    QString linkTarget;
    // A hard link or file copy names another entry, kept in linkTarget.
    bool reference = false;
    // The mode bits of an archive made on Unix; none from other systems.
    std::optional<std::uint32_t> unixMode;
    std::uint64_t size = 0;
    bool encrypted = false;
    int result = 0; // the library's answer for the entry's data (0: intact)
};

struct ArchiveContents {
    std::vector<ArchiveEntry> entries;
    // ERAR_SUCCESS when every header was read to the end of the archive,
    // otherwise the open or header result that ended the walk.
    int result = 0;
    // The walk ended normally, but the last volume lacks the end record a
    // whole archive has: an incomplete download or copy.
    bool cut = false;
    // Volumes the library asked for and did not find.
    std::vector<QString> missingVolumes;
    double seconds = 0;
    std::uint64_t unpackedBytes = 0;
};

// Walks the archive through the bound RAR library and decodes every entry's
// data, checking it as an extraction does, without writing it anywhere; a
// link whose target the library does not report is written into a private
// temporary folder to read it. Encrypted entries are passed over.
ArchiveContents readArchiveContents(const std::string& path);
