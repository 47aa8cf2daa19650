#include "widgets/app_title.h"
#include "widgets/guard.h"
#include "base/exception.h"
#include "tests/support/message_box_recorder.h"

#include <QEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(ApplicationTitleTest, FileNameUpToTheFirstDotWithOneCapital)
{
    const struct {
        const char* path;
        const char* title;
    } cases[] = {{"/opt/demo/setup", "Setup"},
                 {"/x/SETUP.EXE", "Setup"},
                 {"/a/my.game.exe", "My"},
                 {"/a/b", "B"},
                 {"/a/zenkorInstaller", "Zenkorinstaller"}};
    for (const auto& c : cases)
        EXPECT_EQ(applicationTitleFor(QString::fromLatin1(c.path)), QString::fromLatin1(c.title))
            << c.path;
}

TEST(StandardErrorTest, FullStopAfterCharactersThatSortAfterIt)
{
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {{"abc", "abc."}, {"abc.", "abc."}, {"abc!", "abc!"}, {"a)", "a)"},
                 {"a/", "a/."},   {"9", "9."},      {"", ""},         {"end ", "end "}};
    for (const auto& c : cases)
        EXPECT_EQ(standardErrorText(QString::fromLatin1(c.message)), QString::fromLatin1(c.shown))
            << c.message;
}

TEST(GuardTest, EscapedErrorsEndInTheStandardErrorBox)
{
    MessageBoxRecorder boxes;
    // The guard runs the handler once, up to the error, and does not run it
    // again after showing the box.
    int started = 0;
    runGuarded([&] {
        ++started;
        throw Exception("Cannot open file zenkor.nfo");
    });
    runGuarded([] { throw 42; });
    EXPECT_EQ(started, 1);
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].text, u"Cannot open file zenkor.nfo.");
    EXPECT_EQ(boxes.boxes[0].caption, applicationTitle());
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.boxes[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(boxes.boxes[1].text, u"Unknown error.");
}

// A widget whose event handler throws, as a click handler may.
class ThrowingWidget : public QWidget {
protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw Exception("handler failed");
        return QWidget::event(e);
    }
};

TEST(GuardTest, NoExceptionCrossesTheEventLoop)
{
    MessageBoxRecorder boxes;
    ThrowingWidget widget;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&widget, &event);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, u"handler failed.");
}

TEST(MessageBoxTest, ProgramsOwnBoxes)
{
    MessageBoxRecorder boxes;
    showErrorBox(QStringLiteral("error"));
    showInformationBox(QStringLiteral("Program sucessfully installed!"));
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_EQ(boxes.boxes[0].caption, u"Error");
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes.boxes[1].caption, applicationTitle());
    EXPECT_EQ(boxes.boxes[1].icon, QMessageBox::NoIcon);
    EXPECT_EQ(boxes.boxes[1].buttons, QMessageBox::Ok);
}

} // namespace
