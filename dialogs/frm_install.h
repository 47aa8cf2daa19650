#pragma once

#include "archive/unrar.h"
#include "dialogs/hover_window.h"

#include <QString>

#include <cstdint>
#include <string>

class QProgressBar;
class TPicture;
class TAutoLabel;

// The extraction window: extracts the archive into the chosen folder with a
// progress bar and error boxes. Modal result 1 when every entry of the run was
// extracted, 7 when one failed, 2 when cancelled; a run that extracted
// nothing leaves the window open.
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
    bool Running() const { return running_; }

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
    void showEvent(QShowEvent* event) override;
    void closeBoxClicked() override;

private:
    // Records a result; outside a run it closes the window at once, during a
    // run the window closes when the run has returned.
    void setModalResult(int result);
    // The result a finished run leaves: a failed entry outweighs a cancel,
    // a cancel outweighs the last entry's success.
    int runOutcome() const;

    int modalResult_ = 0;
    bool running_ = false;
    bool entryFailed_ = false;
    bool cancelledInRun_ = false;
};

extern Tfrm_install* frm_install;
