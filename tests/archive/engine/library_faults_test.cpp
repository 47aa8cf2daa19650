// Faults between the library and the disk, through the engine with each RAR
// library: whatever a run reports as extracted is on disk exactly as stored,
// every shortfall is reported with its cause, and nothing outside the target
// folder changes.
#include "archive/engine/unrar.h"
#include "base/little_endian.h"
#include "base/path_rules.h"
#include "tests/support/library_sandbox.h"
#include "tests/unrar/rar5_builder.h"
#include "tools/rar_writer/rar_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using zk::rarwriter::Entry;
using zk::unrar::testing::Rar5Entry;

namespace {

Entry file(const std::string& name, const std::string& data)
{
    Entry entry;
    entry.name = name;
    entry.data = data;
    return entry;
}

Entry link(const std::string& name, const std::string& target)
{
    Entry entry = file(name, target);
    entry.attr = zk::rarwriter::kUnixSymlinkAttr;
    return entry;
}

Entry folder(const std::string& name, std::uint32_t mode = 040755)
{
    Entry entry;
    entry.name = name;
    entry.isFolder = true;
    entry.attr = mode;
    return entry;
}

Entry withAttr(Entry entry, std::uint32_t attr)
{
    entry.attr = attr;
    return entry;
}

fs::perms permissionsOf(const fs::path& path)
{
    return fs::symlink_status(path).permissions() & fs::perms::mask;
}

// Every path below `root`, "/" between folders, sorted.
std::set<std::string> treeOf(const fs::path& root)
{
    std::set<std::string> tree;
    for (const auto& item : fs::recursive_directory_iterator(root))
        tree.insert(item.path().lexically_relative(root).string());
    return tree;
}

// The first line a shell command prints; empty when it fails.
std::string firstLineOf(const std::string& command)
{
    std::string line;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        if (fgets(buffer, sizeof buffer, pipe))
            line = buffer;
        if (pclose(pipe) != 0)
            line.clear();
    }
    while (!line.empty() && line.back() == '\n')
        line.pop_back();
    return line;
}

std::string contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string rar4Bytes(const std::vector<Entry>& entries)
{
    const std::vector<std::uint8_t> bytes = zk::rarwriter::buildArchive(entries);
    return {bytes.begin(), bytes.end()};
}

// Bytes that no stored run of data repeats by chance.
std::string patternData(std::size_t size, unsigned seed)
{
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 131 + seed * 7 + (i >> 8)) % 251);
    return data;
}

class LibraryFaults : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        const char* library = std::getenv(GetParam());
        if (!library || !*library)
            GTEST_SKIP() << GetParam() << " is not set: that library is not part of this build";
        ASSERT_TRUE(sandbox_.open("zk-library-faults", library)) << library;
        out_ = sandbox_.root() / "out";
        fs::create_directories(out_);
    }
    void TearDown() override { sandbox_.close(); }

    // Events of one run, "begin NAME", "end ok|fail NAME", "error CODE NAME",
    // with names relative to the target folder.
    std::vector<std::string> extract(const fs::path& archive,
                                     const std::function<void(TUnRAR&)>& whileProgress = {})
    {
        std::vector<std::string> lines;
        auto relative = [this](const std::string& fn) {
            return fs::path(fn).lexically_relative(out_).string();
        };
        TUnRAR rar(nullptr);
        rar.OnEnd = [&](TObject*, const std::string& fn, bool pass) {
            lines.push_back((pass ? "end ok " : "end fail ") + relative(fn));
        };
        rar.OnError = [&](TObject*, const std::string& fn, const std::string&, int32_t code) {
            lines.push_back("error " + std::to_string(code) + " " + fn);
        };
        if (whileProgress)
            rar.OnProgress = [&](TObject*, const std::string&, uint8_t) { whileProgress(rar); };
        rar.SetExtractDir(out_.string());
        rar.SetArchiveFile(archive.string());
        rar.Extract();
        return lines;
    }
    std::vector<std::string> extract(const std::vector<Entry>& entries)
    {
        const fs::path archive = sandbox_.root() / "test.rar";
        zk::rarwriter::writeArchive(archive.string(), entries);
        return extract(archive);
    }

    LibrarySandbox sandbox_;
    fs::path out_;
};

