// The engine against the scripted fake RAR library: exact event orders and
// library calls.
#include "base/process_messages.h"
#include "tests/archive/engine/engine_fake_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

TEST_F(UnrarFake, FolderAndTwoFilesFireEventsInOrderAndCountEntries)
{
    fake.add(FakeFolder("docs"));
    FakeEntry first = FakeFile("docs/a.txt", 100);
    first.blocks = {30, 70};
    fake.add(first);
    fake.add(FakeFile("b.txt", 10));
    rar.Extract();

    EXPECT_THAT(events.lines,
                ElementsAre("activate", "begin 1 ~/out/docs/a.txt", "progress 30 ~/out/docs/a.txt",
                            "progress 100 ~/out/docs/a.txt", "end ok ~/out/docs/a.txt",
                            "begin 2 ~/out/b.txt", "progress 100 ~/out/b.txt", "end ok ~/out/b.txt",
                            "deactivate"));
    EXPECT_THAT(calls(),
                ElementsAre(openCall(), "set data callback", "set volume callback",
                            "read -> 0 docs", "process 0 null null", "read -> 0 docs/a.txt",
                            "process 2 \"~/out/\" \"~/out/docs/a.txt\"", "read -> 0 b.txt",
                            "process 2 \"~/out/\" \"~/out/b.txt\"", "read -> 10", "close"));
    EXPECT_TRUE(std::filesystem::exists(box.out() + "docs/a.txt"));
    EXPECT_TRUE(std::filesystem::exists(box.out() + "b.txt"));
}

TEST_F(UnrarFake, MissingLibraryReportsOnceAndNothingElse)
{
    BindRarLibrary({box.root() + "/nowhere/libunrar.so"});
    fake.add(FakeFile("a.txt", 1));
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("error 25158 test.rar volume 0"));
    EXPECT_THAT(fake.calls(), IsEmpty());
}

TEST_F(UnrarFake, PreconditionsFailBeforeActivation)
{
    rar.SetArchiveFile("");
    rar.Extract();
    std::ofstream(box.root() + "/plain.txt") << "not an archive at all";
    rar.SetArchiveFile(box.root() + "/plain.txt");
    rar.Extract();
    rar.SetArchiveFile(box.root() + "/absent.rar");
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("error 25143  volume 0", "error 25142 plain.txt volume 0",
                                          "error 25142 absent.rar volume 0"));
    EXPECT_THAT(fake.calls(), IsEmpty());
}

TEST_F(UnrarFake, OpenFailureDeactivatesWithoutClosing)
{
    fake.setOpenResult(ERAR_BAD_ARCHIVE);
    rar.Extract();
    EXPECT_THAT(events.lines,
                ElementsAre("activate", "error 25142 test.rar volume 0", "deactivate"));
    EXPECT_THAT(calls(), ElementsAre(openCall()));
}

TEST_F(UnrarFake, PlainFileSpecExtractsOnlyTheFirstMatchAndStops)
{
    for (const char* name : {"a.txt", "sub/b.txt", "c.txt", "sub/b.txt"})
        fake.add(FakeFile(name, 0));
    rar.SetFileSpec("sub\\B.TXT");
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/sub/b.txt",
                                          "end ok ~/out/sub/b.txt", "deactivate"));
    EXPECT_THAT(calls(),
                ElementsAre(openCall(), "set data callback", "set volume callback",
                            "read -> 0 a.txt", "process 0 null null", "read -> 0 sub/b.txt",
                            "process 2 \"~/out/\" \"~/out/sub/b.txt\"", "close"));
}

TEST_F(UnrarFake, PlainFileSpecDeclinedByBeginEndsWithoutSkipping)
{
    fake.add(FakeFile("a.txt", 4));
    fake.add(FakeFile("b.txt", 4));
    rar.SetFileSpec("a.txt");
    events.decideBegin = [](const std::string&) { return false; };
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/a.txt", "deactivate"));
    EXPECT_THAT(calls(), ElementsAre(openCall(), "set data callback", "set volume callback",
                                     "read -> 0 a.txt", "close"));
}

