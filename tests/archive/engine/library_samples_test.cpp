// Every shared sample archive through the engine, once with the public RAR
// library and once with the project's own, checked against the tree the
// samples' table lists (sha256 prefixes, sizes, link targets).
//
// The public library must give exactly that tree. The own library may fail
// where it cannot decode, but only out loud: every entry it reports as
// extracted is whole, and a tree that differs from the list comes with a
// reported failure.
#include "archive/engine/rar_library.h"
#include "archive/engine/unrar.h"
#include "tests/support/library_sandbox.h"
#include "tests/support/rar_samples.h"
#include "tests/support/sha256_prefix.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

// The files and links below a folder, folders left out.
std::set<std::string> pathsBelow(const fs::path& root)
{
    std::set<std::string> paths;
    if (!fs::exists(root))
        return paths;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_symlink() || !entry.is_directory())
            paths.insert(entry.path().lexically_relative(root).string());
    }
    return paths;
}

// Empty when the path holds what the node says; otherwise what is wrong.
std::string mismatch(const fs::path& path, const SampleNode& node)
{
    if (node.kind == SampleNode::Folder)
        return fs::is_directory(fs::symlink_status(path)) ? "" : "not a folder";
    if (node.kind == SampleNode::Link) {
        if (!fs::is_symlink(path))
            return "not a link";
        return fs::read_symlink(path) == node.target ? ""
                                                     : "link to " + fs::read_symlink(path).string();
    }
    if (fs::is_symlink(path) || !fs::is_regular_file(path))
        return "not a file";
    if (node.size >= 0 && static_cast<intmax_t>(fs::file_size(path)) != node.size)
        return "size " + std::to_string(fs::file_size(path));
    if (!node.sha.empty() && sha256Prefix(path) != node.sha)
        return "sha256 " + sha256Prefix(path);
    return "";
}

// One run of the engine over one sample: what it reported and what it wrote.
struct Outcome {
    std::set<std::string> passed;  // entries reported as extracted
    std::set<std::string> failed;  // entries reported as failed
    int errors = 0;                // OnError reports
    std::set<std::string> written; // files and links on disk
    int volumeAsks = 0;
};

class LibrarySamples : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        const char* samples = std::getenv("ZK_SAMPLES_DIR");
        if (!samples || !fs::is_directory(samples))
            GTEST_SKIP() << "no ../shared/rar-samples beside the project";
        const char* library = std::getenv(GetParam());
        if (!library || !*library)
            GTEST_SKIP() << GetParam() << " is not set: that library is not part of this build";
        samplesDir_ = samples;
        ASSERT_TRUE(sandbox_.open("zk-library-samples", library)) << library;
        root_ = sandbox_.root();
    }
    void TearDown() override { sandbox_.close(); }

    // With laterVolumesElsewhere, every volume but the first lies in another
    // folder, which the owner names each time the library asks for a volume.
    Outcome extract(const RarSample& sample, bool laterVolumesElsewhere = false)
    {
        const fs::path archives = root_ / "archives";
        const fs::path out = root_ / "out";
        fs::remove_all(root_);
        fs::create_directories(archives);
        // A volume set is copied whole: its later volumes are found beside the first.
        const std::string stem = sample.archive.substr(0, sample.archive.find('.'));
        for (const auto& entry : fs::directory_iterator(samplesDir_)) {
            if (entry.path().filename().string().rfind(stem + ".", 0) == 0)
                fs::copy_file(entry.path(), archives / entry.path().filename());
        }
        TUnRAR rar(nullptr);
        Outcome outcome;
        if (laterVolumesElsewhere) {
            const fs::path elsewhere = root_ / "disk2";
            fs::create_directories(elsewhere);
            for (const auto& entry : fs::directory_iterator(archives)) {
                if (entry.path().filename() != sample.archive)
                    fs::rename(entry.path(), elsewhere / entry.path().filename());
            }
            rar.OnNextVolume = [&outcome, elsewhere](TObject*, std::string& dir, std::string&,
                                                     const std::string&, bool& cancel) {
                cancel = ++outcome.volumeAsks > 10; // a library that never takes the answer
                dir = elsewhere.string() + "/";
            };
        }
        rar.OnEnd = [&](TObject*, const std::string& fn, bool pass) {
            (pass ? outcome.passed : outcome.failed)
                .insert(fs::path(fn).lexically_relative(out).string());
        };
        rar.OnError = [&](TObject*, const std::string&, const std::string&, int32_t) {
            ++outcome.errors;
        };
        rar.SetPassword(sample.password);
        rar.SetExtractDir(out.string());
        rar.SetArchiveFile((archives / sample.archive).string());
        rar.Extract();
        outcome.written = pathsBelow(out);
        return outcome;
    }

    fs::path out() const { return root_ / "out"; }

    fs::path samplesDir_;
    LibrarySandbox sandbox_;
    fs::path root_;
};

