#pragma once

#include "archive/engine/unrar.h"
#include "dialogs/hover_window.h"
#include "dialogs/modal_result.h"
#include "dialogs/volume_check_task.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

class ProgressDisplay;
class QProgressBar;
class TPicture;
class TAutoLabel;

// The extraction window: extracts the archive into the chosen folder with a
// progress bar and error boxes. Modal result 1 when every entry of the run was
// extracted, 7 when one failed or the run ended on a failure, 2 when
// cancelled; a run that never got to its entries (no library, not an
// archive) leaves the window open.
class Tfrm_install : public HoverWindow {
    Q_OBJECT
public:
    explicit Tfrm_install(QWidget* parent = nullptr);

    void SetInstallPath(const QString& path);
    // Detects the archive type; raises E_RAISE when the file cannot be closed.
    void SetRarFile(const QString& path);

    void ExtractClick();
    void CancelClick();
    void UnRARBegin(TObject* Sender, const std::string& FN, int32_t RecNum, bool& Extract);
    void UnRARProgress(TObject* Sender, const std::string& FN, uint8_t Progress);
    void UnRAREnd(TObject* Sender, const std::string& FN, bool CRC_PASS);
    void UnRARError(TObject* Sender, const std::string& FN, const std::string& VolumeID,
                    int32_t ECode);
    void CancelMouseMove();
    void ExtractMouseMove();
    void InstallMouseMove();

    // True while an extraction run is in progress.
    bool Running() const { return run_.running; }

    // What checks the recorded volumes; tests hold the check where they choose.
    void SetVolumeChecker(VolumeCheckTask::Checker checker);

    TAutoLabel* Label1;
    TAutoLabel* lbl_filename;
    TPicture* img_cancel;
    TPicture* img_extract;
    TPicture* img_cancel2;
    TPicture* img_extract2;
    TAutoLabel* InstallPath;
    QProgressBar* ProgressBar;
    TUnRAR UnRAR;

protected:
    // The volume check starts when the window opens and stops when it closes.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeBoxClicked() override;
    // The keyboard's way to the two buttons: Enter extracts, Esc cancels.
    void enterPressed() override { ExtractClick(); }
    void escapePressed() override { CancelClick(); }

private:
    // What the current (or last) extraction run has seen. The window closes
    // only when a run has returned, with the run's outcome.
    struct RunState {
        bool running = false;
        bool cancelRequested = false;
        // mrOk once an entry was extracted, mrExtractFailed once one failed
        // (a failure outweighs later good entries), mrNone before either.
        int entries = mrNone;
        // The run ended early on a failure every later entry would meet (a
        // full disk, a read-only target, a cut archive, a missing volume).
        bool failed = false;
        // The caption shows the archive since the run's first entry.
        bool captionSet = false;

        // A failed run or entry outweighs a cancel, a cancel outweighs
        // extracted entries; mrNone when the run neither failed nor
        // extracted anything.
        int outcome() const;
    };

    // Waits for the check of the volumes recorded beside the archive before
    // anything is written, with its progress in this window while it lasts;
    // false when the run must not go on (a volume is missing or damaged, said
    // in one box, or Cancel).
    bool RecordedVolumesIntact();
    std::optional<VolumeCheck> WaitForVolumeCheck();

    ProgressDisplay* progress_;
    QString archivePath_;
    QString archiveFile_; // the archive's full path, for its volume record
    RunState run_;
    VolumeCheckTask volumeCheck_;
};

extern Tfrm_install* frm_install;
