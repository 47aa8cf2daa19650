#include "widgets/label.h"
#include "app/desktop_entry.h"
#include "app/program_launcher.h"
#include "dialogs/frm_change_dir.h"
#include "dialogs/modal_result.h"
#include "installer_fixture.h"
#include "tests/support/launch_recorder.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTest>
#include <QTimer>

#include <optional>

namespace {

struct FlowCase {
    const char* name;
    int result;
    const char* runProgram;
    std::optional<const char*> box;
    bool launches;
};

// The main window with the directory dialog it shows on Install.
class WindowAndDialogFixture : public InstallerFixture {
protected:
    void openWindows()
    {
        createWindow();
        changeDir = std::make_unique<Tfrm_ChangeDir>();
        frm_ChangeDir = changeDir.get();
        boxes.boxes.clear();
    }
    void TearDown() override
    {
        frm_ChangeDir = nullptr;
        changeDir.reset();
    }

    std::unique_ptr<Tfrm_ChangeDir> changeDir;
};

class InstallFlowTest : public WindowAndDialogFixture,
                        public testing::WithParamInterface<FlowCase> {
protected:
    void SetUp() override
    {
        writeIni(replacing(workedExample(), "RunProgram", GetParam().runProgram));
        openWindows();
    }

    LaunchRecorder launches{false}; // a failed start must stay silent
};

TEST_P(InstallFlowTest, ActsOnTheDialogsResult)
{
    const FlowCase& c = GetParam();
    // Ends the modal dialog once it is on the screen.
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (frm_ChangeDir->isVisible())
            frm_ChangeDir->done(c.result);
    });
    answer.start();
    runGuarded([] { frm_zenkor->InstallClick(); });

    if (c.box) {
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, QString::fromLatin1(*c.box));
        EXPECT_EQ(boxes.boxes[0].caption, u"Setup");
        EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::NoIcon);
        EXPECT_EQ(boxes.boxes[0].buttons, QMessageBox::Ok);
    } else {
        EXPECT_TRUE(boxes.boxes.empty());
    }
    if (c.launches) {
        ASSERT_EQ(launches.started.size(), 1u);
        const auto expected =
            launchRequestFor(frm_ChangeDir->GetDirectory(), QString::fromLatin1(c.runProgram));
        EXPECT_EQ(launches.started[0], *expected);
    } else {
        EXPECT_TRUE(launches.started.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Results, InstallFlowTest,
    testing::Values(
        FlowCase{"installed", mrOk, "bin\\start.sh --demo", "Program sucessfully installed!", true},
        FlowCase{"installed_nothing_to_start", mrOk, "", "Program sucessfully installed!", false},
        FlowCase{"failed", mrExtractFailed, "start.sh", "Error in RAR file!", false},
        FlowCase{"cancelled", mrCancel, "start.sh", std::nullopt, false},
        FlowCase{"other", mrNone, "start.sh", std::nullopt, false}),
    [](const testing::TestParamInfo<FlowCase>& info) { return std::string(info.param.name); });

struct MenuEntryCase {
    const char* name;
    std::optional<const char*> key; // DesktopEntry's value; nullopt: no such line
    int result;
    bool written;
};

// The menu entry is written after a successful install, and only when the
// package asks for it; otherwise nothing outside the install folder changes.
class MenuEntryTest : public WindowAndDialogFixture,
                      public testing::WithParamInterface<MenuEntryCase> {
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        QByteArray ini = replacing(workedExample(), "RunProgram", "bin/run game.sh --full");
        ini = replacing(ini, "GameTitle", "Some && Other Game");
        if (GetParam().key)
            ini += QByteArray("DesktopEntry=") + *GetParam().key + '\n';
        writeIni(ini);
        QFile icon(dir.filePath(QStringLiteral("setup.png")));
        ASSERT_TRUE(icon.open(QIODevice::WriteOnly));
        icon.write("the package's icon");
        icon.close();
        openWindows();
    }
    void TearDown() override
    {
        WindowAndDialogFixture::TearDown();
        qunsetenv("XDG_DATA_HOME");
    }

    QTemporaryDir dataHome;
    LaunchRecorder launches{true};
};

