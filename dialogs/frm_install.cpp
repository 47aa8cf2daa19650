#include "dialogs/frm_install.h"

Tfrm_install* frm_install = nullptr;

Tfrm_install::Tfrm_install(QWidget* parent) : QDialog(parent) {}
