#pragma once

#include "unrar/stored_header.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct archive_entry;

namespace zk::unrar {

// The archive's own file headers, read volume by volume beside libarchive
// (RAR 4 or RAR 5), one per file with the parts of split files joined, and
// libarchive's entries matched to them by order while the two agree.
class StoredHeaders {
public:
    // Reads volume number `index` (0 = the first) unless it was read before.
    void readVolume(std::size_t index, const std::string& path);

    // The position of libarchive's `ordinal`-th entry among the headers;
    // none once an entry disagrees with its header in kind, size or name.
    std::optional<std::size_t> match(std::size_t ordinal, struct archive_entry* entry);
    const StoredFileHeader& at(std::size_t index) const { return files_[index]; }

    // A RAR 5 archive whose headers are encrypted: nothing can be listed.
    bool headersEncrypted() const { return headersEncrypted_; }
    // Whether the headers show more of the archive than `entriesSeen`
    // entries: more file headers, or a volume read last that is cut short
    // or (RAR 5) announces another volume.
    bool goesOnAfter(std::size_t entriesSeen) const;

private:
    void add(StoredFileHeader&& header);

    std::vector<StoredFileHeader> files_;
    std::size_t volumesRead_ = 0;
    bool headersEncrypted_ = false;
    bool lastVolumeEnds_ = true;
    bool agree_ = true;
};

} // namespace zk::unrar
