#include "widgets/label.h"
#include "widgets/picture.h"
#include "base/exception.h"
#include "base/executable_path.h"
#include "change_dir_fixture.h"
#include "dialogs/frm_install.h"
#include "layout_check.h"

#include <QFileInfo>
#include <QTest>

namespace {

TEST_F(ChangeDirTest, FreeSpaceFigureAgainstTheRequiredSpace)
{
    struct Row {
        std::optional<uint64_t> free;
        bool readOnly;
        const char* required;
        const char* caption;
        QColor colour;
    };
    const std::vector<Row> rows = {
        {650 * kMB, false, "650", "650 MB", Qt::red},
        {651 * kMB, false, "650", "651 MB", Qt::white},
        {651 * kMB - 1, false, "650", "650 MB", Qt::red},
        {0, false, "0", "0 MB", Qt::red},
        {0, false, "-5", "0 MB", Qt::red},
        {999'999, false, "-5", "0 MB", Qt::red},
        {std::nullopt, false, "-5", "0 MB", Qt::red},
        {16 * kMB, true, "-5", "0 MB", Qt::red},
        {10ull << 30, false, "650", "10737 MB", Qt::white},
        {3'000'000'000ull * kMB, false, "$7FFFFFFF", "3000000000 MB", Qt::white},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        freeBytes = 1;
        Tfrm_ChangeDir dialog;
        dialog.SetSpaceRequired(QString::fromLatin1(row.required));
        freeBytes = row.free;
        readOnly = row.readOnly;
        // The first showing judges the figure against the space just set.
        driver::runModal(&dialog, [&] { dialog.CancelClick(); });
        EXPECT_EQ(dialog.lbl_FreeSpace->text(), QString::fromLatin1(row.caption));
        EXPECT_EQ(dialog.lbl_FreeSpace->textColour(), row.colour);
    }
}

TEST_F(ChangeDirTest, FigureIsComputedAtCreationAndFirstShowingOnly)
{
    freeBytes = 100 * kMB;
    Tfrm_ChangeDir dialog;
    dialog.FormCreate();
    EXPECT_EQ(dialog.lbl_FreeSpace->text(), QStringLiteral("100 MB"));
    EXPECT_EQ(dialog.lbl_FreeSpace->textColour(), QColor(Qt::white));

    freeBytes = 200 * kMB;
    dialog.SetSpaceRequired(QStringLiteral("300"));
    EXPECT_EQ(dialog.lbl_FreeSpace->text(), QStringLiteral("100 MB"));
    driver::runModal(&dialog, [&] { dialog.CancelClick(); });
    EXPECT_EQ(dialog.lbl_FreeSpace->text(), QStringLiteral("200 MB"));
    EXPECT_EQ(dialog.lbl_FreeSpace->textColour(), QColor(Qt::red));

    freeBytes = 900 * kMB;
    dialog.SetSpaceRequired(QStringLiteral("10"));
    driver::runModal(&dialog, [&] {
        dialog.DirectoryListBox->SetDirectory(scratch.make(QStringLiteral("moved")));
        dialog.CancelClick();
    });
    EXPECT_EQ(dialog.lbl_FreeSpace->text(), QStringLiteral("200 MB"));
    EXPECT_EQ(dialog.lbl_FreeSpace->textColour(), QColor(Qt::red));
}

TEST_F(ChangeDirTest, LayoutAsDesigned)
{
    Tfrm_ChangeDir d;
    expectDesignedLayout(d, "Select Install Directory", {305, 307},
                         {{"DriveComboBox", d.DriveComboBox, {8, 8, 113, 19}},
                          {"DirectoryListBox", d.DirectoryListBox, {8, 48, 289, 185}},
                          {"StaticText2", d.StaticText2, {128, 8, 62, 17}},
                          {"lbl_FreeSpace", d.lbl_FreeSpace, {216, 8, 0, 0}},
                          {"StaticText1", d.StaticText1, {128, 24, 84, 17}},
                          {"lbl_SpaceRequired", d.lbl_SpaceRequired, {216, 24, 0, 0}},
                          {"img_MakeDir", d.img_MakeDir, {93, 244, 140, 29}},
                          {"img_MakeDir2", d.img_MakeDir2, {93, 244, 140, 29}},
                          {"img_cancel", d.img_cancel, {8, 272, 124, 33}},
                          {"img_cancel2", d.img_cancel2, {8, 272, 124, 33}},
                          {"img_install", d.img_install, {200, 272, 97, 33}},
                          {"img_install2", d.img_install2, {200, 272, 97, 33}},
                          {"InstallPath", d.InstallPath, {24, 360, 0, 0}},
                          {"Rarfile", d.Rarfile, {24, 384, 0, 0}}});
}

// The first row of lit pixels inside a control, as drawn on the dialog.
int firstTextRow(const QImage& shot, const QWidget* control)
{
    const QRect area = control->geometry();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(shot.pixel(x, y)) > 128)
                return y;
    return -1;
}

TEST_F(ChangeDirTest, CaptionsStandLevelWithTheirFigures)
{
    freeBytes = 900 * kMB; // white figures, as the captions
    Tfrm_ChangeDir d;
    d.SetSpaceRequired(QStringLiteral("650"));
    d.FormCreate();
    const QImage shot = d.grab().toImage();
    // "F" and "S" start at cap height, like the digits.
    EXPECT_EQ(firstTextRow(shot, d.StaticText2), firstTextRow(shot, d.lbl_FreeSpace));
    EXPECT_EQ(firstTextRow(shot, d.StaticText1), firstTextRow(shot, d.lbl_SpaceRequired));
    EXPECT_GT(firstTextRow(shot, d.StaticText1), firstTextRow(shot, d.StaticText2));
}

TEST_F(ChangeDirTest, RequiredSpaceCaptionShowsTheParsedNumber)
{
    Tfrm_ChangeDir dialog;
    EXPECT_EQ(dialog.FSpaceRequired, 0);
    dialog.SetSpaceRequired(QStringLiteral("  0650"));
    EXPECT_EQ(dialog.lbl_SpaceRequired->text(), QStringLiteral("650 MB"));
    dialog.SetSpaceRequired(QStringLiteral("$1F4"));
    EXPECT_EQ(dialog.lbl_SpaceRequired->text(), QStringLiteral("500 MB"));
    EXPECT_EQ(dialog.FSpaceRequired, 500);
}

TEST_F(ChangeDirTest, RefusedRequiredSpaceChangesNothing)
{
    Tfrm_ChangeDir dialog;
    dialog.SetSpaceRequired(QStringLiteral("650"));
    EXPECT_THROW(dialog.SetSpaceRequired(QStringLiteral("700 MB")), Exception);
    EXPECT_EQ(dialog.FSpaceRequired, 650);
    EXPECT_EQ(dialog.lbl_SpaceRequired->text(), QStringLiteral("650 MB"));
}

TEST_F(ChangeDirTest, TreeShowsThePathAndTheSortedVisibleSubfolders)
{
    const QString open = scratch.make(QStringLiteral("games/zenkor"));
    for (const char* name : {"beta", "Alpha", ".hidden", "gamma"})
        scratch.make(QStringLiteral("games/zenkor/") + QLatin1String(name));
    QFile(QDir(open).filePath(QStringLiteral("file.txt"))).open(QIODevice::WriteOnly);
    QDir::setCurrent(open);

    Tfrm_ChangeDir dialog;
    QStringList expected{QStringLiteral("/")};
    expected << open.split(u'/', Qt::SkipEmptyParts);
    const QStringList path = expected;
    expected << QStringLiteral("Alpha") << QStringLiteral("beta") << QStringLiteral("gamma");
    EXPECT_EQ(treeTexts(*dialog.DirectoryListBox), expected);
    EXPECT_EQ(dialog.DirectoryListBox->currentItem()->text(0), QStringLiteral("zenkor"));
    EXPECT_EQ(dialog.GetDirectory(), open);
}

TEST_F(ChangeDirTest, OpeningFoldersMovesTheCurrentDirectory)
{
    const QString parent = scratch.make(QStringLiteral("top"));
    scratch.make(QStringLiteral("top/inner"));
    QDir::setCurrent(parent);
    Tfrm_ChangeDir dialog;
    dialog.show();
    TDirectoryListBox* tree = dialog.DirectoryListBox;
    const auto itemNamed = [&](const QString& name) {
        return tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive).value(0);
    };

    // One click only highlights.
    QTreeWidgetItem* inner = itemNamed(QStringLiteral("inner"));
    ASSERT_NE(inner, nullptr);
    const QRect innerRow = tree->visualItemRect(inner);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, innerRow.center());
    EXPECT_EQ(dialog.GetDirectory(), parent);
    EXPECT_EQ(QDir::currentPath(), parent);

