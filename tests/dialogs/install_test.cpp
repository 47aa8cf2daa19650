// The extraction window against the scripted fake RAR library.
#include "widgets/label.h"
#include "widgets/picture.h"
#include "widgets/application_events.h"
#include "base/process_messages.h"
#include "archive/engine/rar_library.h"
#include "dialog_driver.h"
#include "dialogs/frm_install.h"
#include "dialogs/progress_step.h"
#include "dialogs/volume_record.h"
#include "layout_check.h"
#include "tests/support/engine_sandbox.h"
#include "tests/support/fake_rar.h"
#include "tests/support/message_box_recorder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>
#include <utility>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

TEST(ProgressStep, WrapsPastTheEndKeepingTheExcess)
{
    struct Row {
        int position, expected;
    };
    for (const Row row : {Row{0, 10}, Row{85, 95}, Row{90, 100}, Row{95, 5}, Row{100, 10}}) {
        SCOPED_TRACE(row.position);
        EXPECT_EQ(SteppedPosition(row.position, 10, 0, 100), row.expected);
    }
}

TEST(InstallWindowLayout, AsDesigned)
{
    Tfrm_install d;
    SetProcessMessagesHook({});
    expectDesignedLayout(d, "Install ", {479, 103},
                         {{"Label1", d.Label1, {8, 16, 0, 0}},
                          {"lbl_filename", d.lbl_filename, {64, 16, 0, 0}},
                          {"img_cancel", d.img_cancel, {10, 72, 119, 33}},
                          {"img_extract", d.img_extract, {338, 72, 135, 33}},
                          {"img_cancel2", d.img_cancel2, {10, 72, 119, 33}},
                          {"img_extract2", d.img_extract2, {338, 72, 135, 33}},
                          {"InstallPath", d.InstallPath, {80, 112, 0, 0}},
                          {"ProgressBar", d.ProgressBar, {8, 40, 465, 25}}});
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
}

class InstallWindowTest : public ::testing::Test {
protected:
    InstallWindowTest()
    {
        BindRarLibrary({fake.path()});
        fake.reset();
        window.SetInstallPath(QString::fromStdString(box.out()));
        window.SetRarFile(QString::fromStdString(box.archive()));
        // Each pass through the window system during a run lets the test act
        // as the user would at that moment.
        SetProcessMessagesHook([this] {
            ++messagePasses;
            if (duringRun)
                duringRun(messagePasses);
            QCoreApplication::processEvents();
        });
    }
    ~InstallWindowTest() override
    {
        InstallWindowMessageHook();
        ReleaseRarLibrary();
    }

    // Shows the window and clicks Extract.
    int extract()
    {
        return driver::runModal(&window, [this] { driver::click(window.img_extract2); });
    }

    QStringList boxTexts() const
    {
        QStringList texts;
        for (const auto& shown : boxes.boxes)
            texts << shown.text;
        return texts;
    }

    bool extracted(const std::string& name) const
    {
        return std::filesystem::exists(box.out() + name);
    }

    EngineSandbox box;
    FakeRar fake;
    MessageBoxRecorder boxes;
    Tfrm_install window;
    int messagePasses = 0;
    std::function<void(int pass)> duringRun;
};

constexpr int kLongerThanAFrameMs = 60;

class PaintCounter : public QObject {
public:
    explicit PaintCounter(int& paints) : paints_(paints) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints_;
        return false;
    }

private:
    int& paints_;
};

FakeEntry failing(const std::string& name, int code)
{
    FakeEntry entry = FakeFile(name, 10);
    entry.extractResult = code;
    return entry;
}

TEST_F(InstallWindowTest, GoodArchiveOfSeveralFilesClosesWithOne)
{
    FakeEntry first = FakeFile("docs/a.txt", 100);
    first.blocks = {20, 20, 20, 20, 20};
    fake.add(FakeFolder("docs"));
    fake.add(first);
    fake.add(FakeFile("b.txt", 10));
    QStringList shownNames;
    std::vector<int> bar;
    // A run slow enough for a screen frame to pass at each report shows
    // every name and every step.
    duringRun = [&](int) {
        QTest::qWait(kLongerThanAFrameMs);
        shownNames << window.lbl_filename->text();
        bar.push_back(window.ProgressBar->value());
    };

    EXPECT_EQ(extract(), mrOk);
    EXPECT_TRUE(extracted("docs/a.txt"));
    EXPECT_TRUE(extracted("b.txt"));
    EXPECT_THAT(boxTexts(), IsEmpty());
    EXPECT_EQ(window.windowTitle(), QString::fromStdString(box.archive()));
    EXPECT_TRUE(shownNames.contains(QStringLiteral("a.txt")));
    EXPECT_TRUE(shownNames.contains(QStringLiteral("b.txt")));
    EXPECT_EQ(window.lbl_filename->text(), QString());
    EXPECT_EQ(window.ProgressBar->value(), 100);
    // One step per report: five reports of a.txt take the bar to 50.
    EXPECT_NE(std::find(bar.begin(), bar.end(), 50), bar.end());
}

