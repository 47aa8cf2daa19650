#pragma once

// The shared sample archives and what a correct RAR library extracts from
// each, as their README lists it: the one table that every test walking the
// samples reads, whichever library it drives. A test adds only what is its
// own (events, header fields); the trees are written here once.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

// One path of an extracted tree.
struct SampleNode {
    enum Kind { File, Link, Folder };
    Kind kind = File;
    std::string sha;         // sha256 prefix of a file; "" where the README gives none
    std::intmax_t size = -1; // of a file; -1 where the README gives none
    std::string target;      // of a link
};
using SampleTree = std::map<std::string, SampleNode>;

struct RarSample {
    std::string archive;             // the first volume's name for a volume set
    std::string password{};          // handed to the library; "" for none
    SampleTree tree{};               // what a correct library writes, folders too
    std::set<std::string> failing{}; // paths a correct library refuses
    bool endsWithError = false;      // an error ends the run before the last entry
    bool game = false;               // made by the current archiver, holding the small game
    bool volumeSet = false;

    // Made by the older archiver, one volume, and every entry extracted.
    bool plain() const { return !game && !volumeSet && failing.empty() && !endsWithError; }
    // One of the game archives that needs no password and holds no damage.
    bool wholeGame() const { return game && password.empty() && failing.empty() && !endsWithError; }
};

inline SampleNode sampleFile(std::string sha, std::intmax_t size = -1)
{
    return {SampleNode::File, std::move(sha), size, ""};
}
inline SampleNode sampleLink(std::string target)
{
    return {SampleNode::Link, "", -1, std::move(target)};
}
inline SampleNode sampleFolder()
{
    return {SampleNode::Folder, "", -1, ""};
}

// The small game that every archive made with the current archiver holds.
inline SampleTree gameTree()
{
    return {
        {"game/data/maps/level1.map", sampleFile("d56173aa25f2371e")},
        {"game/data/maps/level2.map", sampleFile("932188f604b05e07")},
        {"game/data/maps/level3.map", sampleFile("cfa2d1e05467a8b6")},
        {"game/data/maps/level4.map", sampleFile("11eed8d1de501eb4")},
        {"game/data/maps/level5.map", sampleFile("4027c245d8b2f205")},
        {"game/data/maps/level6.map", sampleFile("b9c7e7054dfc6b82")},
        {"game/data/sounds.dat", sampleFile("48cf1f611ca88216", 200000)},
        {"game/data/tiles.dat", sampleFile("2013910a1347e0ae", 300000)},
        {"game/docs/readme.txt", sampleFile("cdae1208a2dd8861", 25)},
        {"game/docs/empty.txt", sampleFile("e3b0c44298fc1c14", 0)},
        {"game/start.sh", sampleFile("67059d0673495b1b", 23)},
        {"game/README", sampleLink("docs/readme.txt")},
        {"game/docs/README.again", sampleLink("../docs/readme.txt")},
        {"game", sampleFolder()},
        {"game/data", sampleFolder()},
        {"game/data/maps", sampleFolder()},
        {"game/docs", sampleFolder()},
    };
}

inline SampleTree withoutPath(SampleTree tree, const std::string& path)
{
    tree.erase(path);
    return tree;
}

