#include "app/installer_program.h"

#include "app/frm_zenkor.h"
#include "app/package_identity.h"
#include "widgets/label.h"
#include "widgets/guard.h"
#include "dialogs/frm_change_dir.h"
#include "dialogs/frm_install.h"
#include "dialogs/frm_new_dir.h"
#include "presentation/frm_view_nfo.h"
#include "widgets/window_placement.h"
#include "base/executable_path.h"

#include <QApplication>
#include <QDir>

#include <memory>

namespace {

// Owns one program-wide window: the reference is set before the window's
// own creation code runs and cleared when the window is destroyed. A
// window's creation handler runs inside the guard: an error it raises is
// shown, and the window exists regardless.
template <typename Window>
class ProgramWindow {
public:
    explicit ProgramWindow(Window*& reference) : reference_(reference)
    {
        window_ = std::make_unique<Window>();
        reference_ = window_.get();
        if constexpr (requires(Window & window) { window.FormCreate(); })
            runGuarded([this] { window_->FormCreate(); });
    }
    ~ProgramWindow()
    {
        window_.reset();
        reference_ = nullptr;
    }
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

private:
    Window*& reference_;
    std::unique_ptr<Window> window_;
};

} // namespace

int runInstaller()
{
    // Started from a terminal, a launcher or a file manager, setup begins in
    // its own folder, as a double-click does: the NFO, the music and a
    // relative install path are found beside it.
    QDir::setCurrent(QString::fromStdString(ExecutableFolder()));
    // Created in this order, destroyed in the reverse one.
    ProgramWindow<Tfrm_zenkor> zenkor(frm_zenkor);
    ProgramWindow<Tfrm_install> install(frm_install);
    ProgramWindow<Tfrm_ViewNfo> viewNfo(frm_ViewNfo);
    ProgramWindow<Tfrm_ChangeDir> changeDir(frm_ChangeDir);
    ProgramWindow<Tfrm_NewDir> newDir(frm_NewDir);
    // Before the native windows exist: the window system reads the name as
    // each one is made.
    nameApplicationAfter(frm_zenkor->lbl_GameTitle->text());
    // Each dialog stands above the window it is opened from.
    setOwnerWindow(*frm_ViewNfo, *frm_zenkor);
    setOwnerWindow(*frm_ChangeDir, *frm_zenkor);
    setOwnerWindow(*frm_install, *frm_ChangeDir);
    setOwnerWindow(*frm_NewDir, *frm_ChangeDir);

    frm_zenkor->show();
    return QApplication::exec();
}
