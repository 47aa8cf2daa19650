#include "app/frm_zenkor.h"
#include "app/guard.h"
#include "dialogs/frm_change_dir.h"
#include "dialogs/frm_install.h"
#include "dialogs/frm_new_dir.h"
#include "presentation/frm_view_nfo.h"

#include <memory>

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);

    // The five windows, created in this order and kept until the end.
    auto zenkor = std::make_unique<Tfrm_zenkor>();
    frm_zenkor = zenkor.get();
    runGuarded([] { frm_zenkor->FormCreate(); });
    auto install = std::make_unique<Tfrm_install>();
    frm_install = install.get();
    auto viewNfo = std::make_unique<Tfrm_ViewNfo>();
    frm_ViewNfo = viewNfo.get();
    auto changeDir = std::make_unique<Tfrm_ChangeDir>();
    frm_ChangeDir = changeDir.get();
    auto newDir = std::make_unique<Tfrm_NewDir>();
    frm_NewDir = newDir.get();

    frm_zenkor->show();
    return app.exec();
}
