// The engine against the scripted fake RAR library: exact event orders and
// library calls.
#include "archive/process_messages.h"
#include "archive/rar_library.h"
#include "archive/unrar.h"
#include "tests/support/engine_sandbox.h"
#include "tests/support/fake_rar.h"
#include "tests/support/unrar_events.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

class UnrarFake : public ::testing::Test {
protected:
    UnrarFake()
    {
        BindRarLibrary({fake.path()});
        fake.reset();
        rar.SetExtractDir(box.out());
        rar.SetArchiveFile(box.archive());
    }
    ~UnrarFake() override { ReleaseRarLibrary(); }

    // The recorded library calls with the sandbox folder written as "~".
    std::vector<std::string> calls() const
    {
        std::vector<std::string> lines = fake.calls();
        for (std::string& line : lines) {
            for (size_t at; (at = line.find(box.root())) != std::string::npos;)
                line.replace(at, box.root().size(), "~");
        }
        return lines;
    }

    std::string openCall() const { return "open \"~/test.rar\" mode 1 comment 16384"; }

    EngineSandbox box;
    FakeRar fake;
    TUnRAR rar{nullptr};
    UnrarEvents events{rar, box.root()};
};

TEST_F(UnrarFake, FolderAndTwoFilesFireEventsInOrderAndCountEntries)
{
    fake.add(FakeFolder("docs"));
    FakeEntry first = FakeFile("docs/a.txt", 100);
    first.blocks = {30, 70};
    fake.add(first);
    fake.add(FakeFile("b.txt", 10));
    rar.Extract();

    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/docs/a.txt", "progress 30 ~/out/docs/a.txt",
                                          "progress 100 ~/out/docs/a.txt", "end ok ~/out/docs/a.txt",
                                          "begin 2 ~/out/b.txt", "progress 100 ~/out/b.txt", "end ok ~/out/b.txt",
                                          "deactivate"));
    EXPECT_THAT(calls(), ElementsAre(openCall(), "set data callback", "set volume callback", "read -> 0 docs",
                                     "process 0 null null", "read -> 0 docs/a.txt",
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
    EXPECT_THAT(events.lines, ElementsAre("activate", "error 25142 test.rar volume 0", "deactivate"));
    EXPECT_THAT(calls(), ElementsAre(openCall()));
}

TEST_F(UnrarFake, PlainFileSpecExtractsOnlyTheFirstMatchAndStops)
{
    for (const char* name : {"a.txt", "sub/b.txt", "c.txt", "sub/b.txt"})
        fake.add(FakeFile(name, 0));
    rar.SetFileSpec("sub\\B.TXT");
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/sub/b.txt", "end ok ~/out/sub/b.txt", "deactivate"));
    EXPECT_THAT(calls(), ElementsAre(openCall(), "set data callback", "set volume callback", "read -> 0 a.txt",
                                     "process 0 null null", "read -> 0 sub/b.txt",
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
    EXPECT_THAT(calls(), ElementsAre(openCall(), "set data callback", "set volume callback", "read -> 0 a.txt", "close"));
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
    EXPECT_THAT(events.lines, ElementsAre("activate", "pump", "begin 1 ~/out/a.txt", "progress 50 ~/out/a.txt", "pump",
                                          "progress 100 ~/out/a.txt", "pump", "end ok ~/out/a.txt", "deactivate"));
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
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/empty.txt", "end ok ~/out/empty.txt",
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
        {TProgressNotify::Ten, 1000, {370, 370, 260}, {100}},          // 37 and 74 are no multiples
        {TProgressNotify::Ten, 1000, {400, 1, 599}, {40, 100}},         // 40 once, not again
        {TProgressNotify::Ten, 1000, {5, 995}, {0, 100}},               // 0 after the previous 100
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

TEST_F(UnrarFake, EncryptedFirstEntryWithoutPasswordEndsTheRunSilently)
{
    rar.OnGetPassword = nullptr;
    FakeEntry secret = FakeFile("secret.txt", 8);
    secret.flags = RHDF_ENCRYPTED;
    fake.add(secret);
    fake.add(FakeFile("plain.txt", 8));
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "deactivate"));
    EXPECT_THAT(calls(), ElementsAre(openCall(), "set data callback", "set volume callback", "read -> 0 secret.txt", "close"));
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
    EXPECT_THAT(calls(), ElementsAre(openCall(), "set data callback", "set volume callback", "password \"secret\"",
                                     "read -> 0 a.txt",
                                     "process 2 \"~/out/\" \"~/out/a.txt\"", "read -> 0 b.txt", "password \"secret\"",
                                     "process 2 \"~/out/\" \"~/out/b.txt\"", "read -> 0 c.txt", "password \"secret\"",
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
    EXPECT_THAT(events.lines, ElementsAre("activate", "password b.txt []", "begin 1 ~/out/b.txt",
                                          "progress 100 ~/out/b.txt", "end ok ~/out/b.txt", "deactivate"));
    EXPECT_EQ(rar.Password(), "typed");

    events.lines.clear();
    events.decidePassword = [](std::string&) { return false; };
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "password b.txt [typed]", "deactivate"));
}

TEST_F(UnrarFake, DeclinedExistingFileIsSkippedAndTheNextHandled)
{
    std::ofstream(box.out() + "a.txt") << "old";
    fake.add(FakeFile("a.txt", 3));
    fake.add(FakeFile("b.txt", 3));
    events.decideExists = [](const std::string&) { return false; };
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "exists ~/out/a.txt 29221", "begin 1 ~/out/b.txt",
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
    for (const Case c : {Case{ERAR_EWRITE, 25115}, Case{ERAR_UNKNOWN, 0}, Case{ERAR_BAD_DATA, 25108}}) {
        fake.reset();
        events.lines.clear();
        std::filesystem::remove(box.out() + "b.txt");
        FakeEntry failing = FakeFile("a.txt", 0);
        failing.extractResult = c.libraryCode;
        fake.add(failing);
        fake.add(FakeFile("b.txt", 0));
        rar.Extract();
        EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/a.txt",
                                              "error " + std::to_string(c.message) + " a.txt volume 0",
                                              "end fail ~/out/a.txt", "begin 2 ~/out/b.txt", "end ok ~/out/b.txt",
                                              "deactivate"));
    }
}

