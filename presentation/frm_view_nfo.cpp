#include "presentation/frm_view_nfo.h"

Tfrm_ViewNfo* frm_ViewNfo = nullptr;

Tfrm_ViewNfo::Tfrm_ViewNfo(QWidget* parent) : QDialog(parent) {}

void Tfrm_ViewNfo::ShowNfoFile() {}