// In the order the older archiver's samples come, then the game archives.
inline std::vector<RarSample> rarSamples()
{
    const std::string text = "5a5f16e01faf8adf";
    const std::string html = "ee16390e87152d7d";
    const std::string dosText = "2d45c5f87d1b6cef";
    const std::string damagedMap = "game/data/maps/level1.map";
    return {
        {.archive = "rar4-unix-basic.rar",
         .tree = {{"test.txt", sampleFile(text, 20)},
                  {"testlink", sampleLink("test.txt")},
                  {"testdir/test.txt", sampleFile(text, 20)},
                  {"testdir", sampleFolder()},
                  {"testemptydir", sampleFolder()}}},
        {.archive = "rar4-compressed.rar",
         .tree = {{"LibarchiveAddingTest.html", sampleFile(html, 20111)},
                  {"testlink", sampleLink("LibarchiveAddingTest.html")},
                  {"testdir/test.txt", sampleFile(text, 20)},
                  {"testdir/LibarchiveAddingTest.html", sampleFile(html, 20111)},
                  {"testdir", sampleFolder()},
                  {"testemptydir", sampleFolder()}}},
        {.archive = "rar4-windows-sfx.exe",
         .tree = {{"test.txt", sampleFile(dosText, 16)},
                  {"testshortcut.lnk", sampleFile("08b633f146f22534", 441)},
                  {"testdir/test.txt", sampleFile(dosText, 16)},
                  {"testdir", sampleFolder()},
                  {"testemptydir", sampleFolder()}}},
        {.archive = "rar5-compressed.rar",
         .tree = {{"test.bin", sampleFile("588870a2dade35c2", 1200)}}},
        {.archive = "rar5-multiple-files.rar",
         .tree = {{"test1.bin", sampleFile("7d89f86f9f69d744", 4096)},
                  {"test2.bin", sampleFile("f81e6fceeeab3663", 4096)},
                  {"test3.bin", sampleFile("5e621f2b6ce8fed7", 4096)},
                  {"test4.bin", sampleFile("2627f40180217252", 4096)}}},
        {.archive = "rar5-stored.rar",
         .tree = {{"helloworld.txt", sampleFile("fef9ad8cf601b43f", 29)}}},
        {.archive = "rar5-symlinks.rar",
         .tree = {{"file.txt", sampleFile("a883dafc480d466e", 5)},
                  {"symlink.txt", sampleLink("file.txt")},
                  {"dirlink", sampleLink("dir")},
                  {"dir", sampleFolder()}}},
        {.archive = "rar4-unicode-names.rar",
         .tree = {{"abcdefghijklmnopqrsテスト.txt", sampleFile("", 16)},
                  {"表だよ/漢字長いファイル名long-filename-in-漢字.txt", sampleFile("", 5)},
                  {"表だよ/新しいフォルダ/新規テキスト ドキュメント.txt",
                   sampleFile("e3b0c44298fc1c14", 0)},
                  {"表だよ/ファイル", sampleLink("漢字長いファイル名long-filename-in-漢字.txt")},
                  {"表だよ/新しいフォルダ", sampleFolder()},
                  {"表だよ", sampleFolder()}}},
        // Without a password the run ends at the first encrypted entry, saying so.
        {.archive = "rar4-encrypted-entries.rar",
         .tree = {{"a.txt", sampleFile("", 18)}},
         .endsWithError = true},
        {.archive = "rar4-multivolume.part0001.rar",
         .tree = {{"ppmd_lzss_conversion_test.txt", sampleFile("a0b8a5130c56577e", 241647978)},
                  {"LibarchiveAddingTest.html", sampleFile("", 20111)},
                  {"testlink", sampleLink("LibarchiveAddingTest.html")},
                  {"testdir/test.txt", sampleFile("", 20)},
                  {"testdir/LibarchiveAddingTest.html", sampleFile("", 20111)}},
         .volumeSet = true},
        // Cut short: its one entry's data runs past the end of the file.
        {.archive = "rar4-invalid.rar", .endsWithError = true},
        {.archive = "rar5-volumes.part01.rar", .tree = gameTree(), .game = true, .volumeSet = true},
        {.archive = "rar5-solid-bigdict.rar", .tree = gameTree(), .game = true},
        {.archive = "rar5-encrypted-data.rar",
         .password = "zenkor",
         .tree = gameTree(),
         .game = true},
        {.archive = "rar5-encrypted-headers.rar",
         .password = "zenkor",
         .tree = gameTree(),
         .game = true},
        // No password: not even a name can be read.
        {.archive = "rar5-encrypted-headers.rar", .endsWithError = true, .game = true},
        {.archive = "rar5-stored-crc.rar", .tree = gameTree(), .game = true},
        {.archive = "rar5-stored-blake2.rar", .tree = gameTree(), .game = true},
        {.archive = "rar5-stored-damaged.rar",
         .tree = withoutPath(gameTree(), damagedMap),
         .failing = {damagedMap},
         .game = true},
    };
}

// The rows that `keep` accepts, in the table's order.
template <typename Keep>
std::vector<RarSample> rarSamplesWhere(Keep keep)
{
    std::vector<RarSample> rows;
    for (RarSample& sample : rarSamples()) {
        if (std::invoke(keep, sample))
            rows.push_back(std::move(sample));
    }
    return rows;
}

// The first row for `archive`; a name missing from the table throws.
inline const RarSample& rarSample(const std::string& archive)
{
    static const std::vector<RarSample> table = rarSamples();
    for (const RarSample& sample : table) {
        if (sample.archive == archive)
            return sample;
    }
    throw std::out_of_range("no sample " + archive);
}
