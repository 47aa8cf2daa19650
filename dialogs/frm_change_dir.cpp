#include "dialogs/frm_change_dir.h"

Tfrm_ChangeDir* frm_ChangeDir = nullptr;

Tfrm_ChangeDir::Tfrm_ChangeDir(QWidget* parent) : QDialog(parent) {}
