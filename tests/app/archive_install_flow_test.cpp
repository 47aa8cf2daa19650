// The whole install flow, from the main window's Install to the started
// program, with real archives extracted by the RAR library the build puts
// beside setup.
#include "app/frm_zenkor.h"
#include "widgets/label.h"
#include "widgets/picture.h"
#include "app/program_launcher.h"
#include "base/exception.h"
#include "base/executable_path.h"
#include "archive/engine/rar_library.h"
#include "tests/dialogs/dialog_driver.h"
#include "dialogs/folder_tree.h"
#include "dialogs/frm_change_dir.h"
#include "dialogs/frm_install.h"
#include "dialogs/frm_new_dir.h"
#include "tests/support/launch_recorder.h"
#include "tests/support/message_box_recorder.h"
#include "tools/rar_writer/rar_writer.h"

#include <QDirIterator>
#include <QFile>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <cstdlib>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file below a folder, relative to it, sorted.
QStringList filesBelow(const QString& root)
{
    QStringList names;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(root).relativeFilePath(it.next());
    names.sort();
    return names;
}

class InstallFlowTest : public ::testing::Test {
protected:
    InstallFlowTest()
    {
        const char* bin = std::getenv("ZK_BIN_DIR");
        BindRarLibrary(DefaultRarLibraryLocation(bin ? bin : "."));
        package = scratch.make(QStringLiteral("package"));
        target = scratch.make(QStringLiteral("target"));
        frm_zenkor = &zenkor;
        frm_install = &install;
        frm_ChangeDir = &changeDir;
        frm_NewDir = &newDir;
        zenkor.InstallPath->setText(scratch.path() + QStringLiteral("/Games/Zenkor"));
        zenkor.SpaceRequired->setText(QStringLiteral("1"));
        zenkor.RunProgram->setText(QStringLiteral("start.sh"));
    }
    ~InstallFlowTest() override
    {
        frm_zenkor = nullptr;
        frm_install = nullptr;
        frm_ChangeDir = nullptr;
        frm_NewDir = nullptr;
        ReleaseRarLibrary();
    }

    QString useArchive(const QString& path)
    {
        zenkor.RARFile->setText(path);
        return path;
    }
    QString sample(const char* name)
    {
        const QString copy = QDir(package).filePath(QString::fromLatin1(name));
        QFile::copy(
            QDir(qEnvironmentVariable("ZK_SAMPLES_DIR")).filePath(QString::fromLatin1(name)), copy);
        return useArchive(copy);
    }
    QString written(const std::vector<zk::rarwriter::Entry>& entries)
    {
        const QString path = QDir(package).filePath(QStringLiteral("game.rar"));
        zk::rarwriter::writeArchive(path.toStdString(), entries);
        return useArchive(path);
    }

    // Clicks Install in the main window; in the directory dialog opens the
    // target folder (unless it is empty) and clicks Install; then acts in the
    // extraction window.
    void installWith(const std::function<void()>& inExtractionWindow)
    {
        QTimer::singleShot(0, &changeDir, [this, inExtractionWindow] {
            if (!target.isEmpty())
                changeDir.DirectoryListBox->SetDirectory(target);
            QTimer::singleShot(0, &install, [this, inExtractionWindow] {
                inExtractionWindow();
                QTimer::singleShot(0, &install, [this] {
                    if (install.isVisible())
                        install.done(-1);
                });
            });
            driver::click(changeDir.img_install);
        });
        zenkor.InstallClick();
    }
    void installByExtract()
    {
        installWith([this] { driver::click(install.img_extract2); });
    }

    QStringList boxTexts() const
    {
        QStringList texts;
        for (const auto& box : boxes.boxes)
            texts << box.text;
        return texts;
    }

    driver::ScratchFolder scratch;
    QString package;
    QString target;
    MessageBoxRecorder boxes;
    LaunchRecorder launches{true};
    Tfrm_zenkor zenkor;
    Tfrm_install install;
    Tfrm_ChangeDir changeDir;
    Tfrm_NewDir newDir;
};

TEST_F(InstallFlowTest, DemoPayloadInstallsCompleteAndStartsItsProgram)
{
    const QString payload = QStringLiteral(ZK_DEMO_PAYLOAD_DIR);
    written(zk::rarwriter::entriesFromDirectory(payload.toStdString(), zk::rarwriter::Host::Unix));
    installByExtract();

    EXPECT_THAT(boxTexts(), ElementsAre("Program sucessfully installed!"));
    const QStringList files = filesBelow(payload);
    ASSERT_FALSE(files.isEmpty());
    EXPECT_EQ(filesBelow(target), files);
    for (const QString& file : files)
        EXPECT_EQ(contents(QDir(target).filePath(file)), contents(QDir(payload).filePath(file)))
            << file.toStdString();
    EXPECT_TRUE(QFileInfo(QDir(target).filePath(QStringLiteral("start.sh"))).isExecutable());
    ASSERT_EQ(launches.started.size(), 1u);
    EXPECT_EQ(launches.started[0].program, QDir(target).filePath(QStringLiteral("start.sh")));
    EXPECT_EQ(launches.started[0].workingDirectory, target);
}

