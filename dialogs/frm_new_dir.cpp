#include "dialogs/frm_new_dir.h"

Tfrm_NewDir* frm_NewDir = nullptr;

Tfrm_NewDir::Tfrm_NewDir(QWidget* parent) : QDialog(parent) {}
