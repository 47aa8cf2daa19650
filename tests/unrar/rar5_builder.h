#pragma once

// Builds small stored RAR 5 archives with link entries, which RAR 4 (and so
// the test-archive writer) cannot hold.

#include <cstddef>
#include <string>
#include <vector>

namespace zk::unrar::testing {

struct Rar5Entry {
    enum class Kind { File, HardLink, SymLink };
    std::string name;
    Kind kind = Kind::File;
    std::string dataOrTarget;
    unsigned compressionInfo = 0; // stored; bits 10-14 give the dictionary size
};

std::string buildRar5(const std::vector<Rar5Entry>& entries);

// Plain files as a volume set of at most `volumeSize` bytes per volume (the
// last one holding only the rest), files split across volumes where they do
// not fit.
std::vector<std::string> buildRar5Volumes(const std::vector<Rar5Entry>& entries,
                                          std::size_t volumeSize);

} // namespace zk::unrar::testing
