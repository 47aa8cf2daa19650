#pragma once

// Test access to the built libunrar.so through its exported entry points,
// bound by name as the installer binds it, plus small helpers for archives.

#include "tests/support/sha256_prefix.h"
#include "tests/support/temp_folder.h"
#include "unrar/rar_entry_points.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace zk::unrar::testing {

// Loaded once from ZK_BIN_DIR; the test fails at once when it is missing.
const RarEntryPoints& rar();

struct ListedEntry {
    std::string name;
    unsigned flags = 0;
    unsigned attr = 0;
    unsigned size = 0;
    unsigned time = 0;
    unsigned host = 0;
    unsigned packSize = 0;
    unsigned crc = 0;
    unsigned method = 0;
    int processResult = 0; // of the operation used for this entry
};

struct Listing {
    std::vector<ListedEntry> entries;
    int endCode = 0; // what the last header read answered
};

// Opens `archive`, runs `operation` on every entry (to below destPath for an
// extraction) and records what the headers and the calls answered.
Listing walk(const std::filesystem::path& archive, int operation = RAR_SKIP,
             const std::string& destPath = {});

// One handle on an archive opened for extraction, closed at the end, for
// tests that drive entries one by one.
class OpenArchive {
public:
    explicit OpenArchive(const std::filesystem::path& path);
    ~OpenArchive();
    OpenArchive(const OpenArchive&) = delete;
    OpenArchive& operator=(const OpenArchive&) = delete;

    RAR_HANDLE handle() const { return handle_; }
    // Opening's result code, as the library wrote it.
    unsigned result() const { return result_; }
    int next() { return rar().RARReadHeader(handle_, &header); }
    int process(int operation, const std::string& destPath, const std::string& destName = {});
    RARHeaderData header{};

private:
    RAR_HANDLE handle_ = nullptr;
    unsigned result_ = 0;
};

// Opening's result code (0 when it opened; the handle is closed again).
unsigned openResult(const std::filesystem::path& archive);

std::filesystem::path samplesDir();

// Tests on the shared sample archives skip, saying why, in a clone that
// lacks them.
class SampleTest : public ::testing::Test {
protected:
    void SetUp() override;
};
// Copies a sample archive into `dir` and answers the copy's path.
std::filesystem::path copySample(const std::string& name, const std::filesystem::path& dir);

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& data);

} // namespace zk::unrar::testing