TEST_F(UnrarFake, CancelFromProgressFinishesTheEntryAndStopsAtTheNext)
{
    fake.add(FakeFile("a.txt", 10));
    fake.add(FakeFile("b.txt", 10));
    events.whileProgress = [this](const std::string&, uint8_t) { rar.SetCancel(true); };
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/a.txt", "progress 100 ~/out/a.txt",
                                          "end ok ~/out/a.txt", "deactivate"));
    EXPECT_THAT(calls(), ElementsAre(openCall(), "set data callback", "set volume callback", "read -> 0 a.txt",
                                     "process 2 \"~/out/\" \"~/out/a.txt\"", "read -> 0 b.txt", "close"));
}

TEST_F(UnrarFake, BlanksAndControlCharactersAroundNamesAreDropped)
{
    fake.add(FakeFile(" \t spaced name.txt \r\n", 0));
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/spaced name.txt",
                                          "end ok ~/out/spaced name.txt", "deactivate"));
}

TEST_F(UnrarFake, DamagedHeaderAfterGoodEntriesIsReported)
{
    fake.add(FakeFile("a.txt", 0));
    fake.add(FakeFile("b.txt", 0));
    fake.add(FakeFile("c.txt", 0));
    fake.damagedHeaderAfter(2);
    std::vector<std::string> callsAtError;
    rar.OnError = [this, &callsAtError, report = rar.OnError](TObject* sender, const std::string& fn,
                                                              const std::string& volume, int32_t code) {
        callsAtError = calls();
        report(sender, fn, volume, code);
    };
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/a.txt", "end ok ~/out/a.txt",
                                          "begin 2 ~/out/b.txt", "end ok ~/out/b.txt",
                                          "error 25108 b.txt volume 0", "deactivate"));
    EXPECT_EQ(calls().back(), "close");
    // Reported while the archive is still open.
    EXPECT_THAT(callsAtError, Not(Contains("close")));
}

