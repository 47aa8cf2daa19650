#pragma once

#include "dialog_driver.h"
#include "dialogs/drive_list.h"
#include "dialogs/folder_tree.h"
#include "volumes/free_space.h"
#include "dialogs/frm_change_dir.h"
#include "dialogs/frm_new_dir.h"
#include "volumes/mount_table.h"
#include "tests/volumes/mount_table_fake.h"
#include "tests/support/message_box_recorder.h"

#include <QDir>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

#include <optional>

constexpr uint64_t kMB = 1'000'000;

// A dialog with a scripted free-space figure, started in a scratch folder.
class ChangeDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir::setCurrent(scratch.path());
        SetFreeSpaceSource([this](const QString&) -> std::optional<VolumeSpace> {
            if (!freeBytes)
                return std::nullopt;
            return VolumeSpace{*freeBytes, readOnly};
        });
        SetMountInfoSource([this] { return mountTable; });
        frm_NewDir = &newDir;
    }
    void TearDown() override
    {
        SetFreeSpaceSource({});
        SetMountInfoSource({});
        frm_NewDir = nullptr;
    }

    // Makes a folder by Make Dir, answering the new directory dialog with `name`.
    void makeDir(Tfrm_ChangeDir& dialog, const QString& name, bool ok = true)
    {
        QTimer::singleShot(0, &newDir, [this, name, ok] {
            newDir.edt_NewDir->setText(name);
            ok ? newDir.OkClick() : newDir.CancelClick();
        });
        dialog.MakeDirClick();
    }

    QStringList treeTexts(const TDirectoryListBox& tree)
    {
        QStringList texts;
        for (QTreeWidgetItemIterator it(const_cast<TDirectoryListBox*>(&tree)); *it; ++it)
            texts << (*it)->text(0);
        return texts;
    }

    driver::ScratchFolder scratch;
    std::optional<uint64_t> freeBytes = 0;
    bool readOnly = false;
    QByteArray mountTable = fake_mounts::line(QStringLiteral("/"), "ext4", "/dev/zk-test-root");
    Tfrm_NewDir newDir;
    MessageBoxRecorder boxes;
};
