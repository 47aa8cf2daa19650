#pragma once

// Builds small stored RAR 5 archives with link entries, which RAR 4 (and so
// the test-archive writer) cannot hold.

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

} // namespace zk::unrar::testing
