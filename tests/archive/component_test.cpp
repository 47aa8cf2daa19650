#include "archive/engine/file_found.h"
#include "base/process_messages.h"
#include "archive/un_base.h"
#include "tests/archive/archive_files.h"
#include "tests/support/current_directory_guard.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using namespace archive_files;
using namespace std::string_literals;

namespace {

// A member that records its runs instead of extracting.
class RecordingMember final : public TUnBase {
public:
    using TUnBase::TUnBase;
    int runs = 0;
    TCpuType cpuAtRun = TCpuType::cptAuto;

protected:
    void ExtractArchive() override
    {
        ++runs;
        cpuAtRun = CpuType();
    }
};

struct ErrorCall {
    std::string fn;
    std::string volume;
    int32_t code;
};

// Counts the hook's calls for the length of a test.
class HookCounter {
public:
    HookCounter()
    {
        SetProcessMessagesHook([this] { ++calls; });
    }
    ~HookCounter() { SetProcessMessagesHook(nullptr); }
    HookCounter(const HookCounter&) = delete;
    HookCounter& operator=(const HookCounter&) = delete;
    int calls = 0;
};

} // namespace

TEST(UnBaseComponent, ValuesAfterConstruction)
{
    HookCounter hook;
    RecordingMember member(nullptr);
    EXPECT_EQ(hook.calls, 1) << "the constructor clears Cancel through its setter";
    EXPECT_EQ(member.About(), "(ZKR)");
    EXPECT_EQ(member.ArchiveFile(), "");
    EXPECT_EQ(member.ArcType(), TArcType::atNA);
    EXPECT_EQ(member.ArchiveOffset(), -1);
    EXPECT_EQ(member.CpuType(), TCpuType::cptAuto);
    EXPECT_EQ(member.FileSpec(), "*.*");
    EXPECT_EQ(member.ProgressNotify(), TProgressNotify::Ten);
    EXPECT_TRUE(member.UseStoredDirs());
    EXPECT_EQ(member.ExtractDir(), "");
    EXPECT_FALSE(member.Cancel());
    EXPECT_EQ(member.CommentAllowance(), 0);
    EXPECT_EQ(member.FileAttributes().Mask(), 0x21);
    EXPECT_FALSE(member.OnError || member.OnProgress || member.OnBegin || member.OnEnd);
    EXPECT_EQ(ProgressStepPercent(TProgressNotify::Five), 5);
    EXPECT_EQ(ProgressStepPercent(TProgressNotify::TwentyFive), 25);
}

TEST(UnBaseComponent, SetterSideEffects)
{
    RecordingMember member(nullptr);
    member.SetAbout("someone else");
    EXPECT_EQ(member.About(), "(ZKR)");

    member.SetFileSpec("sub/*.txt");
    EXPECT_EQ(member.FileSpec(), "sub/*.txt");
    member.SetFileSpec("sub\\*.txt");
    EXPECT_EQ(member.FileSpec(), "sub/*.txt");
    member.SetFileSpec("");
    EXPECT_EQ(member.FileSpec(), "") << "an empty FileSpec set at run time stays empty";
    member.AfterLoad();
    EXPECT_EQ(member.FileSpec(), "*.*") << "a stored layout never leaves it empty";

    member.SetExtractDir("/opt\\games");
    EXPECT_EQ(member.ExtractDir(), "/opt\\games/") << "a chosen folder is never split at \\";
    member.SetExtractDir("/");
    EXPECT_EQ(member.ExtractDir(), "/");
}

TEST(UnBaseComponent, CancelAndProgressProcessWindowMessages)
{
    RecordingMember member(nullptr);
    HookCounter hook;
    member.SetCancel(true);
    EXPECT_EQ(hook.calls, 1);
    EXPECT_TRUE(member.Cancel());
    EXPECT_EQ(member.ArchiveFile(), "");
    EXPECT_FALSE(member.Cancel()) << "reading ArchiveFile withdraws the cancel request";
    EXPECT_EQ(hook.calls, 2);

    std::vector<std::pair<std::string, int>> reports;
    member.SetFileName("/x/a.txt");
    member.DoProgress(40);
    EXPECT_EQ(hook.calls, 3) << "messages are processed even without a handler";
    member.OnProgress = [&](TObject* sender, const std::string& fn, uint8_t percent) {
        EXPECT_EQ(sender, &member);
        reports.emplace_back(fn, percent);
    };
    member.DoProgress(100);
    EXPECT_EQ(hook.calls, 4);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], std::make_pair(std::string("/x/a.txt"), 100));
}