// Thousands of small files a second must not cost a repaint each: the name
// and the bar are painted at most once a screen frame, and the run still ends
// showing its last state.
TEST_F(InstallWindowTest, ManyQuickEntriesArePaintedOncePerFrame)
{
    constexpr int kEntries = 400;
    for (int i = 0; i < kEntries; ++i)
        fake.add(FakeFile("f" + std::to_string(i) + ".bin", 10));
    int paints = 0;
    PaintCounter counter(paints);
    window.ProgressBar->installEventFilter(&counter);
    window.lbl_filename->installEventFilter(&counter);
    QElapsedTimer clock;
    clock.start();

    EXPECT_EQ(extract(), mrOk);
    const qint64 frames = clock.elapsed() / 8 + 4; // the shortest frame is 8 ms
    EXPECT_LE(paints, 2 * frames) << "over " << clock.elapsed() << " ms";
    EXPECT_LT(paints, kEntries);
    EXPECT_EQ(window.lbl_filename->text(), QString());
    EXPECT_EQ(window.ProgressBar->value(), 100);
}

TEST_F(InstallWindowTest, CancelOrCloseBoxBeforeExtractGiveTwoAndExtractNothing)
{
    fake.add(FakeFile("a.txt", 1));
    EXPECT_EQ(driver::runModal(&window, [&] { driver::click(window.img_cancel); }), mrCancel);
    EXPECT_EQ(driver::runModal(&window, [&] { driver::click(window.img_cancel2); }), mrCancel);
    EXPECT_EQ(driver::runModal(&window, [&] { window.close(); }), mrCancel);
    EXPECT_THAT(fake.calls(), IsEmpty());
    EXPECT_FALSE(extracted("a.txt"));
}

// The keyboard reaches both buttons; the mouse's way is unchanged.
TEST_F(InstallWindowTest, EscAndAltF4CancelEnterExtracts)
{
    fake.add(FakeFile("a.txt", 1));
    EXPECT_EQ(driver::runModal(&window, [&] { QTest::keyClick(&window, Qt::Key_Escape); }),
              mrCancel);
    EXPECT_EQ(driver::runModal(&window, [&] { EXPECT_TRUE(driver::altF4(&window)); }), mrCancel);
    EXPECT_THAT(fake.calls(), IsEmpty());
    EXPECT_EQ(driver::runModal(&window, [&] { QTest::keyClick(&window, Qt::Key_Return); }), mrOk);
    EXPECT_TRUE(extracted("a.txt"));
}

TEST_F(InstallWindowTest, MissingLibraryKeepsTheWindowOpenUntilCancel)
{
    ReleaseRarLibrary();
    fake.add(FakeFile("a.txt", 1));
    const int result = driver::runModal(&window, [&] {
        driver::click(window.img_extract2);
        EXPECT_TRUE(window.isVisible());
        driver::click(window.img_cancel);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_THAT(boxTexts(), ElementsAre("test.rar: error(25158): UnRAR dll not found"));
    EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Critical);
}

TEST_F(InstallWindowTest, AFailedEntryEndsWithSevenEvenWhenLaterOnesSucceed)
{
    fake.add(failing("a.txt", 12));
    fake.add(FakeFile("b.txt", 10));
    fake.add(FakeFile("c.txt", 10));
    EXPECT_EQ(extract(), mrExtractFailed);
    EXPECT_TRUE(extracted("c.txt"));
    ASSERT_EQ(boxes.boxes.size(), 2u);
    EXPECT_THAT(boxTexts()[0].toStdString(), ::testing::StartsWith("a.txt: error("));
    EXPECT_EQ(boxTexts()[1], QStringLiteral("Failed on extract"));
}

TEST_F(InstallWindowTest, AFailingLastEntryEndsWithSeven)
{
    fake.add(FakeFile("a.txt", 10));
    fake.add(failing("b.txt", 12));
    EXPECT_EQ(extract(), mrExtractFailed);
    EXPECT_EQ(boxTexts().last(), QStringLiteral("Failed on extract"));
}

// The entries after a damaged header are missing: never a success.
TEST_F(InstallWindowTest, DamagedHeaderAfterGoodEntriesEndsWithSeven)
{
    fake.add(FakeFile("a.txt", 10));
    fake.add(FakeFile("b.txt", 10));
    fake.damagedHeaderAfter(1);
    EXPECT_EQ(extract(), mrExtractFailed);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxTexts()[0].endsWith(QStringLiteral(": error(25108): Bad file header")));
}