TEST_P(LibraryFaults, LongNamesAreWrittenWholeOrRefused)
{
    // The two names differ only past the plain header record's 260 bytes.
    const std::string deep =
        "data/" + std::string(120, 'a') + "/" + std::string(120, 'b') + "/level_map_0001_";
    const std::string overlong = std::string(300, 'y') + ".dat";
    EXPECT_THAT(
        extract({file(deep + "A.dat", "A"), file(deep + "B.dat", "B"), file(overlong, "too long")}),
        ElementsAre("end ok " + deep + "A.dat", "end ok " + deep + "B.dat",
                    "error 25143 " + overlong, "end fail " + overlong));
    EXPECT_EQ(contents(out_ / (deep + "A.dat")), "A");
    EXPECT_EQ(contents(out_ / (deep + "B.dat")), "B");
}

TEST_P(LibraryFaults, LinksAlreadyInTheTargetAreReplacedNotWrittenThrough)
{
    const fs::path outside = sandbox_.root() / "outside";
    fs::create_directories(outside / "dir");
    std::ofstream(outside / "file") << "keep";
    fs::permissions(outside / "file", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directories(out_ / "Spiel");
    fs::create_symlink(outside / "file", out_ / "Spiel/starten.sh");
    fs::create_symlink(outside / "dir", out_ / "Spiel/daten");
    fs::create_hard_link(outside / "file", out_ / "Spiel/hart.txt");
    Entry script = file("Spiel/starten.sh", "#!/bin/sh\n");
    script.attr = 0100755;
    EXPECT_THAT(extract({script, file("Spiel/daten/a.txt", "a"), file("Spiel/hart.txt", "new")}),
                ElementsAre("end ok Spiel/starten.sh", "end ok Spiel/daten/a.txt",
                            "end ok Spiel/hart.txt"));
    EXPECT_EQ(contents(outside / "file"), "keep");
    EXPECT_EQ(fs::status(outside / "file").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(fs::is_empty(outside / "dir"));
    EXPECT_FALSE(fs::is_symlink(out_ / "Spiel/daten"));
    EXPECT_EQ(contents(out_ / "Spiel/starten.sh"), "#!/bin/sh\n");
    EXPECT_EQ(contents(out_ / "Spiel/hart.txt"), "new");
}

TEST_P(LibraryFaults, LinkThatCannotBeMadeFailsItsEntry)
{
    std::ofstream(out_ / "blocked") << "a file where the link's folder belongs";
    const auto lines = extract({link("blocked/ziel.txt", "a.txt"), file("ok.txt", "fine")});
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_THAT(lines[0], ::testing::StartsWith("error "));
    EXPECT_EQ(lines[1], "end fail blocked/ziel.txt");
    EXPECT_EQ(lines[2], "end ok ok.txt");
}

TEST_P(LibraryFaults, FullDiskEndsTheRunWithOneDiskFull)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting a small file system needs root";
    ASSERT_EQ(mount("tmpfs", out_.c_str(), "tmpfs", 0, "size=256k"), 0);
    const std::string big(200 * 1024, 'x');
    const auto lines = extract({file("a.bin", big), file("b.bin", big), file("c.bin", big)});
    const bool onlyA =
        fs::exists(out_ / "a.bin") && !fs::exists(out_ / "b.bin") && !fs::exists(out_ / "c.bin");
    umount(out_.c_str());
    EXPECT_THAT(lines, ElementsAre("end ok a.bin", "error 25125 b.bin"));
    EXPECT_TRUE(onlyA);
}

TEST_P(LibraryFaults, MissingPasswordAndMissingVolumeAreNamed)
{
    const char* samples = std::getenv("ZK_SAMPLES_DIR");
    if (!samples || !fs::is_directory(samples))
        GTEST_SKIP() << "no ../shared/rar-samples beside the project";
    const fs::path copy = sandbox_.root() / "rar5-volumes.part01.rar";
    fs::copy_file(fs::path(samples) / "rar5-volumes.part01.rar", copy);
    const auto volumeLines = extract(copy);
    // One message naming the volume ends the run; the file that spans the
    // volumes is not left half written.
    ASSERT_FALSE(volumeLines.empty());
    EXPECT_EQ(volumeLines.back(), "error 25132 rar5-volumes.part02.rar");
    EXPECT_EQ(std::count_if(volumeLines.begin(), volumeLines.end(),
                            [](const std::string& line) { return line.rfind("error", 0) == 0; }),
              1);
    EXPECT_THAT(volumeLines, Not(Contains(HasSubstr("end fail"))));
    EXPECT_FALSE(fs::exists(out_ / "game/data/tiles.dat"));

    fs::remove_all(out_);
    EXPECT_THAT(extract(fs::path(samples) / "rar4-encrypted-entries.rar"),
                ElementsAre("end ok a.txt", "error 25190 b.txt"));
}

// Archivers cut volume sets to a size (`-v10k`), so the last volume holds
// only the rest: a few hundred bytes here, after 139 full volumes.
TEST_P(LibraryFaults, VolumeSetsWithASmallLastVolumeInstall)
{
    // Sizes that leave a few hundred bytes for the 140th volume of each format.
    const std::string big5 = patternData(1'415'000, 1);
    const std::string big4 = patternData(1'414'360, 1);
    const std::string small = "the last few bytes\n";
    std::vector<std::string> rar4;
    for (const auto& bytes :
         zk::rarwriter::buildVolumes({file("big.bin", big4), file("small.txt", small)}, 10240))
        rar4.emplace_back(bytes.begin(), bytes.end());
    struct Row {
        const char* format;
        const std::string& big;
        std::vector<std::string> volumes;
    };
    const std::vector<Row> rows = {
        {"RAR 5", big5,
         zk::unrar::testing::buildRar5Volumes({{"big.bin", Rar5Entry::Kind::File, big5},
                                               {"small.txt", Rar5Entry::Kind::File, small}},
                                              10240)},
        {"RAR 4", big4, rar4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.format);
        ASSERT_EQ(row.volumes.size(), 140u);
        ASSERT_LT(row.volumes.back().size(), 512u);
        const fs::path set = sandbox_.root() / row.format;
        fs::create_directories(set);
        for (std::size_t i = 0; i < row.volumes.size(); ++i) {
            const std::string number = std::to_string(1000 + i + 1).substr(1);
            writeBytes(set / ("game.part" + number + ".rar"), row.volumes[i]);
        }
        fs::remove_all(out_);
        EXPECT_THAT(extract(set / "game.part001.rar"),
                    ElementsAre("end ok big.bin", "end ok small.txt"));
        EXPECT_EQ(contents(out_ / "small.txt"), small);
        EXPECT_TRUE(contents(out_ / "big.bin") == row.big);
    }
}

// An incomplete download or copy: cut where an entry begins, or inside one.
// One message names the archive, and nothing of it is installed. Archives
// from archivers that write no end block, and signed self-extracting
// programs, are whole.
TEST_P(LibraryFaults, CutArchivesFailNamingTheArchiveAndInstallNothing)
{
    const std::vector<Entry> rar4 = {file("f1.bin", patternData(3000, 1)),
                                     file("f2.bin", patternData(3000, 2)),
                                     file("f3.bin", patternData(3000, 3))};
    const std::string whole4 = rar4Bytes(rar4);
    const std::string firstTwo4 = rar4Bytes({rar4[0], rar4[1]});
    const std::vector<Rar5Entry> rar5 = {{"f1.bin", Rar5Entry::Kind::File, patternData(3000, 1)},
                                         {"f2.bin", Rar5Entry::Kind::File, patternData(3000, 2)},
                                         {"f3.bin", Rar5Entry::Kind::File, patternData(3000, 3)}};
    const std::string firstTwo5 = zk::unrar::testing::buildRar5({rar5[0], rar5[1]});
    const std::string whole5 = zk::unrar::testing::buildRar5(rar5);
    struct Row {
        const char* what;
        std::string bytes;
        bool whole = false;
    };
    std::vector<Row> rows = {
        {"RAR 4 inside its third entry", whole4.substr(0, firstTwo4.size() + 1000)},
        {"RAR 5 before its third entry", firstTwo5.substr(0, firstTwo5.size() - 8)},
        {"RAR 5 inside its third entry", whole5.substr(0, firstTwo5.size() + 1000)},
        {"RAR 4 without an end block, as before 3.0", whole4.substr(0, whole4.size() - 7), true},
    };
    // Cut where an entry begins, a RAR 4 archive is told from one of an
    // archiver that writes no end block by the marks of its headers, which
    // the real archiver writes and the test writer does not.
    const char* samples = std::getenv("ZK_SAMPLES_DIR");
    if (samples && fs::is_directory(samples)) {
        const std::string sample = contents(fs::path(samples) / "rar4-unix-basic.rar");
        std::size_t pos = 7; // the marker; then the archive header and two entries
        for (int block = 0; block < 3 && pos + 11 <= sample.size(); ++block) {
            const auto* header = reinterpret_cast<const std::uint8_t*>(sample.data() + pos);
            const std::size_t size = header[5] | header[6] << 8;
            const bool withData = (header[4] & 0x80) != 0;
            pos += size + (withData ? ReadLe32(header + 7) : 0);
        }
        rows.push_back({"RAR 4 from the archiver, before its third entry", sample.substr(0, pos)});
        rows.push_back({"self-extracting program and its signature",
                        contents(fs::path(samples) / "rar4-windows-sfx.exe") + patternData(3000, 9),
                        true});
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(out_);
        fs::create_directories(out_);
        const fs::path archive = sandbox_.root() / "cut.rar";
        writeBytes(archive, row.bytes);
        const auto lines = extract(archive);
        if (row.whole) {
            EXPECT_THAT(lines, Not(Contains(HasSubstr("error"))));
            EXPECT_THAT(lines, Not(Contains(HasSubstr("end fail"))));
            EXPECT_FALSE(lines.empty());
            continue;
        }
        EXPECT_THAT(lines, ElementsAre("error 25126 cut.rar"));
        EXPECT_TRUE(fs::is_empty(out_));
    }
}

// The last volume of a set cut short: what came before is installed, then
// one message names the archive (never a file that is whole).
TEST_P(LibraryFaults, CutLastVolumeIsNamedOnce)
{
    const std::vector<std::string> volumes = zk::unrar::testing::buildRar5Volumes(
        {{"a.bin", Rar5Entry::Kind::File, patternData(15000, 1)},
         {"b.bin", Rar5Entry::Kind::File, patternData(15000, 2)}},
        10240);
    ASSERT_EQ(volumes.size(), 3u);
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        const std::string& bytes = volumes[i];
        writeBytes(sandbox_.root() / ("set.part" + std::to_string(i + 1) + ".rar"),
                   i + 1 < volumes.size() ? bytes : bytes.substr(0, bytes.size() / 2));
    }
    const auto lines = extract(sandbox_.root() / "set.part1.rar");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "error 25126 set.part1.rar");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.rfind("error", 0) == 0; }),
              1);
    EXPECT_THAT(lines, Not(Contains(HasSubstr("end fail"))));
    EXPECT_FALSE(fs::exists(out_ / "b.bin"));
}

