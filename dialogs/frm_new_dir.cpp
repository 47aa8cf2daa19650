#include "dialogs/frm_new_dir.h"

#include "widgets/picture.h"
#include "widgets/picture_bindings.h"
#include "resources/artwork.h"
#include "dialogs/modal_result.h"
#include "base/path_rules.h"

Tfrm_NewDir* frm_NewDir = nullptr;

Tfrm_NewDir::Tfrm_NewDir(QWidget* parent) : HoverWindow(parent)
{
    setUpToolWindow(QStringLiteral("New Directory"), QSize(319, 66), true);
    setCursor(Qt::PointingHandCursor);

    edt_NewDir = new QLineEdit(this);
    edt_NewDir->setGeometry(8, 8, 305, 21);
    img_cancel = new TPicture(this, QRect(10, 33, 119, 32), artwork::kCancel,
                              QStringLiteral("install program"));
    img_ok =
        new TPicture(this, QRect(234, 33, 79, 33), artwork::kOk, QStringLiteral("install program"));
    img_cancel2 =
        new TPicture(this, QRect(10, 33, 119, 32), artwork::kCancelLit, QStringLiteral("Cancel"));
    img_ok2 = new TPicture(this, QRect(234, 33, 79, 33), artwork::kOkLit,
                           QStringLiteral("Create the Directory/Folder"));
    img_cancel2->hide();
    setLitTwins({img_cancel2, img_ok2});
    img_cancel->setLitTwin(img_cancel2);
    img_ok->setLitTwin(img_ok2);
    edt_NewDir->setAccessibleName(QStringLiteral("New Directory"));

    const PictureBindings bind(*this);
    bind(img_cancel, &Tfrm_NewDir::CancelMouseMove, &Tfrm_NewDir::CancelClick);
    // The lit Cancel has no move handler of its own: it stays lit until the
    // pointer reaches another button or the background.
    bind(img_cancel2, nullptr, &Tfrm_NewDir::CancelClick);
    bind({img_ok, img_ok2}, &Tfrm_NewDir::OkMouseMove, &Tfrm_NewDir::OkClick);
    connect(this, &HoverWindow::backgroundMouseMoved, this, &Tfrm_NewDir::NewDirMouseMove);
}

void Tfrm_NewDir::SetNewDir(const QString& path)
{
    // A configured folder may be written in either style: the name follows
    // the last "/" or "\", or a drive's colon ("C:" names no folder), which
    // is the Windows style's name part once every "/" reads as "\".
    const std::string windowsPath = SlashToBackslash(path.toStdString(), PathStyle::Windows);
    edt_NewDir->setText(QString::fromStdString(NamePart(windowsPath, PathStyle::Windows)));
}

QString Tfrm_NewDir::GetNewDir() const
{
    return edt_NewDir->text();
}

void Tfrm_NewDir::OkClick()
{
    done(mrOk);
}

void Tfrm_NewDir::CancelClick()
{
    done(mrCancel);
}

void Tfrm_NewDir::CancelMouseMove()
{
    showOnlyTwin(img_cancel2);
}

void Tfrm_NewDir::OkMouseMove()
{
    showOnlyTwin(img_ok2);
}

void Tfrm_NewDir::NewDirMouseMove()
{
    showOnlyTwin(nullptr);
}
