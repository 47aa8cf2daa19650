#include "dialogs/frm_change_dir.h"

#include "config/integer_text.h"
#include "widgets/message_box.h"
#include "widgets/guard.h"
#include "widgets/label.h"
#include "widgets/picture.h"
#include "widgets/picture_bindings.h"
#include "resources/artwork.h"
#include "dialogs/drive_list.h"
#include "dialogs/folder_tree.h"
#include "volumes/free_space.h"
#include "dialogs/frm_install.h"
#include "dialogs/frm_new_dir.h"
#include "dialogs/modal_result.h"

#include <QDir>
#include <QFile>

#include <algorithm>

#include <sys/stat.h>

Tfrm_ChangeDir* frm_ChangeDir = nullptr;

namespace {

// A static text at its place, at least its layout size and wide enough for
// its caption in the font at hand. Its text stands at the top, level with
// the value label beside it.
TAutoLabel* staticText(QWidget* parent, const QRect& geometry, const QString& caption)
{
    auto* text = new TAutoLabel(parent, geometry.topLeft(), caption, Qt::white);
    text->setAutoSize(false);
    text->resize(std::max(geometry.width(), text->textExtent().width()), geometry.height());
    return text;
}

// The folder a new name makes below `dir`; a root already ends in a separator.
QString childPath(const QString& dir, const QString& name)
{
    return dir.endsWith(u'/') ? dir + name : dir + u'/' + name;
}

// A typed name is read as the installer reads every path: "\" and "/" both
// separate folders (the install path in install.ini is written with "\"), so
// no folder is ever made whose name holds a "\". One folder is made, as the
// platform's own call makes it; parts "." and ".." are refused, so Make Dir
// never makes a folder above the open one. Answers the folder to make, or
// empty when the name is refused.
QString typedFolder(const QString& openFolder, const QString& typed)
{
    const QString name = QString(typed).replace(u'\\', u'/');
    const QStringList parts = name.split(u'/');
    if (parts.contains(QStringLiteral(".")) || parts.contains(QStringLiteral("..")))
        return {};
    return childPath(openFolder, name);
}

} // namespace

Tfrm_ChangeDir::Tfrm_ChangeDir(QWidget* parent) : HoverWindow(parent)
{
    setUpToolWindow(QStringLiteral("Select Install Directory"), QSize(305, 307), true);
    setCursor(Qt::ArrowCursor);

    DriveComboBox = new TDriveComboBox(this);
    DriveComboBox->setGeometry(8, 8, 113, 19);
    DirectoryListBox = new TDirectoryListBox(this);
    DirectoryListBox->setGeometry(8, 48, 289, 185);
    lbl_SpaceRequired = addLabel({216, 24}, QStringLiteral("SpaceRequired"));
    StaticText1 = staticText(this, {128, 24, 84, 17}, QStringLiteral("Sapce Required:"));
    StaticText2 = staticText(this, {128, 8, 62, 17}, QStringLiteral("Free Space:"));
    const QString plainHint = QStringLiteral("install program");
    img_install = new TPicture(this, {200, 272, 97, 33}, artwork::kInstall, plainHint);
    img_cancel = new TPicture(this, {8, 272, 124, 33}, artwork::kCancel, plainHint);
    img_MakeDir = new TPicture(this, {93, 244, 140, 29}, artwork::kMakeDir, plainHint);
    InstallPath = addLabel({24, 360}, QStringLiteral("InstallPath"));
    lbl_FreeSpace = addLabel({216, 8}, QStringLiteral("FreeSpace"));
    img_cancel2 = new TPicture(this, {8, 272, 124, 33}, artwork::kCancelLit,
                               QStringLiteral("Cancel Install"));
    img_install2 = new TPicture(this, {200, 272, 97, 33}, artwork::kInstallLit, plainHint);
    img_MakeDir2 = new TPicture(this, {93, 244, 140, 29}, artwork::kMakeDirLit,
                                QStringLiteral("Create a new Directory/Folder"));
    Rarfile = addLabel({24, 384}, QStringLiteral("Rarfile"));
    img_cancel2->hide();
    img_install2->hide();
    img_MakeDir2->hide();
    setLitTwins({img_cancel2, img_install2, img_MakeDir2});
    img_MakeDir->setLitTwin(img_MakeDir2);
    img_cancel->setLitTwin(img_cancel2);
    img_install->setLitTwin(img_install2);
    DriveComboBox->setAccessibleName(QStringLiteral("Drive"));
    DirectoryListBox->setAccessibleName(QStringLiteral("Folder"));
    // Reading order: the lists, then Make Dir, then Cancel and Install.
    setTabOrder(DriveComboBox, DirectoryListBox);
    setTabOrder(DirectoryListBox, img_MakeDir);
    setTabOrder(img_MakeDir, img_cancel);
    setTabOrder(img_cancel, img_install);

    connect(DriveComboBox, &TDriveComboBox::Change, this, &Tfrm_ChangeDir::DriveChange);
    const PictureBindings bind(*this);
    bind({img_MakeDir, img_MakeDir2}, &Tfrm_ChangeDir::MakeDirMouseMove,
         &Tfrm_ChangeDir::MakeDirClick);
    bind({img_install, img_install2}, &Tfrm_ChangeDir::InstallMouseMove,
         &Tfrm_ChangeDir::InstallClick);
    bind({img_cancel, img_cancel2}, &Tfrm_ChangeDir::CancelMouseMove, &Tfrm_ChangeDir::CancelClick);
    connect(this, &HoverWindow::backgroundMouseMoved, this, &Tfrm_ChangeDir::ChangeDirMouseMove);
    connect(DirectoryListBox, &TDirectoryListBox::mouseMoved, this,
            &Tfrm_ChangeDir::ChangeDirMouseMove);
    connect(DirectoryListBox, &TDirectoryListBox::directoryChanged, this,
            &Tfrm_ChangeDir::FollowVolume);
}

