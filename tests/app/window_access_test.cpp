// What a screen reader, a keyboard user and a second monitor get from the
// windows: the accessible tree, Tab and Space, keys held down, modal windows
// kept in front, dialogs on their owner's screen, one installer at a time.
#include "app/installer_instance.h"
#include "dialogs/drive_list.h"
#include "dialogs/folder_tree.h"
#include "dialogs/frm_change_dir.h"
#include "dialogs/frm_install.h"
#include "dialogs/frm_new_dir.h"
#include "dialogs/modal_result.h"
#include "installer_fixture.h"
#include "presentation/frm_view_nfo.h"
#include "tests/dialogs/dialog_driver.h"
#include "widgets/label.h"
#include "widgets/picture.h"
#include "widgets/window_placement.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <map>
#include <string>
#include <vector>

namespace {

std::string roleName(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
        return "button";
    case QAccessible::StaticText:
        return "text";
    case QAccessible::EditableText:
        return "edit";
    case QAccessible::ProgressBar:
        return "progress";
    case QAccessible::ComboBox:
        return "combo";
    case QAccessible::Tree:
        return "tree";
    case QAccessible::Window:
        return "window";
    case QAccessible::Dialog:
        return "dialog";
    default:
        return std::to_string(int(role));
    }
}

// The window's tree one level deep as a screen reader lists it: role, name,
// and "[press]" for each control that can be pressed.
std::vector<std::string> readTree(QWidget& window)
{
    QAccessibleInterface* top = QAccessible::queryAccessibleInterface(&window);
    std::vector<std::string> read{roleName(top->role()) + " " +
                                  top->text(QAccessible::Name).toStdString()};
    for (int i = 0; i < top->childCount(); ++i) {
        QAccessibleInterface* child = top->child(i);
        EXPECT_EQ(top->indexOfChild(child), i);
        std::string line =
            roleName(child->role()) + " " + child->text(QAccessible::Name).toStdString();
        if (QAccessibleActionInterface* actions = child->actionInterface();
            actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
            line += " [press]";
        read.push_back(line);
    }
    return read;
}

// A press as assistive technology gives it, then the events it queued.
void pressThroughAccessibility(TPicture* face)
{
    QAccessible::queryAccessibleInterface(face)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
}

class WindowAccessTest : public InstallerFixture {
protected:
    void SetUp() override
    {
        writeIni(workedExample());
        createWindow();
    }

    // Shows a window without a modal loop and makes it the active one.
    static void showActive(QWidget& shown)
    {
        shown.show();
        shown.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&shown));
    }

    // A key as the window system delivers it to the focused control.
    static void sendKey(QEvent::Type type, int key, bool repeated, quint64 timestamp = 0,
                        const QString& text = {})
    {
        QKeyEvent event(type, key, Qt::NoModifier, text, repeated);
        event.setTimestamp(timestamp);
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QApplication::sendEvent(target, &event);
    }
};

TEST_F(WindowAccessTest, EachWindowReadsAsItShows)
{
    Tfrm_ChangeDir changeDir;
    changeDir.SetSpaceRequired(QStringLiteral("650"));
    Tfrm_install install;
    Tfrm_NewDir newDir;
    const struct {
        QWidget* window;
        std::vector<std::string> read;
    } windows[] = {
        // The header and the values kept below the visible area are left
        // out; each button is read once, by its hint.
        {window.get(),
         {"window Install Program", "text code: zenkor", "text gfx: zenkor art", "text v.0.98",
          "button Install Program [press]", "text Some Game", "button View NFO File [press]",
          "text Action game for one or two players", "button Leave ZenkoR Installer [press]",
          "text Requires a 3D accelerator", "text Press Install to begin"}},
        // The drive list reads as the drive it shows, as lists do here.
        {&changeDir,
         {"dialog Select Install Directory",
          "combo " + changeDir.DriveComboBox->currentText().toStdString() + " [press]",
          "text Free Space:", "text " + changeDir.lbl_FreeSpace->text().toStdString(),
          "text Sapce Required:", "text 650 MB", "tree Folder",
          "button Create a new Directory/Folder [press]", "button Cancel Install [press]",
          "button install program [press]"}},
        {&install,
         {"dialog Install ", "text Extracing:", "text ", "progress Progress",
          "button Cancel Installation [press]", "button Extract Files [press]"}},
        {&newDir,
         {"dialog New Directory", "edit New Directory", "button Cancel [press]",
          "button Create the Directory/Folder [press]"}},
    };
    for (const auto& w : windows)
        EXPECT_EQ(readTree(*w.window), w.read) << w.window->windowTitle().toStdString();
}

