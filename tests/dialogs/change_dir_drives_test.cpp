#include "widgets/label.h"
#include "change_dir_fixture.h"

#include <QAbstractItemView>

// The drive list on a platform whose folder tree can leave its volume.
namespace {

TEST_F(ChangeDirTest, DriveChangeOnlyForAnotherVolume)
{
    const QString other = scratch.make(QStringLiteral("other-volume"));
    mountTable += fake_mounts::line(other, "ext4", "/dev/zk-test-other");
    freeBytes = 10 * kMB;
    Tfrm_ChangeDir dialog;
    dialog.FormCreate();
    TDriveComboBox* drives = dialog.DriveComboBox;
    EXPECT_EQ(drives->Drive(), QStringLiteral("/"));
    EXPECT_EQ(drives->itemText(1), other);

    freeBytes = 20 * kMB;
    emit drives->activated(0); // the selected one: nothing happens
    EXPECT_EQ(dialog.lbl_FreeSpace->text(), QStringLiteral("10 MB"));
    EXPECT_EQ(dialog.GetDirectory(), scratch.path());

    drives->setCurrentIndex(1);
    emit drives->activated(1);
    EXPECT_EQ(drives->Drive(), other);
    EXPECT_EQ(dialog.GetDirectory(), other);
    EXPECT_EQ(QDir::currentPath(), other);
    EXPECT_EQ(dialog.lbl_FreeSpace->text(), QStringLiteral("20 MB"));
}

TEST_F(ChangeDirTest, DriveThatCannotBeOpenedLeavesTreeAndFigure)
{
    const QString gone = scratch.make(QStringLiteral("no-medium"));
    mountTable += fake_mounts::line(gone, "iso9660", "/dev/zk-test-cd");
    freeBytes = 10 * kMB;
    Tfrm_ChangeDir dialog;
    dialog.FormCreate();
    QDir(gone).removeRecursively();
    freeBytes = 20 * kMB;
    // Picked through the event loop, so the guard reports the failure.
    QTimer::singleShot(0, &dialog, [&] { emit dialog.DriveComboBox->activated(1); });
    QCoreApplication::processEvents();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("I/O error 2."));
    EXPECT_EQ(dialog.DriveComboBox->Drive(), gone);
    EXPECT_EQ(dialog.GetDirectory(), scratch.path());
    EXPECT_EQ(dialog.lbl_FreeSpace->text(), QStringLiteral("10 MB"));
}

TEST_F(ChangeDirTest, ListAndFigureFollowTheVolumeOfTheOpenFolder)
{
    const QString small = scratch.make(QStringLiteral("small"));
    scratch.make(QStringLiteral("small/inside"));
    mountTable += fake_mounts::line(small, "tmpfs", "tmpfs");
    SetFreeSpaceSource([&](const QString& folder) {
        return VolumeSpace{VolumeRootOf(folder) == small ? 31 * kMB : 84638 * kMB, false};
    });
    Tfrm_ChangeDir dialog;
    dialog.FormCreate();
    dialog.SetSpaceRequired(QStringLiteral("650"));
    int changes = 0;
    QObject::connect(dialog.DriveComboBox, &TDriveComboBox::Change, [&] { ++changes; });
    const auto shows = [&](const QString& drive, const char* figure, QColor colour) {
        EXPECT_EQ(dialog.DriveComboBox->Drive(), drive);
        EXPECT_EQ(dialog.DriveComboBox->currentData().toString(), drive);
        EXPECT_EQ(dialog.lbl_FreeSpace->text(), QString::fromLatin1(figure));
        EXPECT_EQ(dialog.lbl_FreeSpace->textColour(), colour);
    };

    dialog.DirectoryListBox->SetDirectory(small);
    shows(small, "31 MB", Qt::red);
    // Within one volume the figure stands still.
    freeBytes = 1;
    dialog.DirectoryListBox->SetDirectory(small + QStringLiteral("/inside"));
    shows(small, "31 MB", Qt::red);
    dialog.DirectoryListBox->SetDirectory(scratch.path());
    shows(QStringLiteral("/"), "84638 MB", Qt::white);
    EXPECT_EQ(changes, 0);
}

TEST_F(ChangeDirTest, DriveListShowsWholeEntriesWithTheMountPointAsHint)
{
    const QString longName = scratch.make(QStringLiteral("backup-volume-of-the-household"));
    mountTable += fake_mounts::line(longName, "nfs", "fileserver:/exports/backup");
    Tfrm_ChangeDir dialog;
    dialog.show();
    TDriveComboBox* drives = dialog.DriveComboBox;
    EXPECT_EQ(drives->geometry(), QRect(8, 8, 113, 19));
    const int entry = drives->findData(longName);
    ASSERT_GE(entry, 0);
    const QString text = longName + QStringLiteral(" fileserver:/exports/backup");
    EXPECT_EQ(drives->itemText(entry), text);
    EXPECT_EQ(drives->itemData(entry, Qt::ToolTipRole).toString(), longName);
    EXPECT_EQ(drives->toolTip(), QStringLiteral("/"));

    drives->showPopup();
    EXPECT_GE(drives->view()->viewport()->width(), drives->fontMetrics().horizontalAdvance(text));
    drives->hidePopup();
    EXPECT_EQ(drives->width(), 113);
}

} // namespace
