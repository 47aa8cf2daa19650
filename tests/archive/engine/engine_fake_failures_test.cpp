// The engine against the scripted fake RAR library when things go wrong:
// hostile names, a nested run, failing handlers, missing volumes.
#include "tests/archive/engine/engine_fake_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

TEST_F(UnrarFake, NamesClimbingOutOfTheTargetAreRefused)
{
    for (const char* name : {"../evil.txt", "sub/../../evil2.txt", "..\\evil3.txt", "good.txt"})
        fake.add(FakeFile(name, 4));
    rar.Extract();
    EXPECT_THAT(events.lines,
                ElementsAre("activate", "error 25143 ..\\evil.txt volume 0", "end fail ../evil.txt",
                            "error 25143 sub\\..\\..\\evil2.txt volume 0",
                            "end fail sub/../../evil2.txt", "error 25143 ..\\evil3.txt volume 0",
                            "end fail ../evil3.txt", "begin 1 ~/out/good.txt",
                            "progress 100 ~/out/good.txt", "end ok ~/out/good.txt", "deactivate"));
    int skips = 0;
    for (const std::string& call : calls())
        skips += call == "process 0 null null";
    EXPECT_EQ(skips, 3);
    for (const char* leaked : {"evil.txt", "evil2.txt", "evil3.txt", "out/evil.txt"})
        EXPECT_FALSE(std::filesystem::exists(box.root() + "/" + leaked)) << leaked;
}

TEST_F(UnrarFake, ExtractDuringARunReturnsAtOnce)
{
    fake.add(FakeFile("a.txt", 5));
    events.decideBegin = [this](const std::string&) {
        rar.Extract();
        TUnRAR other(nullptr);
        other.SetArchiveFile(box.archive());
        UnrarEvents otherEvents(other, box.root());
        other.Extract();
        EXPECT_THAT(otherEvents.lines, IsEmpty());
        return true;
    };
    rar.Extract();
    EXPECT_THAT(events.lines,
                ElementsAre("activate", "begin 1 ~/out/a.txt", "progress 100 ~/out/a.txt",
                            "end ok ~/out/a.txt", "deactivate"));
    EXPECT_EQ(fake.calls().size(), 7u);
    EXPECT_FALSE(TUnRAR::RunInProgress());
}

TEST_F(UnrarFake, HandlerExceptionsPassAfterCloseAndDeactivate)
{
    fake.add(FakeFile("a.txt", 5));
    fake.add(FakeFile("b.txt", 5));
    events.decideBegin = [](const std::string&) -> bool {
        throw std::runtime_error("begin failed");
    };
    EXPECT_THROW(rar.Extract(), std::runtime_error);
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/a.txt", "deactivate"));
    EXPECT_EQ(fake.calls().back(), "close");

    // From inside the library's data callback: the library is stopped first.
    fake.reset();
    events.lines.clear();
    events.decideBegin = nullptr;
    fake.add(FakeFile("a.txt", 5));
    events.whileProgress = [](const std::string&, uint8_t) {
        throw std::runtime_error("progress failed");
    };
    EXPECT_THROW(rar.Extract(), std::runtime_error);
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/a.txt",
                                          "progress 100 ~/out/a.txt", "deactivate"));
    EXPECT_EQ(fake.calls().back(), "close");
    EXPECT_FALSE(TUnRAR::RunInProgress());
}

// A file the library answered success for must stand under its own name
// when its folder is checked after the run has left it: one renamed on the
// way ends the run there, naming it.
TEST_F(UnrarFake, FileNotUnderItsNameWhenItsFolderIsCheckedEndsTheRun)
{
    for (const char* name : {"sub/a.txt", "sub/b.txt", "sub/c.txt", "d.txt"})
        fake.add(FakeFile(name, 4));
    const std::string renamed = box.out() + "sub/b.txt";
    events.whileProgress = [&](const std::string& fn, uint8_t) {
        if (fn == renamed)
            std::filesystem::rename(fn, box.out() + "sub/B.txt");
    };
    rar.Extract();
    EXPECT_THAT(events.lines,
                ElementsAre("activate", "begin 1 ~/out/sub/a.txt", "progress 100 ~/out/sub/a.txt",
                            "end ok ~/out/sub/a.txt", "begin 2 ~/out/sub/b.txt",
                            "progress 100 ~/out/sub/b.txt", "end ok ~/out/sub/b.txt",
                            "begin 3 ~/out/sub/c.txt", "progress 100 ~/out/sub/c.txt",
                            "end ok ~/out/sub/c.txt", "error 25115 b.txt volume 0", "deactivate"));
    EXPECT_TRUE(rar.RunFailed());
    EXPECT_FALSE(std::filesystem::exists(box.out() + "d.txt"));
}

