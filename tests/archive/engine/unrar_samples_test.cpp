// The engine with the public RAR library on the real sample archives: the
// events fired and the files written.
#include "archive/rar_library.h"
#include "archive/unrar.h"
#include "tests/support/library_sandbox.h"
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

struct WrittenFile {
    std::string path;
    uintmax_t size;        // for regular files
    std::string linkTarget; // non-empty for links
};

struct Sample {
    std::string archive;
    std::string fileSpec;
    std::vector<std::string> events; // progress lines left out
    std::vector<WrittenFile> files;
};

std::vector<Sample> samples()
{
    return {
        {"rar4-unix-basic.rar", "*.*",
         {"activate", "begin 1 ~/test.txt", "end ok ~/test.txt", "begin 2 ~/testlink", "end ok ~/testlink",
          "begin 3 ~/testdir/test.txt", "end ok ~/testdir/test.txt", "deactivate"},
         {{"test.txt", 20, ""}, {"testdir/test.txt", 20, ""}, {"testlink", 0, "test.txt"}}},
        {"rar4-compressed.rar", "*.html",
         {"activate", "begin 1 ~/LibarchiveAddingTest.html", "end ok ~/LibarchiveAddingTest.html",
          "begin 2 ~/testdir/LibarchiveAddingTest.html", "end ok ~/testdir/LibarchiveAddingTest.html", "deactivate"},
         {{"LibarchiveAddingTest.html", 20111, ""}, {"testdir/LibarchiveAddingTest.html", 20111, ""}}},
        {"rar5-compressed.rar", "*.*",
         {"activate", "begin 1 ~/test.bin", "end ok ~/test.bin", "deactivate"},
         {{"test.bin", 1200, ""}}},
        {"rar5-multiple-files.rar", "test3.bin",
         {"activate", "begin 1 ~/test3.bin", "end ok ~/test3.bin", "deactivate"},
         {{"test3.bin", 4096, ""}}},
        {"rar5-stored.rar", "*",
         {"activate", "begin 1 ~/helloworld.txt", "end ok ~/helloworld.txt", "deactivate"},
         {{"helloworld.txt", 29, ""}}},
        {"rar5-symlinks.rar", "*.*",
         {"activate", "begin 1 ~/file.txt", "end ok ~/file.txt", "begin 2 ~/symlink.txt", "end ok ~/symlink.txt",
          "begin 3 ~/dirlink", "end ok ~/dirlink", "deactivate"},
         {{"file.txt", 5, ""}, {"symlink.txt", 0, "file.txt"}, {"dirlink", 0, "dir"}}},
        {"rar4-unicode-names.rar", "*テスト*",
         {"activate", "begin 1 ~/abcdefghijklmnopqrsテスト.txt", "end ok ~/abcdefghijklmnopqrsテスト.txt", "deactivate"},
         {{"abcdefghijklmnopqrsテスト.txt", 16, ""}}},
        {"rar4-encrypted-entries.rar", "*.*", // no password: the run ends at b.txt, saying why
         {"activate", "begin 1 ~/a.txt", "end ok ~/a.txt", "begin 2 ~/b.txt", "password b.txt []",
          "error 25190 b.txt volume 0", "deactivate"},
         {{"a.txt", 18, ""}}},
        {"rar4-invalid.rar", "*.*",
         {"activate", "begin 1 ~/test", "error 25108 test volume 0", "end fail ~/test", "deactivate"},
         {}},
        {"rar4-multivolume.part0001.rar", "testdir/test.txt",
         {"activate", "begin 1 ~/testdir/test.txt", "end ok ~/testdir/test.txt", "deactivate"},
         {{"testdir/test.txt", 20, ""}}},
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
    for (const Sample& sample : samples()) {
        SCOPED_TRACE(sample.archive);
        const std::string out = root_ + "/out-" + sample.archive;
        TUnRAR rar(nullptr);
        UnrarEvents events(rar, out);
        rar.OnFileExists = nullptr;
        rar.SetExtractDir(out);
        rar.SetArchiveFile(root_ + "/archives/" + sample.archive);
        rar.SetFileSpec(sample.fileSpec);
        rar.Extract();

        std::vector<std::string> withoutProgress;
        for (const std::string& line : events.lines) {
            if (line.rfind("progress ", 0) != 0)
                withoutProgress.push_back(line);
        }
        EXPECT_THAT(withoutProgress, ElementsAreArray(sample.events));

        size_t written = 0;
        if (fs::exists(out)) {
            for (const auto& entry : fs::recursive_directory_iterator(out))
                written += !entry.is_directory() || entry.is_symlink();
        }
        EXPECT_EQ(written, sample.files.size());
        for (const WrittenFile& file : sample.files) {
            const fs::path path = fs::path(out) / file.path;
            if (!file.linkTarget.empty()) {
                ASSERT_TRUE(fs::is_symlink(path)) << file.path;
                EXPECT_EQ(fs::read_symlink(path), file.linkTarget);
            } else {
                ASSERT_TRUE(fs::is_regular_file(path)) << file.path;
                EXPECT_EQ(fs::file_size(path), file.size) << file.path;
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
    EXPECT_THAT(lastBeforeEnd, ElementsAreArray({"progress 100 ~/LibarchiveAddingTest.html", "begin 2 ~/testlink",
                                                 "progress 100 ~/testdir/test.txt",
                                                 "progress 100 ~/testdir/LibarchiveAddingTest.html"}));
}

} // namespace
