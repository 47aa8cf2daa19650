#pragma once

#include "dialogs/hover_window.h"

#include <QLineEdit>
#include <QString>

class TPicture;

// The new directory dialog: asks for a folder name and reports Ok (1) or
// Cancel (2). It creates and checks nothing.
class Tfrm_NewDir : public HoverWindow {
    Q_OBJECT
public:
    explicit Tfrm_NewDir(QWidget* parent = nullptr);

    // Suggests the path's last component as the name.
    void SetNewDir(const QString& path);
    // The name exactly as typed.
    QString GetNewDir() const;

    void OkClick();
    void CancelClick();
    void CancelMouseMove();
    void OkMouseMove();
    void NewDirMouseMove();

    QLineEdit* edt_NewDir;
    TPicture* img_cancel;
    TPicture* img_ok;
    TPicture* img_cancel2;
    TPicture* img_ok2;
};

extern Tfrm_NewDir* frm_NewDir;