TEST_F(UnrarFake, MissingVolumeWithoutHandlerFailsTheEntry)
{
    rar.OnNextVolume = nullptr;
    FakeEntry split = FakeFile("big.bin", 10);
    split.missingVolume = box.root() + "/test.part2.rar";
    fake.add(split);
    fake.add(FakeFile("after.bin", 10));
    rar.Extract();
    // One message naming the volume; the entries after it are not tried.
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/big.bin",
                                          "error 25132 test.part2.rar volume 0", "deactivate"));
    EXPECT_EQ(calls().back(), "close");
    EXPECT_TRUE(rar.RunFailed());
}

// What every entry would meet ends the run before the first one, with one
// message naming the archive or the target folder; an archive from an
// archiver that writes no end block is whole when its blocks end the file.
TEST_F(UnrarFake, CutArchivesAndUnwritableTargetsEndTheRunBeforeAnyEntry)
{
    const std::string marker("Rar!\x1a\x07\x00", 7);
    const std::string mainHeader("\xcf\x90\x73\x00\x00\x0d\x00\x00\x00\x00\x00\x00\x00", 13);
    // A file header without a name: flags, packed size, version to extract.
    auto fileHeader = [](const std::string& flags, const std::string& packed, char version) {
        return std::string("\0\0\x74", 3) + flags + std::string("\x20\0", 2) + packed +
               std::string(9, '\0') + std::string(4, '\0') + version + std::string("\x30", 1) +
               std::string(6, '\0');
    };
    const std::string noData(4, '\0');
    struct Row {
        const char* what;
        std::string archive;
        bool targetIsAFile;
        const char* error; // nullptr: the entries are read
    };
    const std::vector<Row> rows = {
        {"data cut short", marker + mainHeader + fileHeader({"\0\x80", 2}, {"\x64\0\0\0", 4}, 20),
         false, "error 25126 test.rar volume 0"},
        {"3.0 marks, no end block", marker + mainHeader + fileHeader({"\0\x90", 2}, noData, 20),
         false, "error 25126 test.rar volume 0"},
        {"version 2.9, no end block", marker + mainHeader + fileHeader({"\0\x80", 2}, noData, 29),
         false, "error 25126 test.rar volume 0"},
        {"older archiver", marker + mainHeader + fileHeader({"\0\x80", 2}, noData, 20), false,
         nullptr},
        {"RAR 5 without end header", std::string("Rar!\x1a\x07\x01\x00", 8), false,
         "error 25126 test.rar volume 0"},
        {"a file where the target belongs", "", true, "error 25119 out volume 0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fake.reset();
        events.lines.clear();
        fake.add(FakeFile("a.txt", 4));
        if (row.archive.empty())
            box.writeArchive(EngineSandbox::kWholeArchive);
        else
            box.writeArchive(row.archive);
        if (row.targetIsAFile) {
            std::filesystem::remove_all(box.out());
            std::ofstream(box.root() + "/out") << "not a folder";
        }
        rar.Extract();
        if (row.error) {
            EXPECT_THAT(events.lines, ElementsAre("activate", row.error, "deactivate"));
            EXPECT_THAT(calls(), ElementsAre(openCall(), "close"));
        } else {
            EXPECT_THAT(events.lines, Contains("end ok ~/out/a.txt"));
        }
        EXPECT_EQ(rar.RunFailed(), row.error != nullptr);
    }
}

TEST_F(UnrarFake, MissingVolumeHandlerCancelsOrPointsToTheFolder)
{
    FakeEntry split = FakeFile("big.bin", 10);
    split.missingVolume = "test.part2.rar";
    fake.add(split);
    events.decideVolume = [](std::string&, std::string&) { return true; };
    rar.Extract();
    EXPECT_THAT(events.lines,
                ElementsAre("activate", "begin 1 ~/out/big.bin", "volume ~ test.part2.rar 0",
                            "error 25132 test.part2.rar volume 0", "deactivate"));

    // The owner names the folder that holds the volume: it becomes current.
    std::filesystem::create_directories(box.root() + "/disk2");
    std::ofstream(box.root() + "/disk2/test.part2.rar") << "volume";
    fake.reset();
    fake.add(split);
    events.lines.clear();
    std::filesystem::current_path(box.root()); // the cancelled ask moved it up
    events.decideVolume = [this](std::string& dir, std::string&) {
        dir = box.root() + "/disk2/";
        return false;
    };
    rar.Extract();
    EXPECT_THAT(events.lines,
                ElementsAre("activate", "begin 1 ~/out/big.bin", "volume ~ test.part2.rar 0",
                            "progress 100 ~/out/big.bin", "end ok ~/out/big.bin", "deactivate"));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(box.root() + "/disk2"));
    // The library is handed the volume's new path, so it opens that file.
    EXPECT_THAT(calls(), Contains("volume ask test.part2.rar -> 1 ~/disk2/test.part2.rar"));
}

} // namespace