// Cancel stops the file being written: the component drops what was written
// of it, no box is shown and the window closes with 2.
TEST_F(InstallWindowTest, CancelDuringARunStopsItAndEndsWithTwo)
{
    FakeEntry first = FakeFile("a.txt", 100);
    first.blocks = {10, 10, 80};
    fake.add(first);
    for (const char* name : {"b.txt", "c.txt"})
        fake.add(FakeFile(name, 10));
    bool cancelled = false;
    duringRun = [&](int) {
        if (window.lbl_filename->text() == QStringLiteral("a.txt") && !cancelled) {
            cancelled = true;
            driver::click(window.img_cancel);
            EXPECT_TRUE(window.isVisible()); // closes only once the run returned
        }
    };
    EXPECT_EQ(extract(), mrCancel);
    EXPECT_FALSE(extracted("a.txt"));
    EXPECT_FALSE(extracted("b.txt"));
    EXPECT_FALSE(extracted("c.txt"));
    EXPECT_THAT(boxTexts(), IsEmpty());
}

// A failure every later entry would meet shows one box naming its cause and
// closes the window with 7, whatever was extracted before it.
TEST_F(InstallWindowTest, AFailureThatEndsTheRunShowsOneBoxAndEndsWithSeven)
{
    struct Row {
        const char* what;
        std::function<void()> arrange;
        const char* box;
    };
    const std::vector<Row> rows = {
        {"missing volume",
         [&] {
             fake.add(FakeFile("a.txt", 10));
             FakeEntry split = FakeFile("big.bin", 10);
             split.missingVolume = box.root() + "/test.part2.rar";
             fake.add(split);
             fake.add(FakeFile("c.txt", 10));
         },
         "test.part2.rar: error(25132): File not found"},
        {"cut archive",
         [&] {
             box.writeArchive(std::string("Rar!\x1a\x07\x01\x00", 8));
             fake.add(FakeFile("a.txt", 10));
         },
         "test.rar: error(25126): Unexpected end of file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        fake.reset();
        boxes.boxes.clear();
        row.arrange();
        EXPECT_EQ(extract(), mrExtractFailed);
        EXPECT_THAT(boxTexts(), ElementsAre(row.box));
        EXPECT_FALSE(extracted("c.txt"));
    }
}

TEST_F(InstallWindowTest, CloseBoxDuringARunActsAsCancel)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        fake.add(FakeFile(name, 10));
    duringRun = [&](int pass) {
        if (pass == 1)
            window.close();
    };
    EXPECT_EQ(extract(), mrCancel);
    EXPECT_FALSE(extracted("b.txt"));
    EXPECT_FALSE(extracted("c.txt"));
}

TEST_F(InstallWindowTest, CancelAfterAFailedEntryStillEndsWithSeven)
{
    fake.add(failing("a.txt", 12));
    fake.add(FakeFile("b.txt", 10));
    fake.add(FakeFile("c.txt", 10));
    bool cancelled = false;
    duringRun = [&](int) {
        if (!boxes.boxes.empty() && !cancelled) {
            cancelled = true;
            driver::click(window.img_cancel);
        }
    };
    EXPECT_EQ(extract(), mrExtractFailed);
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(extracted("c.txt"));
}

