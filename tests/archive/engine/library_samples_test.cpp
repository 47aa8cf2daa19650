// Every shared sample archive through the engine, once with the public RAR
// library and once with the project's own, checked against the tree the
// samples' README lists (sha256 prefixes, sizes, link targets).
//
// The public library must give exactly that tree. The own library may fail
// where it cannot decode, but only out loud: every entry it reports as
// extracted is whole, and a tree that differs from the list comes with a
// reported failure.
#include "archive/rar_library.h"
#include "archive/unrar.h"
#include "tests/support/library_sandbox.h"
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

// What one path of an extracted tree holds: a file (sha256 prefix and/or
// size, either may be unknown) or a link.
struct Node {
    std::string sha;
    intmax_t size = -1;
    std::string linkTarget;
};
using Tree = std::map<std::string, Node>;

struct Sample {
    std::string archive;
    std::string password;
    Tree tree;
    std::set<std::string> failing; // paths a correct library refuses
    bool endsWithError = false;    // an error ends the run before the last entry
};

Node file(std::string sha, intmax_t size = -1) { return {std::move(sha), size, ""}; }
Node link(std::string target) { return {"", -1, std::move(target)}; }

// The small game that every archive made with the current archiver holds.
Tree game()
{
    return {
        {"game/data/maps/level1.map", file("d56173aa25f2371e")},
        {"game/data/maps/level2.map", file("932188f604b05e07")},
        {"game/data/maps/level3.map", file("cfa2d1e05467a8b6")},
        {"game/data/maps/level4.map", file("11eed8d1de501eb4")},
        {"game/data/maps/level5.map", file("4027c245d8b2f205")},
        {"game/data/maps/level6.map", file("b9c7e7054dfc6b82")},
        {"game/data/sounds.dat", file("48cf1f611ca88216", 200000)},
        {"game/data/tiles.dat", file("2013910a1347e0ae", 300000)},
        {"game/docs/readme.txt", file("cdae1208a2dd8861", 25)},
        {"game/docs/empty.txt", file("e3b0c44298fc1c14", 0)},
        {"game/start.sh", file("67059d0673495b1b", 23)},
        {"game/README", link("docs/readme.txt")},
        {"game/docs/README.again", link("../docs/readme.txt")},
    };
}

Tree without(Tree tree, const std::string& path)
{
    tree.erase(path);
    return tree;
}

