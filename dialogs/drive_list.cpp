#include "dialogs/drive_list.h"

#include "volumes/volume_label.h"
#include "widgets/guard.h"

#include <QAbstractItemView>
#include <QDir>
#include <QStyle>
#include <QStylePainter>

#include <algorithm>

namespace {

QStyle::StandardPixmap pictureOf(VolumeKind kind)
{
    switch (kind) {
    case VolumeKind::vkNetwork:
        return QStyle::SP_DriveNetIcon;
    case VolumeKind::vkOptical:
        return QStyle::SP_DriveCDIcon;
    case VolumeKind::vkDisk:
        break;
    }
    return QStyle::SP_DriveHDIcon;
}

Volume volumeAt(const std::vector<Mount>& mounts, const QString& folder)
{
    const Mount* mount = MountOf(mounts, folder);
    return mount ? VolumeOfMount(*mount, ReadVolumeLabel)
                 : Volume{QDir::rootPath(), {}, {}, VolumeKind::vkDisk};
}

} // namespace

QString VolumeRootOf(const QString& folder)
{
    const std::vector<Mount> mounts = CurrentMounts();
    const Mount* mount = MountOf(mounts, folder);
    return mount ? mount->mountPoint : QDir::rootPath();
}

std::vector<Volume> MountedVolumes(const QString& folder)
{
    const std::vector<Mount> mounts = CurrentMounts();
    std::vector<Volume> volumes = OfferedVolumes(mounts, ReadVolumeLabel);
    const Volume current = volumeAt(mounts, folder);
    auto place = volumes.begin();
    while (place != volumes.end() && place->root < current.root)
        ++place;
    if (place == volumes.end() || place->root != current.root)
        volumes.insert(place, current);
    return volumes;
}

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent)
{
    const QString current = QDir::currentPath();
    for (const Volume& volume : MountedVolumes(current))
        addVolume(volume, count());
    select(findData(VolumeRootOf(current)));
    connect(this, &QComboBox::activated, this,
            [this](int index) { runGuarded([this, index] { picked(index); }); });
}

void TDriveComboBox::addVolume(const Volume& volume, int index)
{
    insertItem(index, style()->standardIcon(pictureOf(volume.kind)), EntryText(volume),
               volume.root);
    setItemData(index, volume.root, Qt::ToolTipRole);
}

void TDriveComboBox::select(int index)
{
    setCurrentIndex(index);
    drive_ = currentData().toString();
    setToolTip(drive_);
}

void TDriveComboBox::ShowVolume(const QString& root)
{
    int index = findData(root);
    if (index < 0) {
        index = 0;
        while (index < count() && itemData(index).toString() < root)
            ++index;
        addVolume(volumeAt(CurrentMounts(), root), index);
    }
    select(index);
}

void TDriveComboBox::picked(int index)
{
    const QString root = itemData(index).toString();
    setToolTip(root);
    if (root == drive_)
        return;
    drive_ = root;
    emit Change();
}

void TDriveComboBox::showPopup()
{
    // The open list may be wider than the closed one, so that no entry is
    // cut: room for the widest text, its picture and the menu-style margins
    // the list draws its entries with.
    int widest = 0;
    for (int index = 0; index < count(); ++index)
        widest = std::max(widest, view()->fontMetrics().horizontalAdvance(itemText(index)));
    const int margins = 2 * view()->frameWidth() + 2 * iconSize().width() + 48;
    view()->setMinimumWidth(std::max(width(), widest + margins));
    QComboBox::showPopup();
}

// The closed list keeps its layout width; a long entry loses its middle, so
// both the start of the mount point and its end (or the label) stay in view.
void TDriveComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const int textWidth =
        field.width() - (option.currentIcon.isNull() ? 0 : option.iconSize.width() + 4);
    option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideMiddle, textWidth);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}