TEST(UnBaseComponent, ErrorsReportedAndRaised)
{
    RecordingMember member(nullptr);
    EXPECT_NO_THROW(member.ReportError("/a/b.rar", "0", 25132)) << "no handler: nothing visible";
    try {
        member.RaiseError("/a/b.rar", "0", 25117);
        FAIL() << "RaiseError returned";
    } catch (const E_RAISE& e) {
        EXPECT_STREQ(e.what(), "Error closing file");
    }

    std::vector<ErrorCall> calls;
    member.OnError = [&](TObject* sender, const std::string& fn, const std::string& volume,
                         int32_t code) {
        EXPECT_EQ(sender, &member);
        calls.push_back({fn, volume, code});
    };
    member.ReportError("/a/b.rar", "0", 25115);
    EXPECT_THROW(member.RaiseError("c.rar", "0", 25116), E_RAISE);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].fn, "b.rar");
    EXPECT_EQ(calls[0].volume, "0");
    EXPECT_EQ(calls[0].code, 25115);
    EXPECT_EQ(calls[1].code, 25116);
    try {
        member.RaiseError("c.rar", "0", 25116);
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "") << "a code without a row has an empty text";
    }
}

TEST(UnBaseComponent, ExtractReplacesTheLastCpuHint)
{
    RecordingMember member(nullptr);
    member.SetCpuType(TCpuType::cpt80486);
    member.Extract();
    EXPECT_EQ(member.runs, 1);
    EXPECT_EQ(member.cpuAtRun, TCpuType::cptAuto);
    member.SetCpuType(TCpuType::cpt80386);
    member.Extract();
    EXPECT_EQ(member.cpuAtRun, TCpuType::cpt80386);
}

TEST(UnBaseComponent, ArchiveFileNormalisesDetectsAndMovesTheCurrentDirectory)
{
    TempFolder folder;
    CurrentDirectoryGuard keepDirectory;
    const std::string rar =
        WriteBytes(folder / "setup/game.rar", FromText("Rar!\x1a\x07\x00 and more"s));
    RecordingMember member(nullptr);

    std::string backslashed = rar;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    member.SetArchiveFile(backslashed);
    EXPECT_EQ(member.ArchiveFile(), rar);
    EXPECT_EQ(member.ArcType(), TArcType::atRAR);
    EXPECT_EQ(member.ArchiveOffset(), 0);
    EXPECT_EQ(std::filesystem::current_path(), folder.path() / "setup");

    member.SetArcType(TArcType::atZIP);
    EXPECT_EQ(member.ArcType(), TArcType::atRAR) << "a written type is discarded";

    // A name without a folder leaves the current directory where it is.
    std::filesystem::current_path(folder.path());
    member.SetArchiveFile("game.rar");
    EXPECT_EQ(member.ArcType(), TArcType::atFileError);
    EXPECT_EQ(std::filesystem::current_path(), folder.path());

    member.SetArchiveFile("");
    EXPECT_EQ(member.ArcType(), TArcType::atNA);
    EXPECT_EQ(member.ArchiveOffset(), -1);

    // A folder is no archive.
    member.SetArchiveFile(folder.path().string());
    EXPECT_EQ(member.ArcType(), TArcType::atFileError);
}

TEST(UnBaseComponent, BuildDestPathFallsBackToTheArchiveFolderThenTheCurrentDirectory)
{
    TempFolder folder;
    CurrentDirectoryGuard keepDirectory;
    WriteBytes(folder / "pkg/game.rar", FromText("Rar!\x1a\x07\x00"s));
    RecordingMember member(nullptr);

    member.BuildDestPath("");
    EXPECT_EQ(member.FileName(), "");

    std::filesystem::current_path(folder.path());
    member.SetArchiveFile("pkg/game.rar");
    member.BuildDestPath("data/a.map"); // the engine hands names with native separators
    EXPECT_EQ(member.ExtractDir(), "pkg/");
    EXPECT_EQ(member.FileName(), "/pkg/data/a.map")
        << "an unrooted folder gets a leading separator";

    RecordingMember plain(nullptr);
    std::filesystem::current_path(folder.path());
    plain.SetArchiveFile("setup.rar");
    plain.SetExtractDir("");
    EXPECT_EQ(plain.ExtractDir(), "");
    plain.SetUseStoredDirs(false);
    plain.BuildDestPath("data/a.map");
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(plain.ExtractDir(), here + "/");
    EXPECT_EQ(plain.FileName(), here + "/a.map");
    EXPECT_EQ(member.DosDateToDateTime(0), 29221.0);
}

TEST(FileFound, FilesFoldersAndWildcards)
{
    TempFolder folder;
    WriteBytes(folder / "data/a.txt", FromText("x"));
    const std::string root = folder.path().string();
    EXPECT_TRUE(FileFound(root + "/data/a.txt"));
    EXPECT_TRUE(FileFound(root + "/data")) << "a folder counts";
    EXPECT_TRUE(FileFound(root + "/data/*.txt"));
    EXPECT_TRUE(FileFound(root + "/data/?.TXT"));
    EXPECT_FALSE(FileFound(root + "/data/*.doc"));
    EXPECT_FALSE(FileFound(root + "/data/b.txt"));
    EXPECT_FALSE(FileFound(root + "/missing/*.*"));
    EXPECT_FALSE(FileFound(""));
}