std::vector<Sample> samples()
{
    const std::string html = "ee16390e87152d7d";
    return {
        {"rar4-unix-basic.rar", "",
         {{"test.txt", file("5a5f16e01faf8adf", 20)}, {"testlink", link("test.txt")},
          {"testdir/test.txt", file("5a5f16e01faf8adf", 20)}}, {}},
        {"rar4-compressed.rar", "",
         {{"LibarchiveAddingTest.html", file(html, 20111)}, {"testlink", link("LibarchiveAddingTest.html")},
          {"testdir/test.txt", file("", 20)}, {"testdir/LibarchiveAddingTest.html", file("", 20111)}}, {}},
        {"rar4-windows-sfx.exe", "",
         {{"test.txt", file("2d45c5f87d1b6cef", 16)}, {"testshortcut.lnk", file("08b633f146f22534", 441)},
          {"testdir/test.txt", file("2d45c5f87d1b6cef", 16)}}, {}},
        {"rar5-compressed.rar", "", {{"test.bin", file("588870a2dade35c2", 1200)}}, {}},
        {"rar5-multiple-files.rar", "",
         {{"test1.bin", file("7d89f86f9f69d744", 4096)}, {"test2.bin", file("f81e6fceeeab3663", 4096)},
          {"test3.bin", file("5e621f2b6ce8fed7", 4096)}, {"test4.bin", file("2627f40180217252", 4096)}}, {}},
        {"rar5-stored.rar", "", {{"helloworld.txt", file("fef9ad8cf601b43f", 29)}}, {}},
        {"rar5-symlinks.rar", "",
         {{"file.txt", file("a883dafc480d466e", 5)}, {"symlink.txt", link("file.txt")}, {"dirlink", link("dir")}},
         {}},
        {"rar4-unicode-names.rar", "",
         {{"abcdefghijklmnopqrsテスト.txt", file("", 16)},
          {"表だよ/漢字長いファイル名long-filename-in-漢字.txt", file("", 5)},
          {"表だよ/新しいフォルダ/新規テキスト ドキュメント.txt", file("", 0)},
          {"表だよ/ファイル", link("漢字長いファイル名long-filename-in-漢字.txt")}}, {}},
        // Without a password the run ends at the first encrypted entry, saying so.
        {"rar4-encrypted-entries.rar", "", {{"a.txt", file("", 18)}}, {}, true},
        {"rar4-multivolume.part0001.rar", "",
         {{"ppmd_lzss_conversion_test.txt", file("a0b8a5130c56577e", 241647978)},
          {"LibarchiveAddingTest.html", file("", 20111)}, {"testlink", link("LibarchiveAddingTest.html")},
          {"testdir/test.txt", file("", 20)}, {"testdir/LibarchiveAddingTest.html", file("", 20111)}}, {}},
        {"rar4-invalid.rar", "", {}, {"test"}},
        {"rar5-volumes.part01.rar", "", game(), {}},
        {"rar5-solid-bigdict.rar", "", game(), {}},
        {"rar5-encrypted-data.rar", "zenkor", game(), {}},
        {"rar5-encrypted-headers.rar", "zenkor", game(), {}},
        {"rar5-encrypted-headers.rar", "", {}, {}, true}, // no password: not even a name can be read
        {"rar5-stored-crc.rar", "", game(), {}},
        {"rar5-stored-blake2.rar", "", game(), {}},
        {"rar5-stored-damaged.rar", "", without(game(), "game/data/maps/level1.map"), {"game/data/maps/level1.map"}},
    };
}

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
std::string mismatch(const fs::path& path, const Node& node)
{
    if (!node.linkTarget.empty()) {
        if (!fs::is_symlink(path))
            return "not a link";
        return fs::read_symlink(path) == node.linkTarget ? "" : "link to " + fs::read_symlink(path).string();
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
    Outcome extract(const Sample& sample, bool laterVolumesElsewhere = false)
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
            rar.OnNextVolume = [&outcome, elsewhere](TObject*, std::string& dir, std::string&, const std::string&,
                                                     bool& cancel) {
                cancel = ++outcome.volumeAsks > 10; // a library that never takes the answer
                dir = elsewhere.string() + "/";
            };
        }
        rar.OnEnd = [&](TObject*, const std::string& fn, bool pass) {
            (pass ? outcome.passed : outcome.failed).insert(fs::path(fn).lexically_relative(out).string());
        };
        rar.OnError = [&](TObject*, const std::string&, const std::string&, int32_t) { ++outcome.errors; };
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

std::set<std::string> keys(const Tree& tree)
{
    std::set<std::string> paths;
    for (const auto& [path, node] : tree)
        paths.insert(path);
    return paths;
}

// Either library: whatever is reported as extracted is whole and listed, a
// damaged entry is never reported as extracted, nothing is left on disk
// without success, and any shortfall of the tree comes with a reported
// failure. The public library must also give exactly the listed tree.
TEST_P(LibrarySamples, EverySampleGivesItsTreeOrAReportedFailure)
{
    const bool exact = std::string(GetParam()) == "ZK_PUBLIC_UNRAR";
    for (const Sample& sample : samples()) {
        SCOPED_TRACE(sample.archive);
        const Outcome outcome = extract(sample);
        const bool failureReported = !outcome.failed.empty() || outcome.errors > 0;
        for (const std::string& path : sample.failing)
            EXPECT_EQ(outcome.passed.count(path), 0u) << path << " is damaged, yet reported extracted";
        for (const std::string& path : outcome.passed) {
            const auto listed = sample.tree.find(path);
            if (listed != sample.tree.end())
                EXPECT_EQ(mismatch(out() / path, listed->second), "") << path << " reported extracted";
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
    const Sample sample{"rar5-volumes.part01.rar", "", game(), {}};
    const Outcome outcome = extract(sample, true);
    EXPECT_LE(outcome.volumeAsks, 2);
    for (const std::string& path : outcome.passed) {
        ASSERT_TRUE(sample.tree.count(path)) << path << " reported extracted but not listed";
        EXPECT_EQ(mismatch(out() / path, sample.tree.at(path)), "") << path;
    }
    if (outcome.written != keys(sample.tree)) {
        EXPECT_TRUE(!outcome.failed.empty() || outcome.errors > 0) << "tree incomplete, yet no failure reported";
    }
    if (std::string(GetParam()) == "ZK_PUBLIC_UNRAR") {
        EXPECT_EQ(outcome.written, keys(sample.tree));
    }
}

INSTANTIATE_TEST_SUITE_P(EachLibrary, LibrarySamples, ::testing::Values("ZK_PUBLIC_UNRAR", "ZK_OWN_UNRAR"),
                         [](const auto& info) { return std::string(info.param).substr(3); });

} // namespace
