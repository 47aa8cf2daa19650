#include "volumes/free_space.h"
#include "volumes/mount_table.h"
#include "volumes/volume_label.h"
#include "volumes/volumes.h"
#include "tests/volumes/mount_table_fake.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

TEST(MountTableTest, ReadsPointTypeAndSourceAndSkipsBrokenLines)
{
    const QByteArray text =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw,errors=remount-ro\n"
        "40 22 0:45 / /mnt/my\\040disk rw master:3 shared:7 - vfat /dev/sdb1 rw\n"
        "garbage without the separator\n"
        "41 22 0:46 / /srv/share rw - nfs4 server:/export\n"
        "42 22 0:47 / /mnt/back\\134slash rw - cifs //host/share rw\n";
    const std::vector<Mount> mounts = ParseMountInfo(text);
    ASSERT_EQ(mounts.size(), 4u);
    EXPECT_EQ(mounts[0].mountPoint, QStringLiteral("/"));
    EXPECT_EQ(mounts[0].fsType, QStringLiteral("ext4"));
    EXPECT_EQ(mounts[0].source, QStringLiteral("/dev/sda1"));
    EXPECT_EQ(mounts[1].mountPoint, QStringLiteral("/mnt/my disk"));
    EXPECT_EQ(mounts[1].source, QStringLiteral("/dev/sdb1"));
    EXPECT_EQ(mounts[2].source, QStringLiteral("server:/export"));
    EXPECT_EQ(mounts[3].mountPoint, QStringLiteral("/mnt/back\\slash"));
    EXPECT_EQ(mounts[3].source, QStringLiteral("//host/share"));
}

TEST(MountTableTest, FolderBelongsToTheDeepestTopmostMount)
{
    const std::vector<Mount> mounts = {{"/", "ext4", "a"},
                                       {"/mnt", "ext4", "b"},
                                       {"/mnt/usb", "vfat", "c"},
                                       {"/mnt", "tmpfs", "d"}};
    const auto sourceOf = [&](const char* folder) {
        const Mount* mount = MountOf(mounts, QString::fromLatin1(folder));
        return mount ? mount->source : QStringLiteral("none");
    };
    EXPECT_EQ(sourceOf("/home/user"), QStringLiteral("a"));
    EXPECT_EQ(sourceOf("/mnt"), QStringLiteral("d"));
    EXPECT_EQ(sourceOf("/mnt/usb/games"), QStringLiteral("c"));
    EXPECT_EQ(sourceOf("/mnt/usb2"), QStringLiteral("d"));
    EXPECT_EQ(MountOf({}, QStringLiteral("/x")), nullptr);
}