TEST_P(MenuEntryTest, WrittenOnlyWhenAskedForAndInstalled)
{
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (frm_ChangeDir->isVisible())
            frm_ChangeDir->done(GetParam().result);
    });
    answer.start();
    runGuarded([] { frm_zenkor->InstallClick(); });

    const QString entryPath =
        dataHome.filePath(QStringLiteral("applications/zenkor-some-other-game.desktop"));
    const QString iconPath = dataHome.filePath(QStringLiteral("icons/zenkor-some-other-game.png"));
    if (!GetParam().written) {
        EXPECT_TRUE(QDir(dataHome.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
        return;
    }
    QFile entry(entryPath);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(entry.readAll()).split(u'\n');
    const QString folder = frm_ChangeDir->GetDirectory();
    EXPECT_TRUE(lines.contains(u"[Desktop Entry]"));
    EXPECT_TRUE(lines.contains(u"Type=Application"));
    EXPECT_TRUE(lines.contains(u"Name=Some & Other Game"));
    EXPECT_TRUE(
        lines.contains(QStringLiteral("Exec=\"%1/bin/run\" \"game.sh\" \"--full\"").arg(folder)));
    EXPECT_TRUE(lines.contains(QStringLiteral("Path=%1/bin").arg(folder)));
    EXPECT_TRUE(lines.contains(QStringLiteral("Icon=") + iconPath));
    QFile icon(iconPath);
    ASSERT_TRUE(icon.open(QIODevice::ReadOnly));
    EXPECT_EQ(icon.readAll(), "the package's icon");
    EXPECT_EQ(boxes.boxes.size(), 1u) << "only the success box";
}

INSTANTIATE_TEST_SUITE_P(Keys, MenuEntryTest,
                         testing::Values(MenuEntryCase{"asked_installed", "1", mrOk, true},
                                         MenuEntryCase{"asked_failed", "1", mrExtractFailed, false},
                                         MenuEntryCase{"asked_cancelled", "1", mrCancel, false},
                                         MenuEntryCase{"not_asked", std::nullopt, mrOk, false},
                                         MenuEntryCase{"declined", "0", mrOk, false}),
                         [](const testing::TestParamInfo<MenuEntryCase>& info) {
                             return std::string(info.param.name);
                         });

// Exec takes each word in double quotes; inside them the entry format's
// reserved characters are escaped, and the value's backslashes once more.
TEST(DesktopExecValueTest, QuotesEveryWordSoTheMenuStartsWhatSetupWould)
{
    struct Row {
        LaunchRequest launch;
        const char* exec;
    };
    const Row rows[] = {
        {{"/home/u/My Games/run", {}, "/home/u/My Games"}, R"("/home/u/My Games/run")"},
        {{"/g/run", {"a\"b", "$HOME", "`id`", "100%", "C:\\x", "--f=%u"}, "/g"},
         R"("/g/run" "a\\"b" "\\$HOME" "\\`id\\`" "100%%" "C:\\\\x" "--f=%%u")"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DesktopExecValue(row.launch), QString::fromUtf8(row.exec)) << row.exec;
}

struct CommandCase {
    const char* folder;
    const char* command;
    std::optional<LaunchRequest> expected;
};

TEST(LaunchRequestTest, FirstWordIsTheProgramBelowTheFolder)
{
    const CommandCase cases[] = {
        {"/opt/g", "game.exe", LaunchRequest{"/opt/g/game.exe", {}, "/opt/g"}},
        {"/opt/g/", "game", LaunchRequest{"/opt/g/game", {}, "/opt/g"}},
        {"/opt/g", "bin\\run.sh -x \"a b\"",
         LaunchRequest{"/opt/g/bin/run.sh", {"-x", "a b"}, "/opt/g/bin"}},
        {"/opt/g", "\"my game\"  --full", LaunchRequest{"/opt/g/my game", {"--full"}, "/opt/g"}},
        {"/opt/g", "run.sh ;rm -rf x",
         LaunchRequest{"/opt/g/run.sh", {";rm", "-rf", "x"}, "/opt/g"}},
        {"/opt/g", "   ", std::nullopt},
        {"/opt/g", "\"\" arg", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(launchRequestFor(QString::fromLatin1(c.folder), QString::fromLatin1(c.command)),
                  c.expected)
            << c.command;
}

// The real launcher starts the program itself, in its own folder, with the
// words as plain arguments: nothing is handed to a shell.
TEST(ProgramLauncherTest, StartsDetachedWithoutAShell)
{
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("bin/report.sh"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("bin")));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"$a\"; done; } > \"$0.out.tmp\"\n"
               "mv \"$0.out.tmp\" \"$0.out\"\n");
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);

    const auto request =
        launchRequestFor(dir.path(), QStringLiteral("bin\\report.sh \"two words\" ;touch pwned"));
    ASSERT_TRUE(request);
    ASSERT_TRUE(programLauncher().start(*request));

    QFile out(script + QStringLiteral(".out"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return out.exists(); }, 10000));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), QDir(dir.filePath(QStringLiteral("bin"))).canonicalPath().toUtf8() +
                                 "\ntwo words\n;touch\npwned\n");
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("bin/pwned"))));
}

TEST(ProgramLauncherTest, MissingProgramReportsFailure)
{
    QTemporaryDir dir;
    EXPECT_FALSE(programLauncher().start(*launchRequestFor(dir.path(), QStringLiteral("absent"))));
}

} // namespace