TEST_F(WindowAccessTest, PressingThroughAccessibilityDoesWhatAClickDoes)
{
    Tfrm_NewDir newDir;
    EXPECT_EQ(driver::runModal(&newDir, [&] { pressThroughAccessibility(newDir.img_ok); }), mrOk);
    EXPECT_EQ(driver::runModal(&newDir, [&] { pressThroughAccessibility(newDir.img_cancel); }),
              mrCancel);

    // Extract's face has no click of its own; the press is the lit twin's.
    Tfrm_install install;
    install.SetRarFile(dir.filePath(QStringLiteral("missing.rar")));
    boxes.boxes.clear();
    driver::runModal(&install, [&] { pressThroughAccessibility(install.img_extract); });
    ASSERT_FALSE(boxes.boxes.empty());
    EXPECT_TRUE(boxes.boxes[0].text.startsWith(u"missing.rar: error("))
        << boxes.boxes[0].text.toStdString();

    // A failing handler ends in the standard error box, as after a click.
    Tfrm_ViewNfo viewer;
    frm_ViewNfo = &viewer;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    boxes.boxes.clear();
    pressThroughAccessibility(window->img_nfo);
    QDir::setCurrent(previous);
    frm_ViewNfo = nullptr;
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, u"Cannot open file zenkor.nfo.");
}

TEST_F(WindowAccessTest, TabGoesInReadingOrderAndSpacePressesTheFocusedButton)
{
    Tfrm_ChangeDir changeDir;
    Tfrm_install install;
    Tfrm_NewDir newDir;
    const std::map<const QWidget*, std::string> names = {
        {window->img_install, "install"},
        {window->img_nfo, "nfo"},
        {window->img_exit, "exit"},
        {changeDir.DriveComboBox, "drive"},
        {changeDir.DirectoryListBox, "tree"},
        {changeDir.img_MakeDir, "make dir"},
        {changeDir.img_cancel, "cancel"},
        {changeDir.img_install, "install"},
        {install.img_cancel, "cancel"},
        {install.img_extract, "extract"},
        {newDir.edt_NewDir, "edit"},
        {newDir.img_cancel, "cancel"},
        {newDir.img_ok, "ok"},
    };
    const auto focused = [&] {
        const auto found = names.find(QApplication::focusWidget());
        return found == names.end() ? std::string("?") : found->second;
    };
    const struct {
        QWidget* window;
        std::vector<std::string> order; // from the first focus, Tab after Tab
    } windows[] = {
        {window.get(), {"install", "nfo", "exit", "install"}},
        {&changeDir, {"drive", "tree", "make dir", "cancel", "install", "drive"}},
        {&install, {"cancel", "extract", "cancel"}},
        {&newDir, {"edit", "cancel", "ok", "edit"}},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.window->windowTitle().toStdString());
        showActive(*w.window);
        std::vector<std::string> order{focused()};
        for (size_t i = 1; i < w.order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order.push_back(focused());
        }
        EXPECT_EQ(order, w.order);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_EQ(focused(), w.order[w.order.size() - 2]);
        w.window->hide();
    }

    // Space on the focused Ok ends the dialog as a click on Ok does.
    showActive(newDir);
    newDir.img_ok->setFocus(Qt::TabFocusReason);
    QTest::keyClick(newDir.img_ok, Qt::Key_Space);
    EXPECT_FALSE(newDir.isVisible());
    EXPECT_EQ(newDir.result(), mrOk);
}

TEST_F(WindowAccessTest, TheFocusMarkShowsOnlyWhenTheFocusCameFromTheKeyboard)
{
    showActive(*window);
    TPicture* install = window->img_install;
    ASSERT_TRUE(install->hasFocus());
    const QImage mouseLook = install->grab().toImage();
    EXPECT_FALSE(install->showsFocusMark());

    QTest::keyClick(install, Qt::Key_Tab);
    QTest::keyClick(window->img_nfo, Qt::Key_Backtab);
    ASSERT_TRUE(install->hasFocus());
    EXPECT_TRUE(install->showsFocusMark());
    EXPECT_NE(install->grab().toImage(), mouseLook);
    // The lit twin, on top under the pointer, carries the mark too.
    window->img_install2->show();
    EXPECT_TRUE(window->img_install2->showsFocusMark());

    // Shown again, the window starts with the mouse look.
    window->hide();
    showActive(*window);
    EXPECT_FALSE(install->showsFocusMark());
}