// Folder entries are told by the flag or by the attribute word as the host
// writes it; Unix files whose mode has bit 0x10 are files.
TEST_F(UnrarFake, FolderEntriesAreToldByFlagOrHostAttributes)
{
    struct Entry {
        const char* name;
        unsigned int flags, hostOS, attr;
    };
    const Entry entries[] = {
        {"dos-dir", 0, 0, 0x10},       {"win-dir", 0, 2, 0x10},        {"unix-dir", 0, 3, 0x41ED},
        {"flag-dir", 0x20, 3, 0x41ED}, {"g664.txt", 0, 3, 0x81B4},     {"x775.sh", 0, 3, 0x81FD},
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
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/g664.txt", "end ok ~/out/g664.txt",
                                          "begin 2 ~/out/x775.sh", "end ok ~/out/x775.sh", "begin 3 ~/out/win.txt",
                                          "end ok ~/out/win.txt", "begin 4 ~/out/unix644.txt",
                                          "end ok ~/out/unix644.txt", "deactivate"));
}

TEST_F(UnrarFake, NamesClimbingOutOfTheTargetAreRefused)
{
    for (const char* name : {"../evil.txt", "sub/../../evil2.txt", "..\\evil3.txt", "good.txt"})
        fake.add(FakeFile(name, 4));
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "error 25143 evil.txt volume 0", "end fail ../evil.txt",
                                          "error 25143 evil2.txt volume 0", "end fail sub/../../evil2.txt",
                                          "error 25143 evil3.txt volume 0", "end fail ../evil3.txt",
                                          "begin 1 ~/out/good.txt", "progress 100 ~/out/good.txt",
                                          "end ok ~/out/good.txt", "deactivate"));
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
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/a.txt", "progress 100 ~/out/a.txt",
                                          "end ok ~/out/a.txt", "deactivate"));
    EXPECT_EQ(fake.calls().size(), 7u);
    EXPECT_FALSE(TUnRAR::RunInProgress());
}

TEST_F(UnrarFake, HandlerExceptionsPassAfterCloseAndDeactivate)
{
    fake.add(FakeFile("a.txt", 5));
    fake.add(FakeFile("b.txt", 5));
    events.decideBegin = [](const std::string&) -> bool { throw std::runtime_error("begin failed"); };
    EXPECT_THROW(rar.Extract(), std::runtime_error);
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/a.txt", "deactivate"));
    EXPECT_EQ(fake.calls().back(), "close");

    // From inside the library's data callback: the library is stopped first.
    fake.reset();
    events.lines.clear();
    events.decideBegin = nullptr;
    fake.add(FakeFile("a.txt", 5));
    events.whileProgress = [](const std::string&, uint8_t) { throw std::runtime_error("progress failed"); };
    EXPECT_THROW(rar.Extract(), std::runtime_error);
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/a.txt", "progress 100 ~/out/a.txt", "deactivate"));
    EXPECT_EQ(fake.calls().back(), "close");
    EXPECT_FALSE(TUnRAR::RunInProgress());
}

TEST_F(UnrarFake, MissingVolumeWithoutHandlerFailsTheEntry)
{
    rar.OnNextVolume = nullptr;
    FakeEntry split = FakeFile("big.bin", 10);
    split.missingVolume = box.root() + "/test.part2.rar";
    fake.add(split);
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/big.bin", "error 25132 test.rar volume 0",
                                          "error 25135 big.bin volume 0", "end fail ~/out/big.bin", "deactivate"));
}

TEST_F(UnrarFake, MissingVolumeHandlerCancelsOrPointsToTheFolder)
{
    FakeEntry split = FakeFile("big.bin", 10);
    split.missingVolume = "test.part2.rar";
    fake.add(split);
    events.decideVolume = [](std::string&, std::string&) { return true; };
    rar.Extract();
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/big.bin", "volume ~ test.part2.rar 0",
                                          "error 25135 big.bin volume 0", "end fail ~/out/big.bin", "deactivate"));

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
    EXPECT_THAT(events.lines, ElementsAre("activate", "begin 1 ~/out/big.bin", "volume ~ test.part2.rar 0",
                                          "progress 100 ~/out/big.bin", "end ok ~/out/big.bin", "deactivate"));
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(box.root() + "/disk2"));
    // The library is handed the volume's new path, so it opens that file.
    EXPECT_THAT(calls(), Contains("volume ask test.part2.rar -> 1 ~/disk2/test.part2.rar"));
}

} // namespace
