#include "app/installer_program.h"
#include "dialogs/frm_change_dir.h"
#include "dialogs/frm_install.h"
#include "volumes/free_space.h"
#include "dialogs/frm_new_dir.h"
#include "installer_fixture.h"
#include "presentation/frm_view_nfo.h"
#include "widgets/label.h"

#include <QThread>
#include <QTimer>

#include <functional>
#include <stdexcept>

namespace {

class InstallerProgramTest : public InstallerFixture {
protected:
    // Runs the program and clicks Exit from inside its message loop, after
    // `look` has seen the running program. Windows already process events
    // while they are created (the archive component's constructor does), so
    // the timer acts only once the loop runs; Exit is repeated until it ends.
    int runAndExit(const std::function<void()>& look)
    {
        QTimer exit;
        exit.setInterval(10);
        bool looked = false;
        QObject::connect(&exit, &QTimer::timeout, [&] {
            if (QThread::currentThread()->loopLevel() == 0)
                return;
            if (!looked) {
                looked = true;
                look();
            }
            frm_zenkor->ExitClick();
        });
        exit.start();
        const int result = runInstaller();
        // An Exit repeated before the loop ended leaves an end request
        // behind, which would end every later modal loop of the tests at once.
        QCoreApplication::removePostedEvents(nullptr, QEvent::Quit);
        return result;
    }
};

TEST_F(InstallerProgramTest, ExitEndsTheLoopAndDestroysEveryWindow)
{
    writeIni(workedExample());
    std::vector<bool> existed;
    EXPECT_EQ(runAndExit([&] {
                  existed = {frm_zenkor != nullptr,  frm_install != nullptr,
                             frm_ViewNfo != nullptr, frm_ChangeDir != nullptr,
                             frm_NewDir != nullptr,  frm_zenkor->isVisible()};
              }),
              0);

    EXPECT_EQ(existed, std::vector<bool>(6, true));
    EXPECT_EQ(frm_zenkor, nullptr);
    EXPECT_EQ(frm_install, nullptr);
    EXPECT_EQ(frm_ViewNfo, nullptr);
    EXPECT_EQ(frm_ChangeDir, nullptr);
    EXPECT_EQ(frm_NewDir, nullptr);
    // The music device was closed as the main window went.
    EXPECT_EQ(media.calls, (std::vector<std::string>{"open", "rewind", "play", "close"}));
}

// Started from another folder (a terminal, a launcher), setup moves to its
// own: a relative install path is taken there, and so are the NFO and music.
TEST_F(InstallerProgramTest, BeginsInItsOwnFolderWhereverItIsStartedFrom)
{
    writeIni(workedExample());
    const QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    QString current, installPath;
    runAndExit([&] {
        current = QDir::currentPath();
        installPath = frm_zenkor->InstallPath->text();
    });
    const QString own = QDir(dir.path()).canonicalPath();
    EXPECT_EQ(current, own);
    EXPECT_EQ(installPath, own + QStringLiteral("/Games/SomeGame"));
}

TEST_F(InstallerProgramTest, FailedCreationStillShowsTheWindow)
{
    bool shown = false;
    EXPECT_EQ(runAndExit([&] { shown = frm_zenkor->isVisible() && frm_zenkor->height() == 180; }),
              0);
    EXPECT_TRUE(shown);
    EXPECT_EQ(boxes.boxes.size(), 2u);
}

TEST_F(InstallerProgramTest, DirectoryDialogCreationErrorIsShownAndTheProgramRuns)
{
    writeIni(workedExample());
    SetFreeSpaceSource([](const QString&) -> std::optional<VolumeSpace> {
        throw std::runtime_error("volume unreadable");
    });
    bool created = false;
    EXPECT_EQ(runAndExit([&] { created = frm_ChangeDir && frm_NewDir && frm_zenkor->isVisible(); }),
              0);
    SetFreeSpaceSource({});
    EXPECT_TRUE(created);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("volume unreadable."));
}

} // namespace