// Install, Install, Extract: the program lands in the configured folder,
// made for it, and nothing is written beside setup.
TEST_F(InstallFlowTest, DefaultsInstallIntoTheConfiguredFolder)
{
    SetExecutablePathOverride((package + QStringLiteral("/setup")).toStdString());
    QDir::setCurrent(package);
    sample("rar5-multiple-files.rar");
    target.clear();
    installByExtract();
    SetExecutablePathOverride({});

    EXPECT_THAT(boxTexts(), ElementsAre("Program sucessfully installed!"));
    const QString configured = scratch.path() + QStringLiteral("/Games/Zenkor");
    EXPECT_THAT(filesBelow(configured),
                ElementsAre("test1.bin", "test2.bin", "test3.bin", "test4.bin"));
    EXPECT_THAT(filesBelow(package), ElementsAre("rar5-multiple-files.rar"));
    ASSERT_EQ(launches.started.size(), 1u);
    EXPECT_EQ(launches.started[0].workingDirectory, configured);
}

TEST_F(InstallFlowTest, RealSampleArchiveIsExtractedIntoTheChosenFolder)
{
    sample("rar5-multiple-files.rar");
    installByExtract();
    EXPECT_THAT(boxTexts(), ElementsAre("Program sucessfully installed!"));
    EXPECT_THAT(filesBelow(target),
                ElementsAre("test1.bin", "test2.bin", "test3.bin", "test4.bin"));
    EXPECT_EQ(QFileInfo(QDir(target).filePath(QStringLiteral("test4.bin"))).size(), 4096);
    EXPECT_EQ(launches.started.size(), 1u);
}

// A volume set made by the current archiver, through the whole flow with the
// public RAR library: every file and link of the program arrives.
TEST_F(InstallFlowTest, VolumeSetInstallsItsWholeTreeWithThePublicLibrary)
{
    const QString library = qEnvironmentVariable("ZK_PUBLIC_UNRAR");
    if (library.isEmpty())
        GTEST_SKIP() << "the public RAR library is not part of this build";
    if (!QFileInfo::exists(
            QDir(qEnvironmentVariable("ZK_SAMPLES_DIR")).filePath("rar5-volumes.part01.rar")))
        GTEST_SKIP() << "no ../shared/rar-samples beside the project";
    ASSERT_TRUE(BindRarLibrary({library.toStdString()}));
    sample("rar5-volumes.part02.rar");
    sample("rar5-volumes.part03.rar");
    sample("rar5-volumes.part01.rar");
    zenkor.RunProgram->setText(QStringLiteral("game/start.sh"));
    installByExtract();

    EXPECT_THAT(boxTexts(), ElementsAre("Program sucessfully installed!"));
    EXPECT_THAT(filesBelow(target),
                ElementsAre("game/README", "game/data/maps/level1.map", "game/data/maps/level2.map",
                            "game/data/maps/level3.map", "game/data/maps/level4.map",
                            "game/data/maps/level5.map", "game/data/maps/level6.map",
                            "game/data/sounds.dat", "game/data/tiles.dat", "game/docs/README.again",
                            "game/docs/empty.txt", "game/docs/readme.txt", "game/start.sh"));
    const QDir game(QDir(target).filePath(QStringLiteral("game")));
    EXPECT_EQ(QFileInfo(game.filePath(QStringLiteral("data/tiles.dat"))).size(), 300000);
    EXPECT_EQ(QFileInfo(game.filePath(QStringLiteral("data/sounds.dat"))).size(), 200000);
    EXPECT_EQ(QFileInfo(game.filePath(QStringLiteral("docs/README.again"))).symLinkTarget(),
              game.filePath(QStringLiteral("docs/readme.txt")));
    ASSERT_EQ(launches.started.size(), 1u);
    EXPECT_EQ(launches.started[0].program, game.filePath(QStringLiteral("start.sh")));
}

TEST_F(InstallFlowTest, DamagedArchiveSaysErrorInRarFileAndStartsNothing)
{
    sample("rar4-invalid.rar");
    installByExtract();
    // Cut short: one box names the archive, nothing is written.
    EXPECT_THAT(boxTexts(), ElementsAre("rar4-invalid.rar: error(25126): Unexpected end of file",
                                        "Error in RAR file!"));
    EXPECT_THAT(launches.started, IsEmpty());
}

// Faults that end a run part way name their cause in one box; the window
// then reports the failure and starts nothing.
TEST_F(InstallFlowTest, EncryptedEntryWithoutPasswordSaysWhyThenErrorInRarFile)
{
    sample("rar4-encrypted-entries.rar");
    installByExtract();
    EXPECT_THAT(boxTexts(),
                ElementsAre("b.txt: error(25190): Password protected", "Error in RAR file!"));
    EXPECT_THAT(launches.started, IsEmpty());
}