TEST_F(InstallWindowTest, SecondExtractClickDuringARunIsIgnored)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        fake.add(FakeFile(name, 10));
    bool runningAfterSecondClick = false;
    duringRun = [&](int pass) {
        if (pass == 1)
            driver::click(window.img_extract2);
        if (pass == 2)
            runningAfterSecondClick = window.Running() && window.isVisible();
    };
    EXPECT_EQ(extract(), mrOk);
    EXPECT_TRUE(runningAfterSecondClick);
    const auto calls = fake.calls();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& c) { return c.rfind("open ", 0) == 0; }),
              1);
    EXPECT_TRUE(extracted("c.txt"));
}

TEST_F(InstallWindowTest, ArchiveThatIsNotRarKeepsTheWindowOpen)
{
    const std::string text = box.root() + "/notes.rar";
    std::ofstream(text) << "just some text";
    window.SetRarFile(QString::fromStdString(text));
    const int result = driver::runModal(&window, [&] {
        driver::click(window.img_extract2);
        driver::click(window.img_cancel);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_THAT(boxTexts(), ElementsAre("notes.rar: error(25142): Invalid or unsupported archive "
                                        "type for this operation"));
}

// The volumes recorded beside the archive are checked, with progress in the
// window, before the library opens it: a missing or damaged one is named in
// one box and nothing is written; an intact set installs.
TEST_F(InstallWindowTest, RecordedVolumesAreCheckedBeforeAnythingIsWritten)
{
    fake.add(FakeFile("a.txt", 10));
    const auto write = [](const std::string& path, const std::string& data) {
        std::ofstream(path, std::ios::binary) << data;
    };
    const auto digest = [](const std::string& path) {
        QFile file(QString::fromStdString(path));
        file.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
            .toHex()
            .toStdString();
    };
    const std::string record = box.archive() + ".sha256";
    const std::string second = box.root() + "/test.r00";
    write(second, "the second volume");
    const std::string intact =
        digest(box.archive()) + "  test.rar\n" + digest(second) + " *test.r00\n";
    struct Row {
        const char* name;
        std::string record;
        const char* box;
    };
    const Row refused[] = {
        {"damaged", digest(box.archive()) + "  test.rar\n" + std::string(64, '0') + "  test.r00\n",
         "test.r00 is damaged or incomplete. Please download it again."},
        {"missing", intact + digest(second) + "  test.r01\n",
         "test.r01 is missing. Please download the installer again."},
        {"unreadable record", "not a record\n",
         "test.rar.sha256 is damaged or incomplete. Please download it again."},
        {"outside the folder", digest(second) + "  ../test.r00\n",
         "test.rar.sha256 is damaged or incomplete. Please download it again."},
    };
    for (const Row& row : refused) {
        SCOPED_TRACE(row.name);
        boxes.boxes.clear();
        write(record, row.record);
        bool open = false;
        EXPECT_EQ(driver::runModal(&window,
                                   [&] {
                                       driver::click(window.img_extract2);
                                       open = window.isVisible();
                                       driver::click(window.img_cancel);
                                   }),
                  mrCancel);
        EXPECT_TRUE(open);
        EXPECT_THAT(boxTexts(), ElementsAre(row.box));
        EXPECT_THAT(fake.calls(), IsEmpty());
    }

    // The check runs beside the window; here it is held at its first report
    // until the test has acted, as if the volumes were slow to read.
    std::atomic<bool> held = true;
    window.SetVolumeChecker([&held](const QString& path, const VolumeCheckProgress& progress) {
        bool first = true;
        return CheckRecordedVolumes(path, [&](const QString& name, qint64 done, qint64 total) {
            bool goOn = progress(name, done, total);
            for (; goOn && first && held; goOn = progress(name, done, total))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            first = false;
            return goOn;
        });
    });

    // Cancel while checking stops before anything is written.
    write(record, intact);
    bool cancelled = false;
    duringRun = [&](int) {
        if (!std::exchange(cancelled, true))
            driver::click(window.img_cancel);
    };
    EXPECT_EQ(extract(), mrCancel);
    EXPECT_TRUE(cancelled);
    EXPECT_THAT(fake.calls(), IsEmpty());

    QStringList shown;
    duringRun = [&](int) {
        shown << window.Label1->text() + window.lbl_filename->text();
        if (shown.back() == QStringLiteral("Checking:test.rar"))
            held = false;
    };
    boxes.boxes.clear();
    EXPECT_EQ(extract(), mrOk);
    EXPECT_TRUE(extracted("a.txt"));
    EXPECT_THAT(boxTexts(), IsEmpty());
    EXPECT_FALSE(held) << shown.join(u'|').toStdString();
    EXPECT_EQ(window.Label1->text(), QStringLiteral("Extracing:"));
}

TEST_F(InstallWindowTest, ErrorBoxesByCodeRange)
{
    struct Row {
        int32_t code;
        const char* lead; // nullptr: no box
    };
    for (const Row row :
         {Row{25100, "x.rar: error(25100): "}, Row{25350, "x.rar: error(25350): "},
          Row{26500, "x.rar: Genearal message(26500): "},
          Row{26522, "x.rar: Genearal message(26522): "}, Row{0, nullptr}, Row{25099, nullptr},
          Row{25351, nullptr}, Row{26499, nullptr}, Row{26523, nullptr}, Row{25901, nullptr}}) {
        SCOPED_TRACE(row.code);
        boxes.boxes.clear();
        window.UnRARError(nullptr, "x.rar", "0", row.code);
        if (!row.lead) {
            EXPECT_THAT(boxTexts(), IsEmpty());
            continue;
        }
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_TRUE(boxTexts()[0].startsWith(QLatin1String(row.lead)))
            << boxTexts()[0].toStdString();
    }
}

TEST_F(InstallWindowTest, StateIsKeptBetweenShowings)
{
    fake.add(FakeFile("a.txt", 10));
    ASSERT_EQ(extract(), mrOk);
    QString captionAtNextShowing;
    int barAtNextShowing = -1;
    driver::runModal(&window, [&] {
        captionAtNextShowing = window.windowTitle();
        barAtNextShowing = window.ProgressBar->value();
        window.CancelClick();
    });
    EXPECT_EQ(captionAtNextShowing, QString::fromStdString(box.archive()));
    EXPECT_EQ(barAtNextShowing, 100);
}

TEST(InstallWindow, FirstLook)
{
    Tfrm_install window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Install "));
    EXPECT_EQ(window.Label1->text(), QStringLiteral("Extracing:"));
    EXPECT_EQ(window.lbl_filename->text(), QString());
    EXPECT_EQ(window.ProgressBar->value(), 0);
    EXPECT_EQ(window.InstallPath->text(), QStringLiteral("InstallPath"));
    EXPECT_FALSE(window.img_extract2->isHidden());
    EXPECT_TRUE(window.img_cancel2->isHidden());
    EXPECT_EQ(window.img_cancel2->toolTip(), QStringLiteral("Cancel Installation"));
    EXPECT_EQ(window.img_extract2->toolTip(), QStringLiteral("Extract Files"));
    EXPECT_EQ(window.UnRAR.FileSpec(), "*.*");
    EXPECT_TRUE(window.UnRAR.UseStoredDirs());
}

TEST(InstallWindow, HoverTable)
{
    struct Row {
        const char* over;
        std::function<void(Tfrm_install&)> move;
        bool cancelLit, extractLit;
        Qt::CursorShape cursor;
    };
    const auto hand = Qt::PointingHandCursor;
    const std::vector<Row> rows = {
        {"cancel", [](Tfrm_install& w) { driver::hover(w.img_cancel); }, true, false, hand},
        {"extract", [](Tfrm_install& w) { driver::hover(w.img_extract); }, false, true, hand},
        {"extract lit", [](Tfrm_install& w) { driver::hover(w.img_extract2); }, false, true, hand},
        {"background",
         [](Tfrm_install& w) {
             driver::hoverAt(&w, {240, 68});
         },
         false, false, Qt::ArrowCursor},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.over);
        Tfrm_install window;
        window.img_cancel2->show();
        window.img_extract2->hide();
        window.setCursor(Qt::IBeamCursor);
        row.move(window);
        EXPECT_EQ(!window.img_cancel2->isHidden(), row.cancelLit);
        EXPECT_EQ(!window.img_extract2->isHidden(), row.extractLit);
        EXPECT_EQ(window.cursor().shape(), row.cursor);
    }
}

TEST(InstallWindow, MovesOverLabelsBarAndLitCancelChangeNothing)
{
    Tfrm_install window;
    window.CancelMouseMove();
    for (QWidget* quiet :
         std::initializer_list<QWidget*>{window.Label1, window.ProgressBar, window.img_cancel2})
        driver::hover(quiet);
    EXPECT_FALSE(window.img_cancel2->isHidden());
    EXPECT_EQ(window.cursor().shape(), Qt::PointingHandCursor);
}

} // namespace