TEST(VolumesTest, OffersWhatAUserInstallsToWithLabelOrSource)
{
    struct Row {
        const char* point;
        const char* type;
        const char* source;
        const char* entry; // nullptr: not offered
        VolumeKind kind;
    };
    QTemporaryDir scratch;
    const QString base = QDir(scratch.path()).canonicalPath();
    const std::vector<Row> rows = {
        {"/disk", "ext4", "/dev/labelled", "/disk [games 2]", VolumeKind::vkDisk},
        {"/backup-volume-with-a-long-name", "btrfs", "/dev/plain",
         "/backup-volume-with-a-long-name", VolumeKind::vkDisk},
        {"/ram", "tmpfs", "tmpfs", "/ram", VolumeKind::vkDisk},
        {"/disc", "iso9660", "/dev/labelled", "/disc [games 2]", VolumeKind::vkOptical},
        {"/nfs", "nfs4", "server:/export", "/nfs server:/export", VolumeKind::vkNetwork},
        {"/smb", "cifs", "//host/share", "/smb //host/share", VolumeKind::vkNetwork},
        {"/ssh", "fuse.sshfs", "me@host:/srv", "/ssh me@host:/srv", VolumeKind::vkNetwork},
        {"/snap-app", "squashfs", "/dev/loop3", nullptr, VolumeKind::vkDisk},
        {"/snapfuse", "fuse.snapfuse", "snapfuse", nullptr, VolumeKind::vkDisk},
        {"/kernel", "proc", "proc", nullptr, VolumeKind::vkDisk},
        {"/cgroups", "cgroup2", "cgroup2", nullptr, VolumeKind::vkDisk},
        {"/portal", "fuse.portal", "portal", nullptr, VolumeKind::vkDisk},
    };
    std::vector<Mount> mounts;
    for (const Row& row : rows) {
        const QString point = base + QLatin1String(row.point);
        QDir().mkpath(point);
        mounts.push_back({point, QLatin1String(row.type), QLatin1String(row.source)});
    }
    // System places and single files bound into place are never offered.
    mounts.push_back({QStringLiteral("/run/user/1000"), "tmpfs", "tmpfs"});
    mounts.push_back({QStringLiteral("/dev/shm"), "tmpfs", "tmpfs"});
    QFile(base + QStringLiteral("/hosts")).open(QIODevice::WriteOnly);
    mounts.push_back({base + QStringLiteral("/hosts"), "ext4", "/dev/plain"});
    EXPECT_TRUE(IsOffered({QStringLiteral("/run/media/me/USB"), "vfat", "/dev/sdc1"}));

    const auto labelOf = [](const QString& device) {
        return device == QLatin1String("/dev/labelled") ? QStringLiteral("GAMES 2") : QString();
    };
    std::vector<Volume> expected;
    for (const Row& row : rows) {
        if (row.entry)
            expected.push_back({base + QLatin1String(row.point), {}, {}, row.kind});
    }
    std::sort(expected.begin(), expected.end(),
              [](const Volume& a, const Volume& b) { return a.root < b.root; });
    const std::vector<Volume> offered = OfferedVolumes(mounts, labelOf);
    ASSERT_EQ(offered.size(), expected.size());
    for (size_t i = 0; i < offered.size(); ++i) {
        SCOPED_TRACE(offered[i].root.toStdString());
        EXPECT_EQ(offered[i].root, expected[i].root);
        EXPECT_EQ(offered[i].kind, expected[i].kind);
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const Row& r) {
            return base + QLatin1String(r.point) == offered[i].root;
        });
        EXPECT_EQ(EntryText(offered[i]), base + QLatin1String(row->entry));
    }
}

// An ISO 9660 image: the primary volume descriptor at sector 16 carries the
// volume name, a terminator follows.
QByteArray isoImage(const QByteArray& volumeName)
{
    QByteArray image(18 * 2048, '\0');
    const auto descriptor = [&](int sector, char type) {
        char* at = image.data() + sector * 2048;
        at[0] = type;
        std::copy_n("CD001", 5, at + 1);
        at[6] = 1;
        return at;
    };
    char* primary = descriptor(16, 1);
    memset(primary + 8, ' ', 64);
    memcpy(primary + 40, volumeName.constData(), size_t(volumeName.size()));
    descriptor(17, char(255));
    return image;
}

TEST(VolumeLabelTest, ReadFromTheVolumeItself)
{
    QTemporaryDir scratch;
    const QString imagePath = scratch.filePath(QStringLiteral("disc.iso"));
    QFile image(imagePath);
    ASSERT_TRUE(image.open(QIODevice::WriteOnly));
    image.write(isoImage("ZENKOR DISC"));
    image.close();
    EXPECT_EQ(ReadVolumeLabel(imagePath), QStringLiteral("ZENKOR DISC"));
    EXPECT_EQ(ReadVolumeLabel(scratch.path()), QString());
    EXPECT_EQ(ReadVolumeLabel(QStringLiteral("server:/export")), QString());
    EXPECT_EQ(ReadVolumeLabel(scratch.filePath(QStringLiteral("missing"))), QString());
}

TEST(FreeSpaceTest, ReadOnlyAndUnknownVolumesHaveNoRoom)
{
    EXPECT_EQ(FreeMegabytes(VolumeSpace{16'999'999, false}), 16u);
    EXPECT_EQ(FreeMegabytes(VolumeSpace{16'999'999, true}), 0u);
    EXPECT_EQ(FreeMegabytes(std::nullopt), 0u);
    QTemporaryDir scratch;
    const std::optional<VolumeSpace> space = StatvfsSpace(scratch.path());
    ASSERT_TRUE(space.has_value());
    EXPECT_FALSE(space->readOnly);
    EXPECT_FALSE(StatvfsSpace(scratch.filePath(QStringLiteral("missing"))).has_value());
}

} // namespace
