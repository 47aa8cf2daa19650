#include "volumes/volumes.h"

#include <QFileInfo>
#include <QSet>

#include <map>

namespace {

bool isPseudoFileSystem(const QString& type)
{
    static const QSet<QString> pseudo = {
        QStringLiteral("proc"),
        QStringLiteral("sysfs"),
        QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"),
        QStringLiteral("securityfs"),
        QStringLiteral("cgroup"),
        QStringLiteral("cgroup2"),
        QStringLiteral("pstore"),
        QStringLiteral("efivarfs"),
        QStringLiteral("bpf"),
        QStringLiteral("debugfs"),
        QStringLiteral("tracefs"),
        QStringLiteral("configfs"),
        QStringLiteral("fusectl"),
        QStringLiteral("mqueue"),
        QStringLiteral("hugetlbfs"),
        QStringLiteral("binfmt_misc"),
        QStringLiteral("autofs"),
        QStringLiteral("rpc_pipefs"),
        QStringLiteral("nfsd"),
        QStringLiteral("nsfs"),
        QStringLiteral("selinuxfs"),
        QStringLiteral("fuse.lxcfs"),
        QStringLiteral("fuse.portal"),
        QStringLiteral("fuse.gvfsd-fuse"),
    };
    return pseudo.contains(type);
}

// Snap packages and live-system images: loop-mounted, read-only by design.
bool isPackageImage(const QString& type)
{
    return type == QLatin1String("squashfs") || type == QLatin1String("fuse.snapfuse");
}

bool isNetworkFileSystem(const QString& type)
{
    static const QSet<QString> network = {
        QStringLiteral("nfs"),  QStringLiteral("nfs4"),  QStringLiteral("cifs"),
        QStringLiteral("smb3"), QStringLiteral("smbfs"), QStringLiteral("fuse.sshfs"),
    };
    return network.contains(type);
}

bool isOpticalFileSystem(const QString& type)
{
    return type == QLatin1String("iso9660") || type == QLatin1String("udf");
}

// The system's own mounts live here; removable media mounted below
// /run/media are the user's.
bool isSystemPlace(const QString& mountPoint)
{
    for (const char* place : {"/proc", "/sys", "/dev", "/run", "/snap"}) {
        const QLatin1String top(place);
        if ((mountPoint == top || mountPoint.startsWith(top + u'/')) &&
            !mountPoint.startsWith(QLatin1String("/run/media/")))
            return true;
    }
    return false;
}

} // namespace

bool IsOffered(const Mount& mount)
{
    return !isPseudoFileSystem(mount.fsType) && !isPackageImage(mount.fsType) &&
           !isSystemPlace(mount.mountPoint);
}

Volume VolumeOfMount(const Mount& mount, const LabelReader& labelOf)
{
    Volume volume{mount.mountPoint, {}, {}, VolumeKind::vkDisk};
    if (isNetworkFileSystem(mount.fsType)) {
        volume.kind = VolumeKind::vkNetwork;
        volume.source = mount.source;
        return volume;
    }
    if (isOpticalFileSystem(mount.fsType))
        volume.kind = VolumeKind::vkOptical;
    volume.label = labelOf(mount.source);
    return volume;
}

std::vector<Volume> OfferedVolumes(const std::vector<Mount>& mounts, const LabelReader& labelOf)
{
    // Later lines of the table lie on top of earlier ones at the same place.
    std::map<QString, const Mount*> topmost;
    for (const Mount& mount : mounts)
        topmost[mount.mountPoint] = &mount;
    std::vector<Volume> volumes;
    for (const auto& [root, mount] : topmost) {
        if (IsOffered(*mount) && QFileInfo(root).isDir())
            volumes.push_back(VolumeOfMount(*mount, labelOf));
    }
    return volumes;
}

QString EntryText(const Volume& volume)
{
    if (volume.kind == VolumeKind::vkNetwork)
        return volume.source.isEmpty() ? volume.root : volume.root + u' ' + volume.source;
    if (volume.label.isEmpty())
        return volume.root;
    return QStringLiteral("%1 [%2]").arg(volume.root, volume.label.toLower());
}