void Tfrm_ChangeDir::FormCreate()
{
    ShowFreeSpace();
}

void Tfrm_ChangeDir::SetInstallPath(const QString& path)
{
    InstallPath->setText(path);
}

void Tfrm_ChangeDir::SetSpaceRequired(const QString& megabytes)
{
    FSpaceRequired = StrToInt(megabytes, kNoSignBeforeDollar);
    lbl_SpaceRequired->setText(QStringLiteral("%1 MB").arg(FSpaceRequired));
}

void Tfrm_ChangeDir::SetRarFile(const QString& path)
{
    Rarfile->setText(path);
}

QString Tfrm_ChangeDir::GetDirectory() const
{
    return DirectoryListBox->Directory();
}

// The drive list's first notification comes when its window is first made.
void Tfrm_ChangeDir::showEvent(QShowEvent* event)
{
    HoverWindow::showEvent(event);
    runGuarded([this] {
        if (!shown_) {
            shown_ = true;
            DriveChange();
        }
        if (openInstallFolder_)
            OpenInstallFolder();
    });
}

void Tfrm_ChangeDir::OpenInstallFolder()
{
    // Only a full path is a configured folder: the main window expands the
    // configured value, and the design caption is not one.
    const QString path = InstallPath->text();
    if (!QDir::isAbsolutePath(path))
        return;
    openInstallFolder_ = false;
    if (!madeFolders_.make(path)) {
        showErrorBox(QStringLiteral("Could not create dir (%1)").arg(path));
        return;
    }
    DirectoryListBox->SetDirectory(path);
}

void Tfrm_ChangeDir::done(int result)
{
    HoverWindow::done(result);
    if (madeFolders_.removeEmpty(DirectoryListBox->Directory()))
        openInstallFolder_ = true;
}

void Tfrm_ChangeDir::DriveChange()
{
    DirectoryListBox->SetDrive(DriveComboBox->Drive());
    ShowFreeSpace();
}

void Tfrm_ChangeDir::FollowVolume()
{
    const QString root = VolumeRootOf(DirectoryListBox->Directory());
    if (root == DriveComboBox->Drive())
        return;
    DriveComboBox->ShowVolume(root);
    ShowFreeSpace();
}

void Tfrm_ChangeDir::ShowFreeSpace()
{
    const uint64_t megabytes = FreeMegabytes(SpaceOfVolume(QDir::currentPath()));
    lbl_FreeSpace->setText(QStringLiteral("%1 MB").arg(megabytes));
    const bool enough = megabytes != 0 && static_cast<int64_t>(megabytes) > FSpaceRequired;
    lbl_FreeSpace->setTextColour(enough ? Qt::white : Qt::red);
    lbl_FreeSpace->repaint();
    lbl_SpaceRequired->repaint();
}

void Tfrm_ChangeDir::MakeDirClick()
{
    frm_NewDir->SetNewDir(InstallPath->text());
    if (frm_NewDir->exec() != mrOk)
        return;
    const QString path = typedFolder(DirectoryListBox->Directory(), frm_NewDir->GetNewDir());
    if (path.isEmpty() || ::mkdir(QFile::encodeName(path).constData(), 0777) != 0) {
        const QString tried =
            path.isEmpty() ? childPath(DirectoryListBox->Directory(), frm_NewDir->GetNewDir())
                           : path;
        showErrorBox(QStringLiteral("Could not create dir (%1)").arg(tried));
        return;
    }
    DirectoryListBox->SetDirectory(path);
    DirectoryListBox->Update();
}

void Tfrm_ChangeDir::InstallClick()
{
    // The installer's own files (setup, lib/, plugins/) must not be mixed
    // with, or overwritten by, the program's.
    if (IsInstallerFolder(DirectoryListBox->Directory())) {
        showErrorBox(QStringLiteral("%1 is the installer's own folder. Choose or make another "
                                    "folder to install into.")
                         .arg(DirectoryListBox->Directory()));
        return;
    }
    frm_install->SetInstallPath(DirectoryListBox->Directory());
    frm_install->SetRarFile(Rarfile->text());
    done(frm_install->exec());
}

void Tfrm_ChangeDir::CancelClick()
{
    done(mrCancel);
}

void Tfrm_ChangeDir::MakeDirMouseMove()
{
    showOnlyTwin(img_MakeDir2);
}

void Tfrm_ChangeDir::InstallMouseMove()
{
    showOnlyTwin(img_install2);
}

void Tfrm_ChangeDir::CancelMouseMove()
{
    showOnlyTwin(img_cancel2);
}

void Tfrm_ChangeDir::ChangeDirMouseMove()
{
    showOnlyTwin(nullptr);
}
