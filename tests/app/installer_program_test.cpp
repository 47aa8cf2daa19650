#include "app/installer_program.h"
#include "dialogs/frm_change_dir.h"
#include "dialogs/frm_install.h"
#include "dialogs/frm_new_dir.h"
#include "installer_fixture.h"
#include "presentation/frm_view_nfo.h"

#include <QTimer>

namespace {

using InstallerProgramTest = InstallerFixture;

TEST_F(InstallerProgramTest, ExitEndsTheLoopAndDestroysEveryWindow)
{
    writeIni(workedExample());
    std::vector<bool> existedAtExit;
    QTimer::singleShot(0, [&] {
        existedAtExit = {frm_zenkor != nullptr, frm_install != nullptr, frm_ViewNfo != nullptr,
                         frm_ChangeDir != nullptr, frm_NewDir != nullptr, frm_zenkor->isVisible()};
        frm_zenkor->ExitClick();
    });
    EXPECT_EQ(runInstaller(), 0);

    EXPECT_EQ(existedAtExit, std::vector<bool>(6, true));
    EXPECT_EQ(frm_zenkor, nullptr);
    EXPECT_EQ(frm_install, nullptr);
    EXPECT_EQ(frm_ViewNfo, nullptr);
    EXPECT_EQ(frm_ChangeDir, nullptr);
    EXPECT_EQ(frm_NewDir, nullptr);
    // The music device was closed as the main window went.
    EXPECT_EQ(media.calls, (std::vector<std::string>{"open", "rewind", "play", "close"}));
}

TEST_F(InstallerProgramTest, FailedCreationStillShowsTheWindow)
{
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = frm_zenkor->isVisible() && frm_zenkor->height() == 180;
        frm_zenkor->ExitClick();
    });
    EXPECT_EQ(runInstaller(), 0);
    EXPECT_TRUE(shown);
    EXPECT_EQ(boxes.boxes.size(), 2u);
}

} // namespace
