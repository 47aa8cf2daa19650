#include "dialogs/frm_install.h"

Tfrm_install* frm_install = nullptr;

Tfrm_install::Tfrm_install(QWidget* parent) : HoverWindow(parent) {}

void Tfrm_install::SetInstallPath(const QString&) {}
void Tfrm_install::SetRarFile(const QString&) {}