// Window messages are processed when the run clears Cancel and after every
// progress report, so the owner can repaint and take a Cancel click.
TEST_F(UnrarFake, WindowMessagesArePumpedAtStartAndAfterEachReport)
{
    FakeEntry entry = FakeFile("a.txt", 100);
    entry.blocks = {50, 50};
    fake.add(entry);
    rar.OnActivate = [this](TObject*) {
        events.lines.push_back("activate");
        SetProcessMessagesHook([this] { events.lines.push_back("pump"); });
    };
    rar.Extract();
    SetProcessMessagesHook(nullptr);
    EXPECT_THAT(events.lines,
                ElementsAre("activate", "pump", "begin 1 ~/out/a.txt", "progress 50 ~/out/a.txt",
                            "pump", "progress 100 ~/out/a.txt", "pump", "end ok ~/out/a.txt",
                            "deactivate"));
}

TEST_F(UnrarFake, EmptyFileSpecMatchesNothing)
{
    fake.add(FakeFile("a.txt", 4));
    rar.SetFileSpec("");
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "deactivate"));
}

TEST_F(UnrarFake, EmptyEntryHasNoProgressAndOneBlockEntryOne)
{
    fake.add(FakeFile("empty.txt", 0));
    fake.add(FakeFile("one.txt", 4096));
    rar.Extract();
    EXPECT_THAT(events.lines,
                ElementsAre("activate", "begin 1 ~/out/empty.txt", "end ok ~/out/empty.txt",
                            "begin 2 ~/out/one.txt", "progress 100 ~/out/one.txt",
                            "end ok ~/out/one.txt", "deactivate"));
}

// Each entry's reports for its block sizes, the step and the percentage the
// previous entry left behind, all seen through OnProgress.
TEST_F(UnrarFake, ProgressFollowsTheStepRule)
{
    struct Case {
        TProgressNotify notify;
        unsigned int size;
        std::vector<unsigned int> blocks;
        std::vector<int> reported;
    };
    const std::vector<Case> cases = {
        {TProgressNotify::Ten, 1000, {370, 370, 260}, {100}},   // 37 and 74 are no multiples
        {TProgressNotify::Ten, 1000, {400, 1, 599}, {40, 100}}, // 40 once, not again
        {TProgressNotify::Ten, 1000, {5, 995}, {0, 100}},       // 0 after the previous 100
        {TProgressNotify::Five, 200, {10, 10, 180}, {5, 10, 100}},
        {TProgressNotify::TwentyFive, 100, {20, 30, 25, 25}, {50, 75, 100}},
        {TProgressNotify::Ten, 4294967295u, {2147483647, 2147483647, 1}, {100}}, // 49 and 99
        {TProgressNotify::Ten, 4294967295u, {1717986918, 1, 2147483647, 429496729}, {40, 90, 100}},
    };
    for (const Case& c : cases) {
        fake.reset();
        events.lines.clear();
        std::filesystem::remove(box.out() + "f.bin");
        FakeEntry entry = FakeFile("f.bin", c.size);
        entry.blocks = c.blocks;
        fake.add(entry);
        rar.SetProgressNotify(c.notify);
        rar.Extract();
        std::vector<std::string> expected{"activate", "begin 1 ~/out/f.bin"};
        for (int percent : c.reported)
            expected.push_back("progress " + std::to_string(percent) + " ~/out/f.bin");
        expected.insert(expected.end(), {"end ok ~/out/f.bin", "deactivate"});
        EXPECT_THAT(events.lines, ElementsAreArray(expected)) << "size " << c.size;
    }
}

TEST_F(UnrarFake, EncryptedEntryWithoutPasswordEndsTheRunWithItsName)
{
    rar.OnGetPassword = nullptr;
    FakeEntry secret = FakeFile("secret.txt", 8);
    secret.flags = RHDF_ENCRYPTED;
    fake.add(secret);
    fake.add(FakeFile("plain.txt", 8));
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/secret.txt",
                                          "error 25190 secret.txt volume 0", "deactivate"));
    EXPECT_THAT(calls(), ElementsAre(openCall(), "set data callback", "set volume callback",
                                     "read -> 0 secret.txt", "close"));
    EXPECT_FALSE(std::filesystem::exists(box.out() + "secret.txt"));
}