    // A double click opens.
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, innerRow.center());
    EXPECT_EQ(dialog.GetDirectory(), parent + QStringLiteral("/inner"));
    EXPECT_EQ(QDir::currentPath(), parent + QStringLiteral("/inner"));

    // Enter opens the highlighted entry: here the scratch folder above.
    tree->setCurrentItem(itemNamed(QFileInfo(scratch.path()).fileName()));
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(dialog.GetDirectory(), scratch.path());
    EXPECT_EQ(QDir::currentPath(), scratch.path());
}

TEST_F(ChangeDirTest, FolderThatCannotBeEnteredIsAnIoError)
{
    Tfrm_ChangeDir dialog;
    try {
        dialog.DirectoryListBox->SetDirectory(scratch.path() + QStringLiteral("/missing"));
        FAIL() << "opened a missing folder";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "I/O error 2");
    }
    EXPECT_EQ(dialog.GetDirectory(), scratch.path());
}

TEST_F(ChangeDirTest, MakeDirBelowAFolderOpensTheNewFolder)
{
    Tfrm_ChangeDir dialog;
    dialog.SetInstallPath(QStringLiteral("/opt/games/Zenkor"));
    QTimer::singleShot(0, &newDir, [this] {
        EXPECT_EQ(newDir.GetNewDir(), QStringLiteral("Zenkor"));
        newDir.OkClick();
    });
    dialog.MakeDirClick();
    const QString made = scratch.path() + QStringLiteral("/Zenkor");
    EXPECT_TRUE(QFileInfo(made).isDir());
    EXPECT_EQ(dialog.GetDirectory(), made);
    EXPECT_EQ(QDir::currentPath(), made);
    EXPECT_EQ(dialog.DirectoryListBox->currentItem()->text(0), QStringLiteral("Zenkor"));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ChangeDirTest, MakeDirFailuresShowTheErrorBoxAndChangeNothing)
{
    struct Row {
        const char* name;
        QString tried;
    };
    const QString base = scratch.path();
    scratch.make(QStringLiteral("exists"));
    const std::vector<Row> rows = {
        {"", base + QStringLiteral("/")},
        {"exists", base + QStringLiteral("/exists")},
        {"missing/second", base + QStringLiteral("/missing/second")},
        // "\" separates folders as in every path the installer reads, and a
        // typed name never climbs above the open folder.
        {"missing\\second", base + QStringLiteral("/missing/second")},
        {"exists\\..\\..\\escaped", base + QStringLiteral("/exists\\..\\..\\escaped")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        boxes.boxes.clear();
        Tfrm_ChangeDir dialog;
        makeDir(dialog, QString::fromLatin1(row.name));
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("Could not create dir (%1)").arg(row.tried));
        EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("Error"));
        EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Critical);
        EXPECT_EQ(dialog.GetDirectory(), base);
        EXPECT_EQ(QDir::currentPath(), base);
    }
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/missing")));
    EXPECT_FALSE(QFileInfo::exists(base + QStringLiteral("/../escaped")));
}

