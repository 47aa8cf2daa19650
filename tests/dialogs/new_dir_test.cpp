#include "widgets/picture.h"
#include "dialog_driver.h"
#include "dialogs/frm_new_dir.h"
#include "dialogs/modal_result.h"
#include "layout_check.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Suggestion {
    const char* path;
    const char* name;
};

class NewDirSuggestion : public ::testing::TestWithParam<Suggestion> {};

TEST_P(NewDirSuggestion, FillsTheFieldWithTheLastComponent)
{
    Tfrm_NewDir dialog;
    dialog.edt_NewDir->setText(QStringLiteral("typed last time"));
    dialog.SetNewDir(QString::fromLatin1(GetParam().path));
    EXPECT_EQ(dialog.GetNewDir(), QString::fromLatin1(GetParam().name));
}

INSTANTIATE_TEST_SUITE_P(Paths, NewDirSuggestion,
                         ::testing::Values(Suggestion{"/opt/games/Zenkor", "Zenkor"},
                                           Suggestion{"C:\\Games\\Zenkor", "Zenkor"},
                                           Suggestion{"/opt/games/", ""},
                                           Suggestion{"C:\\Games\\", ""}, Suggestion{"C:", ""},
                                           Suggestion{"D:Zenkor", "Zenkor"},
                                           Suggestion{"Zenkor", "Zenkor"}, Suggestion{"", ""}));

TEST(NewDirDialog, LayoutAsDesigned)
{
    Tfrm_NewDir d;
    expectDesignedLayout(d, "New Directory", {319, 66},
                         {{"edt_NewDir", d.edt_NewDir, {8, 8, 305, 21}},
                          {"img_cancel", d.img_cancel, {10, 33, 119, 32}},
                          {"img_ok", d.img_ok, {234, 33, 79, 33}},
                          {"img_cancel2", d.img_cancel2, {10, 33, 119, 32}},
                          {"img_ok2", d.img_ok2, {234, 33, 79, 33}}});
}

TEST(NewDirDialog, CentredAtTheFirstShowingThenKeepsItsPlace)
{
    Tfrm_NewDir dialog;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    driver::runModal(&dialog, [&] {
        // Within rounding of the halves.
        EXPECT_LE((dialog.frameGeometry().center() - screen.center()).manhattanLength(), 2);
        dialog.move(40, 50);
        dialog.CancelClick();
    });
    driver::runModal(&dialog, [&] {
        EXPECT_EQ(dialog.pos(), QPoint(40, 50));
        dialog.CancelClick();
    });
}

TEST(NewDirDialog, NameIsReturnedExactlyAsTyped)
{
    Tfrm_NewDir dialog;
    dialog.edt_NewDir->setText(QStringLiteral("  two words  "));
    EXPECT_EQ(dialog.GetNewDir(), QStringLiteral("  two words  "));
}

TEST(NewDirDialog, ResultsOfEachWayOut)
{
    Tfrm_NewDir dialog;
    EXPECT_EQ(driver::runModal(&dialog, [&] { driver::click(dialog.img_ok2); }), mrOk);
    EXPECT_EQ(driver::runModal(&dialog, [&] { driver::click(dialog.img_ok); }), mrOk);
    EXPECT_EQ(driver::runModal(&dialog, [&] { driver::click(dialog.img_cancel); }), mrCancel);
    EXPECT_EQ(driver::runModal(&dialog, [&] { driver::click(dialog.img_cancel2); }), mrCancel);
    EXPECT_EQ(driver::runModal(&dialog, [&] { dialog.close(); }), mrCancel);
}

TEST(NewDirDialog, OkWithAnEmptyFieldStillGivesOne)
{
    Tfrm_NewDir dialog;
    dialog.SetNewDir(QStringLiteral("/opt/"));
    EXPECT_EQ(driver::runModal(&dialog, [&] { driver::click(dialog.img_ok2); }), mrOk);
}

TEST(NewDirDialog, EnterAndEscapeDoNotClose)
{
    Tfrm_NewDir dialog;
    const int result = driver::runModal(&dialog, [&] {
        QTest::keyClick(dialog.edt_NewDir, Qt::Key_Return);
        QTest::keyClick(dialog.edt_NewDir, Qt::Key_Escape);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(result, -1); // still open when the driver closed it
}

TEST(NewDirDialog, OkIsLitAndThePointerIsTheHandFromCreation)
{
    Tfrm_NewDir dialog;
    EXPECT_FALSE(dialog.img_ok2->isHidden());
    EXPECT_TRUE(dialog.img_cancel2->isHidden());
    EXPECT_EQ(dialog.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("New Directory"));
    EXPECT_EQ(dialog.img_ok2->toolTip(), QStringLiteral("Create the Directory/Folder"));
    EXPECT_EQ(dialog.img_cancel2->toolTip(), QStringLiteral("Cancel"));
}

TEST(NewDirDialog, HoverTable)
{
    struct Row {
        const char* over;
        std::function<void(Tfrm_NewDir&)> move;
        bool cancelLit;
        bool okLit;
        Qt::CursorShape cursor;
    };
    const std::vector<Row> rows = {
        {"background",
         [](Tfrm_NewDir& d) {
             driver::hoverAt(&d, {160, 31});
         },
         false, false, Qt::ArrowCursor},
        {"cancel", [](Tfrm_NewDir& d) { driver::hover(d.img_cancel); }, true, false,
         Qt::PointingHandCursor},
        {"ok", [](Tfrm_NewDir& d) { driver::hover(d.img_ok); }, false, true,
         Qt::PointingHandCursor},
        {"ok lit", [](Tfrm_NewDir& d) { driver::hover(d.img_ok2); }, false, true,
         Qt::PointingHandCursor},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.over);
        Tfrm_NewDir dialog;
        dialog.img_ok2->hide();
        dialog.img_cancel2->show();
        dialog.setCursor(Qt::IBeamCursor);
        row.move(dialog);
        EXPECT_EQ(!dialog.img_cancel2->isHidden(), row.cancelLit);
        EXPECT_EQ(!dialog.img_ok2->isHidden(), row.okLit);
        EXPECT_EQ(dialog.cursor().shape(), row.cursor);
    }
}

TEST(NewDirDialog, MovesOverTheFieldOrTheLitCancelChangeNothing)
{
    Tfrm_NewDir dialog;
    dialog.CancelMouseMove();
    driver::hover(dialog.img_cancel2);
    driver::hover(dialog.edt_NewDir);
    EXPECT_FALSE(dialog.img_cancel2->isHidden());
    EXPECT_EQ(dialog.cursor().shape(), Qt::PointingHandCursor);
}

TEST(NewDirDialog, LitTwinAndCursorPersistAcrossShowings)
{
    Tfrm_NewDir dialog;
    driver::runModal(&dialog, [&] {
        driver::hoverAt(&dialog, {160, 31});
        driver::hover(dialog.img_cancel);
        driver::click(dialog.img_cancel2);
    });
    driver::runModal(&dialog, [&] {
        EXPECT_FALSE(dialog.img_cancel2->isHidden());
        EXPECT_TRUE(dialog.img_ok2->isHidden());
        EXPECT_EQ(dialog.cursor().shape(), Qt::PointingHandCursor);
        dialog.CancelClick();
    });
}

} // namespace