TEST_F(UnrarFake, PasswordIsSetBeforeEveryEncryptedEntryOnly)
{
    rar.OnGetPassword = nullptr;
    rar.SetPassword("secret");
    FakeEntry locked = FakeFile("b.txt", 8);
    locked.flags = RHDF_ENCRYPTED;
    fake.add(FakeFile("a.txt", 8));
    fake.add(locked);
    locked.name = "c.txt";
    fake.add(locked);
    rar.Extract();
    // Once before the first header (headers may be encrypted), then before
    // every encrypted entry.
    EXPECT_THAT(calls(),
                ElementsAre(openCall(), "set data callback", "set volume callback",
                            "password \"secret\"", "read -> 0 a.txt",
                            "process 2 \"~/out/\" \"~/out/a.txt\"", "read -> 0 b.txt",
                            "password \"secret\"", "process 2 \"~/out/\" \"~/out/b.txt\"",
                            "read -> 0 c.txt", "password \"secret\"",
                            "process 2 \"~/out/\" \"~/out/c.txt\"", "read -> 10", "close"));
}

TEST_F(UnrarFake, PasswordHandlerCanSupplyOrRefuse)
{
    FakeEntry locked = FakeFile("b.txt", 8);
    locked.flags = RHDF_ENCRYPTED;
    fake.add(locked);
    events.decidePassword = [](std::string& password) {
        password = "typed";
        return true;
    };
    rar.Extract();
    EXPECT_THAT(events.lines,
                ElementsAre("activate", "begin 1 ~/out/b.txt", "password b.txt []",
                            "progress 100 ~/out/b.txt", "end ok ~/out/b.txt", "deactivate"));
    EXPECT_EQ(rar.Password(), "typed");

    events.lines.clear();
    events.decidePassword = [](std::string&) { return false; };
    rar.Extract();
    EXPECT_THAT(events.lines,
                ElementsAre("activate", "exists ~/out/b.txt 29221", "begin 1 ~/out/b.txt",
                            "password b.txt [typed]", "error 25190 b.txt volume 0", "deactivate"));
}

TEST_F(UnrarFake, DeclinedExistingFileIsSkippedAndTheNextHandled)
{
    std::ofstream(box.out() + "a.txt") << "old";
    fake.add(FakeFile("a.txt", 3));
    fake.add(FakeFile("b.txt", 3));
    events.decideExists = [](const std::string&) { return false; };
    rar.Extract();
    EXPECT_THAT(events.lines,
                ElementsAre("activate", "exists ~/out/a.txt 29221", "begin 1 ~/out/b.txt",
                            "progress 100 ~/out/b.txt", "end ok ~/out/b.txt", "deactivate"));
    EXPECT_EQ(calls()[4], "process 0 null null");
    std::ifstream kept(box.out() + "a.txt");
    std::string content;
    kept >> content;
    EXPECT_EQ(content, "old");
}

TEST_F(UnrarFake, FailedEntryIsReportedAndTheRunGoesOn)
{
    struct Case {
        int libraryCode;
        int message;
    };
    for (const Case c :
         {Case{ERAR_EWRITE, 25115}, Case{ERAR_UNKNOWN, 0}, Case{ERAR_BAD_DATA, 25120}}) {
        fake.reset();
        events.lines.clear();
        std::filesystem::remove(box.out() + "a.txt"); // the fake leaves what it made
        std::filesystem::remove(box.out() + "b.txt");
        FakeEntry failing = FakeFile("a.txt", 0);
        failing.extractResult = c.libraryCode;
        fake.add(failing);
        fake.add(FakeFile("b.txt", 0));
        rar.Extract();
        EXPECT_THAT(events.lines,
                    ElementsAre("activate", "begin 1 ~/out/a.txt",
                                "error " + std::to_string(c.message) + " a.txt volume 0",
                                "end fail ~/out/a.txt", "begin 2 ~/out/b.txt", "end ok ~/out/b.txt",
                                "deactivate"));
    }
}

