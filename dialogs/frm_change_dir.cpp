#include "dialogs/frm_change_dir.h"

Tfrm_ChangeDir* frm_ChangeDir = nullptr;

Tfrm_ChangeDir::Tfrm_ChangeDir(QWidget* parent) : QDialog(parent) {}

void Tfrm_ChangeDir::SetInstallPath(const QString&) {}
void Tfrm_ChangeDir::SetSpaceRequired(const QString&) {}
void Tfrm_ChangeDir::SetRarFile(const QString&) {}
QString Tfrm_ChangeDir::GetDirectory() const { return {}; }