TEST_F(ChangeDirTest, MakeDirReadsABackslashAsASeparator)
{
    scratch.make(QStringLiteral("Games"));
    Tfrm_ChangeDir dialog;
    makeDir(dialog, QStringLiteral("Games\\MyGame"));
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_TRUE(QFileInfo(scratch.path() + QStringLiteral("/Games/MyGame")).isDir());
    EXPECT_FALSE(QFileInfo::exists(scratch.path() + QStringLiteral("/Games\\MyGame")));
}

TEST_F(ChangeDirTest, MakeDirAtTheRootAppendsTheNameDirectly)
{
    QDir::setCurrent(QDir::rootPath());
    Tfrm_ChangeDir dialog;
    makeDir(dialog, QString());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("Could not create dir (/)"));
}

TEST_F(ChangeDirTest, MakeDirCancelledCreatesNothing)
{
    Tfrm_ChangeDir dialog;
    makeDir(dialog, QStringLiteral("never"), false);
    EXPECT_FALSE(QFileInfo::exists(scratch.path() + QStringLiteral("/never")));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ChangeDirTest, CancelCloseBoxEscAndAltF4GiveTwo)
{
    Tfrm_ChangeDir dialog;
    EXPECT_EQ(driver::runModal(&dialog, [&] { driver::click(dialog.img_cancel); }), mrCancel);
    EXPECT_EQ(driver::runModal(&dialog, [&] { driver::click(dialog.img_cancel2); }), mrCancel);
    EXPECT_EQ(driver::runModal(&dialog, [&] { dialog.close(); }), mrCancel);
    EXPECT_EQ(driver::runModal(&dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); }),
              mrCancel);
    EXPECT_EQ(driver::runModal(&dialog, [&] { EXPECT_TRUE(driver::altF4(&dialog)); }), mrCancel);
}