// A read-only target (a DVD image, a share mounted read-only) is named once,
// as read-only even when it is nearly full too; nothing is tried.
TEST_P(LibraryFaults, ReadOnlyTargetIsNamedOnceAsReadOnly)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting a small file system needs root";
    const fs::path target = out_ / "Spiel";
    ASSERT_EQ(mount("tmpfs", out_.c_str(), "tmpfs", 0, "size=64k"), 0);
    fs::create_directories(target);
    writeBytes(out_ / "filler", std::string(60 * 1024, 'f'));
    ASSERT_EQ(mount("tmpfs", out_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k"), 0);
    std::vector<std::string> lines;
    {
        const fs::path archive = sandbox_.root() / "test.rar";
        zk::rarwriter::writeArchive(archive.string(), {file("a.txt", "a"), file("b.txt", "b")});
        const fs::path saved = out_;
        out_ = target;
        lines = extract(archive);
        out_ = saved;
    }
    const bool untouched = fs::is_empty(target);
    umount(out_.c_str());
    EXPECT_THAT(lines, ElementsAre("error 25102 Spiel"));
    EXPECT_TRUE(untouched);
}

// Data that fails its checksum is named with the entry's own name and not
// left on disk; the entries after it are installed.
TEST_P(LibraryFaults, DataChecksumErrorNamesTheEntry)
{
    std::string bytes = rar4Bytes(
        {file("bad.txt", "data that will be damaged"), file("good.txt", "data that stays whole")});
    bytes[bytes.find("will be")] ^= 0x20;
    writeBytes(sandbox_.root() / "test.rar", bytes);
    EXPECT_THAT(extract(sandbox_.root() / "test.rar"),
                ElementsAre("error 25120 bad.txt", "end fail bad.txt", "end ok good.txt"));
    EXPECT_FALSE(fs::exists(out_ / "bad.txt"));
    EXPECT_EQ(contents(out_ / "good.txt"), "data that stays whole");
}

// Cancel stops the file being written at once, not at its end; what was
// written of it goes, and nothing is reported.
TEST_P(LibraryFaults, CancelStopsTheFileBeingWrittenAndRemovesIt)
{
    const fs::path archive = sandbox_.root() / "test.rar";
    zk::rarwriter::writeArchive(archive.string(), {file("big.bin", patternData(32 << 20, 1)),
                                                   file("next.txt", "not reached")});
    EXPECT_THAT(extract(archive, [](TUnRAR& rar) { rar.SetCancel(true); }), ElementsAre());
    EXPECT_TRUE(fs::is_empty(out_));
}

// The run writes the archive's tree under the names it stores: the chosen
// folder is the file system's name (a "\\" in it separates nothing), blanks
// around names stay, folder entries make their folders, and modes come from
// the archive under the umask, never with set-ID or sticky bits.
TEST_P(LibraryFaults, TreeIsTheArchivesUnderItsStoredNames)
{
    out_ = sandbox_.root() / "x\\..\\..\\escaped";
    fs::create_directories(out_);
    const mode_t previousMask = umask(022);
    const auto lines =
        extract({file(" lead.txt", "L"), file("trail.txt ", "T1"), file("trail.txt", "T2"),
                 withAttr(file("suid.bin", "s"), 0106755), withAttr(file("open.bin", "o"), 0101777),
                 folder("saves"), folder("logs/old"), folder("private", 040700)});
    umask(previousMask);
    EXPECT_THAT(lines, ElementsAre("end ok  lead.txt", "end ok trail.txt ", "end ok trail.txt",
                                   "end ok suid.bin", "end ok open.bin"));
    EXPECT_EQ(treeOf(out_),
              (std::set<std::string>{" lead.txt", "trail.txt ", "trail.txt", "suid.bin", "open.bin",
                                     "saves", "logs", "logs/old", "private"}));
    EXPECT_EQ(contents(out_ / "trail.txt "), "T1");
    EXPECT_EQ(contents(out_ / "trail.txt"), "T2");
    EXPECT_EQ(permissionsOf(out_ / "suid.bin"), fs::perms(0755));
    EXPECT_EQ(permissionsOf(out_ / "open.bin"), fs::perms(0755));
    EXPECT_EQ(permissionsOf(out_ / "private"), fs::perms(0700));
    EXPECT_EQ(permissionsOf(out_ / "logs/old"), fs::perms(0755));
    // Nothing beside the chosen folder: no "x" folder, no "escaped" above it.
    std::set<std::string> besideTarget;
    for (const auto& item : fs::directory_iterator(sandbox_.root()))
        besideTarget.insert(item.path().filename().string());
    EXPECT_EQ(besideTarget, (std::set<std::string>{"test.rar", "out", "x\\..\\..\\escaped"}));
    EXPECT_FALSE(fs::exists(sandbox_.root().parent_path() / "escaped"));

    // A RAR 5 name from a Unix host holds "\\" as a character: one file.
    const fs::path unix5 = sandbox_.root() / "unix5.rar";
    writeBytes(unix5,
               zk::unrar::testing::buildRar5({{"back\\slash.txt", Rar5Entry::Kind::File, "B"}}));
    out_ = sandbox_.root() / "unix5";
    fs::create_directories(out_);
    EXPECT_THAT(extract(unix5), ElementsAre("end ok back\\slash.txt"));
    EXPECT_EQ(treeOf(out_), (std::set<std::string>{"back\\slash.txt"}));
}

// A failed entry changes nothing in the target: no folder is touched where a
// file belongs, nothing is written through a link the archive made, and no
// path the library would cut is handed to it. A read-only file already
// there is replaced like any other.
TEST_P(LibraryFaults, RefusedEntriesChangeNothing)
{
    // Deep enough that the longest entry below passes the library's limit.
    for (int depth = 0; depth < 6; ++depth)
        out_ /= std::string(200, 'o');
    fs::create_directories(out_ / "taken");
    fs::permissions(out_ / "taken", fs::perms(0755));
    std::ofstream(out_ / "readonly.txt") << "old";
    fs::permissions(out_ / "readonly.txt", fs::perms(0444));
    const std::string longPath = std::string(200, 'p') + "/" + std::string(200, 'p') + "/" +
                                 std::string(200, 'p') + "/" + std::string(200, 'p') + "/x.txt";
    // Longer than the header record's 1,023 bytes: reported whole as far as
    // the record carries it, never by a cut last part.
    std::string cutName;
    while (cutName.size() < 1100)
        cutName += std::string(100, 'c') + "/";
    cutName += "fol";
    const auto lines = extract({file("taken", "x"), link("data", "data.real"), folder("data.real"),
                                file("data/level.map", "L"), file("readonly.txt", "new"),
                                file(longPath, "x"), file(cutName, "y"), file("ok.txt", "ok")});
    ASSERT_EQ(lines.size(), 11u) << ::testing::PrintToString(lines);
    EXPECT_THAT(std::vector<std::string>(lines.begin(), lines.begin() + 8),
                ElementsAre("error 25105 taken", "end fail taken", "end ok data",
                            "error 25123 data\\level.map", "end fail data/level.map",
                            "end ok readonly.txt",
                            "error 25143 " + SlashToBackslash(longPath, PathStyle::Windows),
                            "end fail " + longPath));
    EXPECT_THAT(lines[8], ::testing::StartsWith("error 25143 " + std::string(100, 'c') + "\\"));
    EXPECT_GT(lines[8].size(), 1000u);
    EXPECT_THAT(lines[9], ::testing::StartsWith("end fail "));
    EXPECT_EQ(lines[10], "end ok ok.txt");
    EXPECT_EQ(permissionsOf(out_ / "taken"), fs::perms(0755));
    EXPECT_TRUE(fs::is_empty(out_ / "taken"));
    EXPECT_TRUE(fs::is_symlink(out_ / "data"));
    EXPECT_TRUE(fs::is_empty(out_ / "data.real"));
    EXPECT_EQ(contents(out_ / "readonly.txt"), "new");
    EXPECT_FALSE(fs::exists(out_ / std::string(200, 'p')));
    EXPECT_FALSE(fs::exists(out_ / std::string(100, 'c')));
}

// A target the library would cut is refused once, before anything is written.
TEST_P(LibraryFaults, TargetTooLongForTheLibraryEndsTheRunAtOnce)
{
    fs::path target = out_;
    while (target.string().size() < 2100)
        target /= std::string(200, 't');
    fs::create_directories(target);
    out_ = target;
    EXPECT_THAT(extract({file("a.txt", "a"), file("b.txt", "b")}),
                ElementsAre("error 25143 " + std::string(200, 't')));
    EXPECT_TRUE(fs::is_empty(target));
}

TEST_P(LibraryFaults, NamesAreTheSameUnderAnyLocale)
{
    const char* samples = std::getenv("ZK_SAMPLES_DIR");
    if (!samples || !fs::is_directory(samples))
        GTEST_SKIP() << "no ../shared/rar-samples beside the project";
    std::setlocale(LC_ALL, "C");
    const auto lines = extract(fs::path(samples) / "rar4-unicode-names.rar");
    std::setlocale(LC_ALL, "C.UTF-8");
    EXPECT_THAT(lines, ::testing::Each(::testing::StartsWith("end ok ")));
    EXPECT_TRUE(fs::is_regular_file(out_ / "abcdefghijklmnopqrsテスト.txt"));
    EXPECT_TRUE(fs::is_directory(out_ / "表だよ/新しいフォルダ"));
}

// exFAT (a USB stick, a drive shared with Windows) folds letter case and
// refuses some characters: no entry lands on another's file, and a name the
// volume cannot hold fails alone, leaving nothing under another name.
TEST_P(LibraryFaults, FoldingTargetsKeepOneFilePerEntry)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting a file system image needs root";
    if (std::system("command -v mkfs.exfat && command -v mount.exfat-fuse >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "exFAT through FUSE is not installed (exfat-fuse, exfatprogs)";
    const fs::path image = sandbox_.root() / "exfat.img";
    std::ofstream(image).close();
    fs::resize_file(image, 8 << 20);
    ASSERT_EQ(std::system(("mkfs.exfat " + image.string() + " >/dev/null").c_str()), 0);
    const std::string device = firstLineOf("losetup -f --show " + image.string());
    ASSERT_FALSE(device.empty());
    const bool mounted =
        std::system(
            ("mount.exfat-fuse " + device + " " + out_.string() + " 2>/dev/null").c_str()) == 0;
    std::vector<std::string> lines;
    std::set<std::string> tree;
    if (mounted) {
        lines = extract({file("Readme.txt", "one"), file("README.txt", "two"), file("É.txt", "E"),
                         file("é.txt", "e"), file("data/a.txt", "A"), file("Data/b.txt", "B"),
                         file("a:b.txt", "x"), file("what?.txt", "y"), file("ok.txt", "ok")});
        tree = treeOf(out_);
        tree.insert(contents(out_ / "Readme.txt"));
        umount(out_.c_str());
    }
    std::system(("losetup -d " + device).c_str());
    ASSERT_TRUE(mounted);
    EXPECT_THAT(lines,
                ElementsAre("end ok Readme.txt", "error 25143 README.txt = Readme.txt",
                            "end fail README.txt", "end ok É.txt", "error 25143 é.txt = É.txt",
                            "end fail é.txt", "end ok data/a.txt", "error 25143 Data\\b.txt = data",
                            "end fail Data/b.txt", "error 25143 a:b.txt", "end fail a:b.txt",
                            "error 25143 what?.txt", "end fail what?.txt", "end ok ok.txt"));
    EXPECT_EQ(tree, (std::set<std::string>{"Readme.txt", "É.txt", "data", "data/a.txt", "ok.txt",
                                           "one"}));
}

INSTANTIATE_TEST_SUITE_P(EachLibrary, LibraryFaults,
                         ::testing::Values("ZK_PUBLIC_UNRAR", "ZK_OWN_UNRAR"),
                         [](const auto& info) { return std::string(info.param).substr(3); });

} // namespace