// The files and links of a tree, folders left out as pathsBelow leaves them.
std::set<std::string> keys(const SampleTree& tree)
{
    std::set<std::string> paths;
    for (const auto& [path, node] : tree) {
        if (node.kind != SampleNode::Folder)
            paths.insert(path);
    }
    return paths;
}

// Either library: whatever is reported as extracted is whole and listed, a
// damaged entry is never reported as extracted, nothing is left on disk
// without success, and any shortfall of the tree comes with a reported
// failure. The public library must also give exactly the listed tree.
TEST_P(LibrarySamples, EverySampleGivesItsTreeOrAReportedFailure)
{
    const bool exact = std::string(GetParam()) == "ZK_PUBLIC_UNRAR";
    for (const RarSample& sample : rarSamples()) {
        SCOPED_TRACE(sample.archive);
        const Outcome outcome = extract(sample);
        const bool failureReported = !outcome.failed.empty() || outcome.errors > 0;
        for (const std::string& path : sample.failing)
            EXPECT_EQ(outcome.passed.count(path), 0u)
                << path << " is damaged, yet reported extracted";
        for (const std::string& path : outcome.passed) {
            const auto listed = sample.tree.find(path);
            if (listed != sample.tree.end())
                EXPECT_EQ(mismatch(out() / path, listed->second), "")
                    << path << " reported extracted";
            else if (!sample.failing.count(path))
                ADD_FAILURE() << path << " reported extracted but not listed";
        }
        if (!sample.failing.empty()) {
            EXPECT_TRUE(failureReported);
        }
        for (const std::string& path : outcome.written)
            EXPECT_TRUE(outcome.passed.count(path)) << path << " left on disk without success";
        if (outcome.written != keys(sample.tree)) {
            EXPECT_TRUE(failureReported) << "tree incomplete, yet no failure reported";
        }
        if (exact) {
            EXPECT_EQ(outcome.written, keys(sample.tree));
            EXPECT_EQ(outcome.failed, sample.failing);
            EXPECT_EQ(outcome.errors > 0, !sample.failing.empty() || sample.endsWithError);
        }
    }
}

// The owner points to the folder of the later volumes once: the library must
// then open them from there.
TEST_P(LibrarySamples, LaterVolumesComeFromTheFolderTheOwnerNames)
{
    const RarSample& sample = rarSample("rar5-volumes.part01.rar");
    const Outcome outcome = extract(sample, true);
    EXPECT_LE(outcome.volumeAsks, 2);
    for (const std::string& path : outcome.passed) {
        ASSERT_TRUE(sample.tree.count(path)) << path << " reported extracted but not listed";
        EXPECT_EQ(mismatch(out() / path, sample.tree.at(path)), "") << path;
    }
    if (outcome.written != keys(sample.tree)) {
        EXPECT_TRUE(!outcome.failed.empty() || outcome.errors > 0)
            << "tree incomplete, yet no failure reported";
    }
    if (std::string(GetParam()) == "ZK_PUBLIC_UNRAR") {
        EXPECT_EQ(outcome.written, keys(sample.tree));
    }
}

INSTANTIATE_TEST_SUITE_P(EachLibrary, LibrarySamples,
                         ::testing::Values("ZK_PUBLIC_UNRAR", "ZK_OWN_UNRAR"),
                         [](const auto& info) { return std::string(info.param).substr(3); });

} // namespace
