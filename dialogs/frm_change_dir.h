#pragma once

#include "dialogs/hover_window.h"
#include "dialogs/install_folder.h"

#include <QString>

#include <cstdint>

class TDirectoryListBox;
class TDriveComboBox;
class TPicture;
class TAutoLabel;

// The install directory dialog: the user picks the folder the archive is
// extracted into. Its modal result is 2 for Cancel, otherwise the extraction
// window's result.
class Tfrm_ChangeDir : public HoverWindow {
    Q_OBJECT
public:
    explicit Tfrm_ChangeDir(QWidget* parent = nullptr);

    // Setters the main window calls before showing the dialog modally.
    void SetInstallPath(const QString& path);
    void SetSpaceRequired(const QString& megabytes); // throws Exception when not a whole number
    void SetRarFile(const QString& path);
    // The folder open in the tree, which the extraction fills.
    QString GetDirectory() const;

    // The creation handler.
    void FormCreate();
    void DriveChange();
    void ShowFreeSpace();
    void MakeDirClick();
    void InstallClick();
    void CancelClick();
    void MakeDirMouseMove();
    void InstallMouseMove();
    void CancelMouseMove();
    void ChangeDirMouseMove();

    TDriveComboBox* DriveComboBox;
    TDirectoryListBox* DirectoryListBox;
    TAutoLabel* lbl_SpaceRequired;
    TAutoLabel* StaticText1;
    TAutoLabel* StaticText2;
    TPicture* img_install;
    TPicture* img_cancel;
    TPicture* img_MakeDir;
    TAutoLabel* InstallPath;
    TAutoLabel* lbl_FreeSpace;
    TPicture* img_cancel2;
    TPicture* img_install2;
    TPicture* img_MakeDir2;
    TAutoLabel* Rarfile;
    int32_t FSpaceRequired = 0;

    // Closes the dialog; install folders it made and nothing filled go again.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    // Enter installs into the open folder (in the tree, Enter on another
    // folder opens that one instead); Esc cancels.
    void enterPressed() override { InstallClick(); }
    void escapePressed() override { CancelClick(); }

private:
    // On this platform the tree can leave its volume: the list and the
    // figure then follow it.
    void FollowVolume();
    // Opens the configured install folder, made with its missing parents, so
    // that Install at once fills it (not the folder setup started in).
    void OpenInstallFolder();

    bool shown_ = false;
    bool openInstallFolder_ = true;
    MadeFolders madeFolders_;
};

extern Tfrm_ChangeDir* frm_ChangeDir;
