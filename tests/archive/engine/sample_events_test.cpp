// The engine with the public RAR library on the real sample archives: the
// events fired and the files written.
#include "archive/engine/rar_library.h"
#include "archive/engine/unrar.h"
#include "tests/support/library_sandbox.h"
#include "tests/support/rar_samples.h"
#include "tests/support/unrar_events.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;
using ::testing::ElementsAreArray;

namespace {

// What the engine reports and writes for one sample and file mask; the
// written paths' sizes and link targets come from the shared table.
struct EventRun {
    std::string archive;
    std::string fileSpec;
    std::vector<std::string> events; // progress lines left out
    std::vector<std::string> written;
};

std::vector<EventRun> eventRuns()
{
    return {
        {"rar4-unix-basic.rar",
         "*.*",
         {"activate", "begin 1 ~/test.txt", "end ok ~/test.txt", "begin 2 ~/testlink",
          "end ok ~/testlink", "begin 3 ~/testdir/test.txt", "end ok ~/testdir/test.txt",
          "deactivate"},
         {"test.txt", "testdir/test.txt", "testlink"}},
        {"rar4-compressed.rar",
         "*.html",
         {"activate", "begin 1 ~/LibarchiveAddingTest.html", "end ok ~/LibarchiveAddingTest.html",
          "begin 2 ~/testdir/LibarchiveAddingTest.html",
          "end ok ~/testdir/LibarchiveAddingTest.html", "deactivate"},
         {"LibarchiveAddingTest.html", "testdir/LibarchiveAddingTest.html"}},
        {"rar5-compressed.rar",
         "*.*",
         {"activate", "begin 1 ~/test.bin", "end ok ~/test.bin", "deactivate"},
         {"test.bin"}},
        {"rar5-multiple-files.rar",
         "test3.bin",
         {"activate", "begin 1 ~/test3.bin", "end ok ~/test3.bin", "deactivate"},
         {"test3.bin"}},
        {"rar5-stored.rar",
         "*",
         {"activate", "begin 1 ~/helloworld.txt", "end ok ~/helloworld.txt", "deactivate"},
         {"helloworld.txt"}},
        {"rar5-symlinks.rar",
         "*.*",
         {"activate", "begin 1 ~/file.txt", "end ok ~/file.txt", "begin 2 ~/symlink.txt",
          "end ok ~/symlink.txt", "begin 3 ~/dirlink", "end ok ~/dirlink", "deactivate"},
         {"file.txt", "symlink.txt", "dirlink"}},
        {"rar4-unicode-names.rar",
         "*テスト*",
         {"activate", "begin 1 ~/abcdefghijklmnopqrsテスト.txt",
          "end ok ~/abcdefghijklmnopqrsテスト.txt", "deactivate"},
         {"abcdefghijklmnopqrsテスト.txt"}},
        {"rar4-encrypted-entries.rar",
         "*.*", // no password: the run ends at b.txt, saying why
         {"activate", "begin 1 ~/a.txt", "end ok ~/a.txt", "begin 2 ~/b.txt", "password b.txt []",
          "error 25190 b.txt volume 0", "deactivate"},
         {"a.txt"}},
        {"rar4-invalid.rar",
         "*.*",
         {"activate", "error 25126 rar4-invalid.rar volume 0", "deactivate"},
         {}},
        {"rar4-multivolume.part0001.rar",
         "testdir/test.txt",
         {"activate", "begin 1 ~/testdir/test.txt", "end ok ~/testdir/test.txt", "deactivate"},
         {"testdir/test.txt"}},
    };
}

class UnrarSamples : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* samples = std::getenv("ZK_SAMPLES_DIR");
        if (!samples || !fs::is_directory(samples))
            GTEST_SKIP() << "no ../shared/rar-samples beside the project";
        const char* library = std::getenv("ZK_PUBLIC_UNRAR");
        if (!library || !*library)
            GTEST_SKIP() << "the public RAR library is not part of this build";
        ASSERT_TRUE(sandbox_.open("zk-samples", library)) << library;
        root_ = sandbox_.root().string();
        fs::create_directories(root_ + "/archives");
        for (const auto& entry : fs::directory_iterator(samples))
            fs::copy_file(entry.path(), root_ + "/archives/" + entry.path().filename().string());
    }
    void TearDown() override { sandbox_.close(); }

    LibrarySandbox sandbox_;
    std::string root_;
};

TEST_F(UnrarSamples, EventsAndFilesOfEverySample)
{
    ASSERT_TRUE(RarLibraryLoaded());
    for (const EventRun& run : eventRuns()) {
        SCOPED_TRACE(run.archive);
        const std::string out = root_ + "/out-" + run.archive;
        TUnRAR rar(nullptr);
        UnrarEvents events(rar, out);
        rar.OnFileExists = nullptr;
        rar.SetExtractDir(out);
        rar.SetArchiveFile(root_ + "/archives/" + run.archive);
        rar.SetFileSpec(run.fileSpec);
        rar.Extract();

        std::vector<std::string> withoutProgress;
        for (const std::string& line : events.lines) {
            if (line.rfind("progress ", 0) != 0)
                withoutProgress.push_back(line);
        }
        EXPECT_THAT(withoutProgress, ElementsAreArray(run.events));

        size_t written = 0;
        if (fs::exists(out)) {
            for (const auto& entry : fs::recursive_directory_iterator(out))
                written += !entry.is_directory() || entry.is_symlink();
        }
        EXPECT_EQ(written, run.written.size());
        const SampleTree& tree = rarSample(run.archive).tree;
        for (const std::string& name : run.written) {
            ASSERT_EQ(tree.count(name), 1u) << name << " is not in the samples' table";
            const SampleNode& node = tree.at(name);
            const fs::path path = fs::path(out) / name;
            if (node.kind == SampleNode::Link) {
                ASSERT_TRUE(fs::is_symlink(path)) << name;
                EXPECT_EQ(fs::read_symlink(path), node.target);
            } else {
                ASSERT_TRUE(fs::is_regular_file(path)) << name;
                EXPECT_EQ(static_cast<intmax_t>(fs::file_size(path)), node.size) << name;
            }
        }
    }
}

TEST_F(UnrarSamples, ProgressEndsEveryNonEmptyFileAtHundred)
{
    const std::string out = root_ + "/out";
    TUnRAR rar(nullptr);
    UnrarEvents events(rar, out);
    rar.SetExtractDir(out);
    rar.SetArchiveFile(root_ + "/archives/rar4-compressed.rar");
    rar.SetProgressNotify(TProgressNotify::Five);
    rar.Extract();
    std::vector<std::string> lastBeforeEnd;
    for (size_t i = 1; i < events.lines.size(); ++i) {
        if (events.lines[i].rfind("end ", 0) == 0)
            lastBeforeEnd.push_back(events.lines[i - 1]);
    }
    EXPECT_THAT(lastBeforeEnd,
                ElementsAreArray({"progress 100 ~/LibarchiveAddingTest.html", "begin 2 ~/testlink",
                                  "progress 100 ~/testdir/test.txt",
                                  "progress 100 ~/testdir/LibarchiveAddingTest.html"}));
}

} // namespace