// Cancel stops the file being written through the data callback; what the
// library had written of it goes, and the run ends without another call.
TEST_F(UnrarFake, CancelFromProgressStopsTheEntryBeingWrittenAndRemovesIt)
{
    FakeEntry big = FakeFile("a.txt", 10);
    big.blocks = {5, 5};
    fake.add(big);
    fake.add(FakeFile("b.txt", 10));
    events.whileProgress = [this](const std::string&, uint8_t) { rar.SetCancel(true); };
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/a.txt",
                                          "progress 50 ~/out/a.txt", "deactivate"));
    EXPECT_THAT(calls(),
                ElementsAre(openCall(), "set data callback", "set volume callback",
                            "read -> 0 a.txt", "process 2 \"~/out/\" \"~/out/a.txt\"", "close"));
    EXPECT_FALSE(std::filesystem::exists(box.out() + "a.txt"));
    EXPECT_FALSE(rar.RunFailed());
}

TEST_F(UnrarFake, BlanksAndControlCharactersAroundNamesAreKept)
{
    fake.add(FakeFile(" \t spaced name.txt \r\n", 0));
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/ \t spaced name.txt \r\n",
                                          "end ok ~/out/ \t spaced name.txt \r\n", "deactivate"));
}

TEST_F(UnrarFake, DamagedHeaderAfterGoodEntriesIsReported)
{
    fake.add(FakeFile("a.txt", 0));
    fake.add(FakeFile("b.txt", 0));
    fake.add(FakeFile("c.txt", 0));
    fake.damagedHeaderAfter(2);
    std::vector<std::string> callsAtError;
    rar.OnError = [this, &callsAtError,
                   report = rar.OnError](TObject* sender, const std::string& fn,
                                         const std::string& volume, int32_t code) {
        callsAtError = calls();
        report(sender, fn, volume, code);
    };
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/a.txt", "end ok ~/out/a.txt",
                                          "begin 2 ~/out/b.txt", "end ok ~/out/b.txt",
                                          "error 25108 test.rar volume 0", "deactivate"));
    EXPECT_TRUE(rar.RunFailed());
    EXPECT_EQ(calls().back(), "close");
    // Reported while the archive is still open.
    EXPECT_THAT(callsAtError, Not(Contains("close")));
}

// Folder entries are told by the header's directory flag alone, whatever the
// attribute word looks like; they are made as folders and fire no events.
TEST_F(UnrarFake, FolderEntriesAreToldByTheFlagAlone)
{
    struct Entry {
        const char* name;
        unsigned int flags, hostOS, attr;
    };
    const Entry entries[] = {
        {"dos-dir", 0, 0, 0x10},       {"win-dir", 0, 2, 0x10},       {"unix-dir", 0, 3, 0x41ED},
        {"flag-dir", 0x20, 3, 0x41ED}, {"g664.txt", 0, 3, 0x81B4},    {"x775.sh", 0, 3, 0x81FD},
        {"win.txt", 0, 2, 0x21},       {"unix644.txt", 0, 3, 0x81A4},
    };
    for (const Entry& e : entries) {
        FakeEntry entry = FakeFile(e.name, 0);
        entry.flags = e.flags;
        entry.hostOS = e.hostOS;
        entry.fileAttr = e.attr;
        fake.add(entry);
    }
    rar.Extract();
    EXPECT_THAT(events.lines,
                ElementsAre("activate", "begin 1 ~/out/dos-dir", "end ok ~/out/dos-dir",
                            "begin 2 ~/out/win-dir", "end ok ~/out/win-dir",
                            "begin 3 ~/out/unix-dir", "end ok ~/out/unix-dir",
                            "begin 4 ~/out/g664.txt", "end ok ~/out/g664.txt",
                            "begin 5 ~/out/x775.sh", "end ok ~/out/x775.sh",
                            "begin 6 ~/out/win.txt", "end ok ~/out/win.txt",
                            "begin 7 ~/out/unix644.txt", "end ok ~/out/unix644.txt", "deactivate"));
    EXPECT_TRUE(std::filesystem::is_directory(box.out() + "flag-dir"));
    EXPECT_TRUE(std::filesystem::is_regular_file(box.out() + "unix-dir"));
    EXPECT_EQ(rar.FoldersMade(), 1);
}

} // namespace
