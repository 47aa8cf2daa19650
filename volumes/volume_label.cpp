#include "volumes/volume_label.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <blkid.h>

#include <memory>

namespace {

QString probedLabel(const QString& device)
{
    const QByteArray path = QFile::encodeName(device);
    std::unique_ptr<blkid_struct_probe, decltype(&blkid_free_probe)> probe(
        blkid_new_probe_from_filename(path.constData()), &blkid_free_probe);
    if (!probe)
        return {};
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_LABEL);
    if (blkid_do_safeprobe(probe.get()) != 0)
        return {};
    const char* label = nullptr;
    if (blkid_probe_lookup_value(probe.get(), "LABEL", &label, nullptr) != 0 || !label)
        return {};
    return QString::fromUtf8(label);
}

// The links are named by the label, with blanks and other unsafe bytes
// written as \x escapes.
QString linkedLabel(const QString& device)
{
    const QString target = QFileInfo(device).canonicalFilePath();
    const QDir links(QStringLiteral("/dev/disk/by-label"));
    for (const QFileInfo& link : links.entryInfoList(QDir::System | QDir::Files)) {
        if (link.canonicalFilePath() != target)
            continue;
        QByteArray name = QFile::encodeName(link.fileName());
        for (qsizetype at = name.indexOf("\\x"); at >= 0 && at + 3 < name.size();
             at = name.indexOf("\\x", at + 1))
            name.replace(at, 4, QByteArray::fromHex(name.mid(at + 2, 2)));
        return QString::fromUtf8(name);
    }
    return {};
}

} // namespace

QString ReadVolumeLabel(const QString& device)
{
    if (!device.startsWith(u'/') || !QFileInfo::exists(device))
        return {};
    const QString label = probedLabel(device);
    return label.isEmpty() ? linkedLabel(device) : label;
}