TEST_F(InstallFlowTest, FullDiskSaysDiskFullOnceThenErrorInRarFile)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting a small file system needs root";
    ASSERT_EQ(mount("tmpfs", target.toLocal8Bit().constData(), "tmpfs", 0, "size=256k"), 0);
    const std::string big(200 * 1024, 'x');
    std::vector<zk::rarwriter::Entry> entries;
    for (const char* name : {"a.bin", "b.bin", "c.bin"}) {
        zk::rarwriter::Entry entry;
        entry.name = name;
        entry.data = big;
        entries.push_back(entry);
    }
    written(entries);
    installByExtract();
    const QStringList left = filesBelow(target);
    umount(target.toLocal8Bit().constData());
    EXPECT_THAT(boxTexts(), ElementsAre("b.bin: error(25125): Disk full", "Error in RAR file!"));
    EXPECT_THAT(left, ElementsAre("a.bin"));
    EXPECT_THAT(launches.started, IsEmpty());
}

TEST_F(InstallFlowTest, ReadOnlyTargetSaysReadOnlyOnceThenErrorInRarFile)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting a read-only file system needs root";
    const QByteArray folder = target.toLocal8Bit();
    ASSERT_EQ(mount("tmpfs", folder.constData(), "tmpfs", MS_RDONLY, "size=64k"), 0);
    std::vector<zk::rarwriter::Entry> entries;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        zk::rarwriter::Entry entry;
        entry.name = name;
        entry.data = name;
        entries.push_back(entry);
    }
    written(entries);
    installByExtract();
    umount(folder.constData());
    EXPECT_THAT(boxTexts(),
                ElementsAre(QFileInfo(target).fileName() + QStringLiteral(": error(25102): File is "
                                                                          "read-only"),
                            QStringLiteral("Error in RAR file!")));
    EXPECT_THAT(launches.started, IsEmpty());
}

TEST_F(InstallFlowTest, ArchiveThatIsNotRarLeavesTheWindowOpenThenCancelEndsQuietly)
{
    const QString fake = QDir(package).filePath(QStringLiteral("game.rar"));
    QFile file(fake);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("This is not an archive at all.\n");
    file.close();
    useArchive(fake);
    bool openAfterExtract = false;
    installWith([this, &openAfterExtract] {
        driver::click(install.img_extract2);
        openAfterExtract = install.isVisible();
        driver::click(install.img_cancel);
    });
    EXPECT_TRUE(openAfterExtract);
    EXPECT_THAT(boxTexts(), ElementsAre("game.rar: error(25142): Invalid or unsupported archive "
                                        "type for this operation"));
    EXPECT_THAT(launches.started, IsEmpty());
    EXPECT_THAT(filesBelow(target), IsEmpty());
}

TEST_F(InstallFlowTest, HostileEntryNamesWriteNothingOutsideTheChosenFolder)
{
    std::vector<zk::rarwriter::Entry> entries;
    for (const auto& [name, data] :
         {std::pair{"good.txt", "fine"}, std::pair{"../escaped.txt", "bad"},
          std::pair{"/etc-escaped.txt", "bad"}}) {
        zk::rarwriter::Entry entry;
        entry.name = name;
        entry.data = data;
        entries.push_back(entry);
    }
    written(entries);
    installByExtract();
    EXPECT_FALSE(QFileInfo::exists(QDir(scratch.path()).filePath(QStringLiteral("escaped.txt"))));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/etc-escaped.txt")));
    EXPECT_TRUE(filesBelow(target).contains(QStringLiteral("good.txt")));
    for (const QString& file : filesBelow(target))
        EXPECT_FALSE(file.startsWith(QStringLiteral(".."))) << file.toStdString();
}

// The folder is made again where the user chose it, and nowhere else.
TEST_F(InstallFlowTest, VanishedTargetFolderIsFilledWhereItWasChosen)
{
    sample("rar5-multiple-files.rar");
    installWith([this] {
        QDir(target).removeRecursively();
        driver::click(install.img_extract2);
    });
    EXPECT_THAT(boxTexts(), ElementsAre("Program sucessfully installed!"));
    EXPECT_THAT(filesBelow(scratch.path()),
                ElementsAre("package/rar5-multiple-files.rar", "target/test1.bin",
                            "target/test2.bin", "target/test3.bin", "target/test4.bin"));
}

TEST_F(InstallFlowTest, CancelInTheDirectoryDialogInstallsNothing)
{
    sample("rar5-stored.rar");
    QTimer::singleShot(0, &changeDir, [this] { driver::click(changeDir.img_cancel); });
    zenkor.InstallClick();
    EXPECT_THAT(boxTexts(), IsEmpty());
    EXPECT_THAT(filesBelow(target), IsEmpty());
    EXPECT_THAT(launches.started, IsEmpty());
}

TEST_F(InstallFlowTest, RequiredSpaceWithAUnitStopsBeforeTheDialog)
{
    sample("rar5-stored.rar");
    zenkor.SpaceRequired->setText(QStringLiteral("650 MB"));
    bool dialogShown = false;
    QTimer::singleShot(0, &changeDir, [&] {
        dialogShown = changeDir.isVisible();
        if (dialogShown)
            changeDir.done(mrCancel);
    });
    try {
        zenkor.InstallClick();
        FAIL() << "the Install action went on";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "'650 MB' is not a valid integer value");
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(dialogShown);
}

} // namespace