// Enter installs into the open folder, also from the tree when the open
// folder is the highlighted one; on another folder it opens that one.
TEST_F(ChangeDirTest, EnterInstallsIntoTheOpenFolder)
{
    Tfrm_install extraction;
    frm_install = &extraction;
    QString target;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (extraction.isVisible()) {
            target = extraction.InstallPath->text();
            extraction.done(mrExtractFailed);
        }
    });
    answer.start();
    const QString inner = scratch.make(QStringLiteral("inner"));
    Tfrm_ChangeDir dialog;
    dialog.SetRarFile(scratch.path() + QStringLiteral("/missing.rar"));
    TDirectoryListBox* tree = dialog.DirectoryListBox;

    const int fromTree = driver::runModal(&dialog, [&] {
        tree->setFocus();
        tree->setCurrentItem(
            tree->findItems(QStringLiteral("inner"), Qt::MatchExactly | Qt::MatchRecursive)
                .value(0));
        QTest::keyClick(tree, Qt::Key_Return); // opens inner
        QTest::keyClick(tree, Qt::Key_Return); // installs there
    });
    EXPECT_EQ(fromTree, mrExtractFailed);
    EXPECT_EQ(target, inner);
    target.clear();
    EXPECT_EQ(driver::runModal(
                  &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Enter, Qt::KeypadModifier); }),
              mrExtractFailed);
    EXPECT_EQ(target, inner);
    frm_install = nullptr;
}

// The first showing opens the configured install folder, made with its
// missing parents, so Install at once fills it; what is still empty when the
// dialog closes goes again, and a folder that cannot be made is said once.
TEST_F(ChangeDirTest, FirstShowingOpensTheInstallFolderMadeForIt)
{
    const QString games = scratch.path() + QStringLiteral("/Games");
    const QString folder = games + QStringLiteral("/Zenkor Demo");
    Tfrm_ChangeDir dialog;
    dialog.SetInstallPath(folder);
    QString opened;
    driver::runModal(&dialog, [&] {
        opened = dialog.GetDirectory();
        dialog.CancelClick();
    });
    EXPECT_EQ(opened, folder);
    EXPECT_FALSE(QFileInfo::exists(games)) << "a cancelled install left its folders";

    // Made again at the next showing; a file in it keeps it.
    driver::runModal(&dialog, [&] {
        opened = dialog.GetDirectory();
        QFile(folder + QStringLiteral("/kept")).open(QIODevice::WriteOnly);
        dialog.CancelClick();
    });
    EXPECT_EQ(opened, folder);
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/kept")));
    EXPECT_TRUE(boxes.boxes.empty());

    QFile(scratch.path() + QStringLiteral("/plain")).open(QIODevice::WriteOnly);
    const QString impossible = scratch.path() + QStringLiteral("/plain/Game");
    QDir::setCurrent(scratch.path());
    Tfrm_ChangeDir blocked;
    blocked.SetInstallPath(impossible);
    driver::runModal(&blocked, [&] {
        opened = blocked.GetDirectory();
        blocked.CancelClick();
    });
    EXPECT_EQ(opened, scratch.path());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("Could not create dir (%1)").arg(impossible));
}

