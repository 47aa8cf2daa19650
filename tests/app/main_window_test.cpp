#include "widgets/label.h"
#include "widgets/picture.h"
#include "dialogs/frm_change_dir.h"
#include "dialogs/modal_result.h"
#include "installer_fixture.h"
#include "presentation/frm_view_nfo.h"

#include <QTest>
#include <QTimer>

namespace {

class HoverTest : public InstallerFixture {
protected:
    void SetUp() override
    {
        writeIni(workedExample());
        createWindow();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void moveTo(QPoint position) { QTest::mouseMove(window->windowHandle(), position); }

    std::vector<bool> twinsShown() const
    {
        return {window->img_install2->isVisible(), window->img_nfo2->isVisible(),
                window->img_exit2->isVisible()};
    }
};

TEST_F(HoverTest, OneTwinLightsPerButtonAndTheBackgroundClearsThem)
{
    const struct {
        const char* place;
        QPoint position;
        std::vector<bool> shown;
        Qt::CursorShape cursor;
    } steps[] = {
        {"install", {550, 160}, {true, false, false}, Qt::PointingHandCursor},
        {"nfo", {550, 190}, {false, true, false}, Qt::PointingHandCursor},
        {"exit", {550, 230}, {false, false, true}, Qt::PointingHandCursor},
        {"background", {600, 246}, {false, false, false}, Qt::ArrowCursor},
        {"exit again", {610, 220}, {false, false, true}, Qt::PointingHandCursor},
        {"header", {100, 60}, {false, false, false}, Qt::ArrowCursor},
        {"install again", {620, 170}, {true, false, false}, Qt::PointingHandCursor},
        // A label runs no handler: the lit twin and the hand stay.
        {"title line", {200, 190}, {true, false, false}, Qt::PointingHandCursor},
        {"credit line", {560, 5}, {true, false, false}, Qt::PointingHandCursor},
    };
    for (const auto& step : steps) {
        moveTo(step.position);
        EXPECT_EQ(twinsShown(), step.shown) << step.place;
        EXPECT_EQ(window->cursor().shape(), step.cursor) << step.place;
    }
}

TEST_F(HoverTest, OnlyTheLitTwinsCarryHints)
{
    EXPECT_EQ(window->img_install2->toolTip(), u"Install Program");
    EXPECT_EQ(window->img_nfo2->toolTip(), u"View NFO File");
    EXPECT_EQ(window->img_exit2->toolTip(), u"Leave ZenkoR Installer");
    for (const TPicture* plain :
         {window->img_install, window->img_nfo, window->img_exit, window->Image})
        EXPECT_TRUE(plain->toolTip().isEmpty());
}

// Clicks go through the guard: a failing handler ends in the standard error
// box and the window goes on.
class ClickTest : public HoverTest {
protected:
    void click(QPoint position)
    {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, position);
    }
};

TEST_F(ClickTest, NfoWithoutTheFileShowsTheError)
{
    Tfrm_ViewNfo viewer;
    frm_ViewNfo = &viewer;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    click({550, 190});
    QDir::setCurrent(previous);
    frm_ViewNfo = nullptr;

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, u"Cannot open file zenkor.nfo.");
    EXPECT_EQ(boxes.boxes[0].caption, u"Setup");
    EXPECT_TRUE(window->isVisible());
}

TEST_F(ClickTest, InstallAfterAnEarlyStopFailsBeforeTheDialogOpens)
{
    ASSERT_TRUE(QDir(dir.path()).remove(QStringLiteral("install.ini")));
    createWindow(); // again, now without install.ini
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    Tfrm_ChangeDir dialog;
    frm_ChangeDir = &dialog;
    boxes.boxes.clear();
    click({550, 160});
    frm_ChangeDir = nullptr;

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, u"'SpaceRequired' is not a valid integer value.");
    EXPECT_FALSE(dialog.isVisible());
}

// Enter on the main window does what a click on Install does; Alt+F4
// closes it as the window manager's close does.
TEST_F(ClickTest, EnterOpensTheDialogAndAltF4Closes)
{
    Tfrm_ChangeDir dialog;
    frm_ChangeDir = &dialog;
    bool opened = false;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (dialog.isVisible()) {
            opened = true;
            dialog.done(mrCancel);
        }
    });
    answer.start();
    QTest::keyClick(window.get(), Qt::Key_Return);
    frm_ChangeDir = nullptr;
    EXPECT_TRUE(opened);
    EXPECT_TRUE(boxes.boxes.empty());

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(window->isVisible());
}

using MainWindowTest = InstallerFixture;

TEST_F(MainWindowTest, HeaderLetsTheWindowColourShowThrough)
{
    window = std::make_unique<Tfrm_zenkor>();
    ASSERT_EQ(window->Image->picture().size(), QSize(594, 171));
    const QImage screen = window->grab().toImage();
    // The header's black shows the maroon window; its lettering stays.
    EXPECT_EQ(QColor(screen.pixel(24, 8 + 168)), QColor(128, 0, 0));
    EXPECT_EQ(QColor(screen.pixel(24 + 593, 8 + 100)), QColor(128, 0, 0));
    int lettering = 0;
    for (int x = 24; x < 24 + 594; ++x)
        lettering += QColor(screen.pixel(x, 8 + 60)) != QColor(128, 0, 0);
    EXPECT_GT(lettering, 100);
}

TEST_F(MainWindowTest, ButtonPicturesAndLayoutAsDesigned)
{
    window = std::make_unique<Tfrm_zenkor>();
    const Tfrm_zenkor& w = *window;
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.windowTitle(), u"Install Program");
    const struct {
        TPicture* normal;
        TPicture* lit;
        QRect place;
        QSize picture;
    } buttons[] = {
        {w.img_install, w.img_install2, {536, 152, 97, 25}, {99, 28}},
        {w.img_nfo, w.img_nfo2, {536, 184, 73, 25}, {79, 29}},
        {w.img_exit, w.img_exit2, {536, 216, 81, 25}, {77, 30}},
    };
    const QObjectList& stack = w.children();
    for (const auto& b : buttons) {
        EXPECT_EQ(b.normal->geometry(), b.place);
        EXPECT_EQ(b.lit->geometry(), b.place);
        EXPECT_EQ(b.normal->picture().size(), b.picture);
        EXPECT_EQ(b.lit->picture().size(), b.picture);
        EXPECT_NE(b.normal->picture(), b.lit->picture());
        EXPECT_FALSE(b.lit->isVisibleTo(&w));
        EXPECT_LT(stack.indexOf(b.normal), stack.indexOf(b.lit));
    }
    // The title paints over the buttons, the lit twins over the title.
    EXPECT_LT(stack.indexOf(w.img_nfo), stack.indexOf(w.lbl_GameTitle));
    EXPECT_LT(stack.indexOf(w.lbl_GameTitle), stack.indexOf(w.img_install2));
    EXPECT_EQ(w.StaticText3->text(), u"v.0.98");
    EXPECT_EQ(w.StaticText3->textColour(), QColor(192, 192, 192));
    EXPECT_EQ(w.StaticText1->geometry(), QRect(552, 0, 86, 17));
}

} // namespace