// A key held down in one window reaches the next as repeated presses: none
// of them acts. The X server's repeat is a release and a press with one time
// stamp, which counts as repeated even when the toolkit did not mark it.
TEST_F(WindowAccessTest, AKeyHeldDownActsNowhere)
{
    Tfrm_ChangeDir dialog;
    frm_ChangeDir = &dialog;
    int opened = 0;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (dialog.isVisible()) {
            ++opened;
            dialog.done(mrCancel);
        }
    });
    answer.start();
    showActive(*window);
    const struct {
        const char* keys;
        std::function<void()> send;
        int opened;
    } cases[] = {
        {"repeated Enter", [] { sendKey(QEvent::KeyPress, Qt::Key_Return, true); }, 0},
        {"release and press at one time stamp",
         [] {
             sendKey(QEvent::KeyRelease, Qt::Key_Return, false, 5000);
             sendKey(QEvent::KeyPress, Qt::Key_Return, false, 5000);
         },
         0},
        {"fresh Enter after its release",
         [] { sendKey(QEvent::KeyPress, Qt::Key_Return, false, 5090); }, 1},
        {"repeated Space on Install", [] { sendKey(QEvent::KeyPress, Qt::Key_Space, true); }, 0},
        {"fresh Space on Install", [] { sendKey(QEvent::KeyPress, Qt::Key_Space, false); }, 1},
    };
    for (const auto& c : cases) {
        opened = 0;
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->img_install->setFocus();
        c.send();
        EXPECT_EQ(opened, c.opened) << c.keys;
    }
    frm_ChangeDir = nullptr;

    // The start-up box stays until Enter is pressed anew.
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Setup"),
                    QStringLiteral("No music file was given."), QMessageBox::Ok);
    showActive(box);
    sendKey(QEvent::KeyPress, Qt::Key_Return, true);
    EXPECT_TRUE(box.isVisible());
    sendKey(QEvent::KeyPress, Qt::Key_Return, false);
    EXPECT_FALSE(box.isVisible());

    // In a text field a held space still types.
    Tfrm_NewDir newDir;
    showActive(newDir);
    newDir.edt_NewDir->setFocus();
    newDir.edt_NewDir->clear();
    sendKey(QEvent::KeyPress, Qt::Key_Space, false, 0, QStringLiteral(" "));
    sendKey(QEvent::KeyPress, Qt::Key_Space, true, 0, QStringLiteral(" "));
    EXPECT_EQ(newDir.edt_NewDir->text(), u"  ");
}

TEST_F(WindowAccessTest, ActivatingABlockedWindowBringsTheModalOneBack)
{
    showActive(*window);
    Tfrm_NewDir dialog;
    setOwnerWindow(dialog, *window);
    bool mainWasActive = false;
    bool dialogCameBack = false;
    driver::runModal(&dialog, [&] {
        if (!QTest::qWaitForWindowActive(&dialog))
            return;
        window->activateWindow();
        mainWasActive =
            QTest::qWaitFor([&] { return QApplication::activeWindow() == window.get(); });
        dialogCameBack = QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; });
        dialog.CancelClick();
    });
    EXPECT_TRUE(mainWasActive);
    EXPECT_TRUE(dialogCameBack);
}

// Runs with two screens side by side (the test's second run); with one it
// is skipped.
TEST_F(WindowAccessTest, DialogsOpenOnTheScreenOfTheirOwner)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() < 2)
        GTEST_SKIP() << "needs two screens";
    QScreen* second = screens.at(1);
    ASSERT_NE(second, QGuiApplication::primaryScreen());
    window->move(second->availableGeometry().topLeft() + QPoint(50, 50));
    showActive(*window);
    ASSERT_EQ(window->screen(), second);

    const auto centredOnSecond = [&](QWidget& shown) {
        const QPoint off = shown.frameGeometry().center() - second->availableGeometry().center();
        // Within rounding of the halves and the frame's few pixels.
        return off.manhattanLength() <= 6;
    };
    Tfrm_NewDir newDir;
    setOwnerWindow(newDir, *window);
    bool dialogOnSecond = false;
    driver::runModal(&newDir, [&] {
        dialogOnSecond = centredOnSecond(newDir);
        newDir.CancelClick();
    });
    EXPECT_TRUE(dialogOnSecond);

    QFile nfo(dir.filePath(QStringLiteral("zenkor.nfo")));
    ASSERT_TRUE(nfo.open(QIODevice::WriteOnly));
    nfo.write("text\r\n");
    nfo.close();
    Tfrm_ViewNfo viewer;
    setOwnerWindow(viewer, *window);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    bool viewerOnSecond = false;
    QTimer::singleShot(0, &viewer, [&] {
        viewerOnSecond = centredOnSecond(viewer);
        viewer.done(0);
    });
    viewer.ShowNfoFile();
    QDir::setCurrent(previous);
    EXPECT_TRUE(viewerOnSecond);
}

TEST(InstallerInstanceTest, ASecondStartOfTheSameFolderHandsOverToTheFirst)
{
    QTemporaryDir folder;
    QTemporaryDir otherFolder;
    int broughtForward = 0;
    {
        const InstallerInstance first(folder.path(), [&] { ++broughtForward; });
        EXPECT_FALSE(first.anotherIsRunning());
        EXPECT_TRUE(InstallerInstance(folder.path(), {}).anotherIsRunning());
        EXPECT_TRUE(QTest::qWaitFor([&] { return broughtForward == 1; }));
        EXPECT_FALSE(InstallerInstance(otherFolder.path(), {}).anotherIsRunning());
    }
    // Once the first has ended, the next start runs.
    EXPECT_FALSE(InstallerInstance(folder.path(), {}).anotherIsRunning());
    EXPECT_EQ(broughtForward, 1);
}

} // namespace