// Setup's own files must not mix with the program's: Install in the folder
// that holds setup is refused in one box, and the dialog stays open.
TEST_F(ChangeDirTest, InstallIntoTheInstallersOwnFolderIsRefused)
{
    SetExecutablePathOverride((scratch.path() + QStringLiteral("/setup")).toStdString());
    Tfrm_install extraction;
    frm_install = &extraction;
    bool extractionShown = false;
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (extraction.isVisible()) {
            extractionShown = true;
            extraction.done(mrCancel);
        }
    });
    answer.start();
    Tfrm_ChangeDir dialog;
    dialog.SetRarFile(scratch.path() + QStringLiteral("/missing.rar"));
    bool openAfterInstall = false;
    const int result = driver::runModal(&dialog, [&] {
        driver::click(dialog.img_install);
        openAfterInstall = dialog.isVisible();
        dialog.DirectoryListBox->SetDirectory(scratch.make(QStringLiteral("Games")));
        driver::click(dialog.img_install); // a folder below it is like any other
    });
    EXPECT_TRUE(openAfterInstall);
    EXPECT_EQ(result, mrCancel);
    EXPECT_TRUE(extractionShown);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              QStringLiteral("%1 is the installer's own folder. Choose or make another folder to "
                             "install into.")
                  .arg(scratch.path()));
    EXPECT_EQ(boxes.boxes[0].caption, QStringLiteral("Error"));
    frm_install = nullptr;
    SetExecutablePathOverride({});
}

TEST_F(ChangeDirTest, HoverTable)
{
    struct Row {
        const char* over;
        std::function<void(Tfrm_ChangeDir&)> move;
        bool makeDirLit, installLit, cancelLit;
        Qt::CursorShape cursor;
    };
    const auto hand = Qt::PointingHandCursor;
    const std::vector<Row> rows = {
        {"make dir", [](Tfrm_ChangeDir& d) { driver::hover(d.img_MakeDir); }, true, false, false,
         hand},
        {"make dir lit", [](Tfrm_ChangeDir& d) { driver::hover(d.img_MakeDir2); }, true, false,
         false, hand},
        {"install", [](Tfrm_ChangeDir& d) { driver::hover(d.img_install); }, false, true, false,
         hand},
        {"install lit", [](Tfrm_ChangeDir& d) { driver::hover(d.img_install2); }, false, true,
         false, hand},
        {"cancel", [](Tfrm_ChangeDir& d) { driver::hover(d.img_cancel); }, false, false, true,
         hand},
        {"cancel lit", [](Tfrm_ChangeDir& d) { driver::hover(d.img_cancel2); }, false, false, true,
         hand},
        {"background",
         [](Tfrm_ChangeDir& d) {
             driver::hoverAt(&d, {150, 44});
         },
         false, false, false, Qt::ArrowCursor},
        {"folder tree", [](Tfrm_ChangeDir& d) { driver::hover(d.DirectoryListBox->viewport()); },
         false, false, false, Qt::ArrowCursor},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.over);
        Tfrm_ChangeDir dialog;
        for (TPicture* twin : {dialog.img_MakeDir2, dialog.img_install2, dialog.img_cancel2})
            twin->show();
        dialog.setCursor(Qt::IBeamCursor);
        row.move(dialog);
        EXPECT_EQ(!dialog.img_MakeDir2->isHidden(), row.makeDirLit);
        EXPECT_EQ(!dialog.img_install2->isHidden(), row.installLit);
        EXPECT_EQ(!dialog.img_cancel2->isHidden(), row.cancelLit);
        EXPECT_EQ(dialog.cursor().shape(), row.cursor);
    }
}

TEST_F(ChangeDirTest, LabelsTextsAndDriveListHaveNoHoverEffect)
{
    Tfrm_ChangeDir dialog;
    dialog.CancelMouseMove();
    for (QWidget* quiet : std::initializer_list<QWidget*>{
             dialog.lbl_FreeSpace, dialog.lbl_SpaceRequired, dialog.StaticText1, dialog.StaticText2,
             dialog.DriveComboBox})
        driver::hover(quiet);
    EXPECT_FALSE(dialog.img_cancel2->isHidden());
    EXPECT_EQ(dialog.cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(ChangeDirTest, StatePersistsBetweenShowings)
{
    const QString chosen = scratch.make(QStringLiteral("chosen"));
    Tfrm_ChangeDir dialog;
    driver::runModal(&dialog, [&] {
        dialog.DirectoryListBox->SetDirectory(chosen);
        driver::hover(dialog.img_MakeDir);
        driver::click(dialog.img_cancel);
    });
    QDir::setCurrent(scratch.path());
    driver::runModal(&dialog, [&] {
        EXPECT_EQ(dialog.GetDirectory(), chosen);
        EXPECT_FALSE(dialog.img_MakeDir2->isHidden());
        EXPECT_EQ(dialog.cursor().shape(), Qt::PointingHandCursor);
        dialog.CancelClick();
    });
}

} // namespace
