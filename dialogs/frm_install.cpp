#include "dialogs/frm_install.h"

#include "widgets/message_box.h"
#include "widgets/label.h"
#include "widgets/picture.h"
#include "widgets/picture_bindings.h"
#include "archive/message_table.h"
#include "base/path_rules.h"
#include "base/process_messages.h"
#include "dialogs/progress_display.h"
#include "dialogs/progress_step.h"
#include "dialogs/volume_record.h"
#include "resources/artwork.h"

#include <QFileInfo>
#include <QHideEvent>
#include <QProgressBar>
#include <QScreen>
#include <QShowEvent>

#include <chrono>
#include <utility>

Tfrm_install* frm_install = nullptr;

namespace {

constexpr int kProgressStep = 10;
// How often the volume check's progress is shown while Extract waits for it.
constexpr std::chrono::milliseconds kCheckDisplayFrame{16};

QString fromNative(const std::string& text)
{
    return QString::fromStdString(text);
}

// The box text of a numbered message, or empty when the code shows nothing.
QString errorBoxText(const std::string& fileName, int32_t code)
{
    const char* kind = nullptr;
    if (code >= 25100 && code <= 25350)
        kind = ": error(";
    else if (code >= 26500 && code <= 26522)
        kind = ": Genearal message(";
    else
        return {};
    return fromNative(fileName) + QLatin1String(kind) + QString::number(code) +
           QStringLiteral("): ") + fromNative(MessageText(code));
}

} // namespace

Tfrm_install::Tfrm_install(QWidget* parent) : HoverWindow(parent), UnRAR(nullptr)
{
    setUpToolWindow(QStringLiteral("Install "), QSize(479, 103), false);
    setCursor(Qt::ArrowCursor);

    Label1 = addLabel({8, 16}, QStringLiteral("Extracing:"));
    lbl_filename = addLabel({64, 16}, QString());
    const QString plainHint = QStringLiteral("install program");
    img_cancel = new TPicture(this, {10, 72, 119, 33}, artwork::kCancel, plainHint);
    img_extract = new TPicture(this, {338, 72, 135, 33}, artwork::kExtract, plainHint);
    img_cancel2 = new TPicture(this, {10, 72, 119, 33}, artwork::kCancelLit,
                               QStringLiteral("Cancel Installation"));
    img_extract2 = new TPicture(this, {338, 72, 135, 33}, artwork::kExtractLit,
                                QStringLiteral("Extract Files"));
    img_cancel2->hide();
    setLitTwins({img_cancel2, img_extract2});
    img_cancel->setLitTwin(img_cancel2);
    img_extract->setLitTwin(img_extract2);
    InstallPath = addLabel({80, 112}, QStringLiteral("InstallPath"));
    ProgressBar = new QProgressBar(this);
    ProgressBar->setGeometry(8, 40, 465, 25);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    ProgressBar->setAccessibleName(QStringLiteral("Progress"));
    progress_ = new ProgressDisplay(*lbl_filename, *ProgressBar);

    UnRAR.SetFileSpec("*.*");
    UnRAR.SetCpuType(TCpuType::cptAuto);
    UnRAR.SetUseStoredDirs(true);
    UnRAR.OnError = [this](TObject* sender, const std::string& fn, const std::string& volume,
                           int32_t code) { UnRARError(sender, fn, volume, code); };
    UnRAR.OnProgress = [this](TObject* sender, const std::string& fn, uint8_t progress) {
        UnRARProgress(sender, fn, progress);
    };
    UnRAR.OnBegin = [this](TObject* sender, const std::string& fn, int32_t recNum, bool& extract) {
        UnRARBegin(sender, fn, recNum, extract);
    };
    UnRAR.OnEnd = [this](TObject* sender, const std::string& fn, bool crcPass) {
        UnRAREnd(sender, fn, crcPass);
    };

    // The shown Cancel twin takes no moves; the unlit Extract takes no clicks.
    const PictureBindings bind(*this);
    bind(img_cancel, &Tfrm_install::CancelMouseMove, &Tfrm_install::CancelClick);
    bind(img_cancel2, nullptr, &Tfrm_install::CancelClick);
    bind(img_extract, &Tfrm_install::ExtractMouseMove, nullptr);
    bind(img_extract2, &Tfrm_install::ExtractMouseMove, &Tfrm_install::ExtractClick);
    connect(this, &HoverWindow::backgroundMouseMoved, this, &Tfrm_install::InstallMouseMove);
}

void Tfrm_install::SetInstallPath(const QString& path)
{
    InstallPath->setText(path);
    UnRAR.SetExtractDir(path.toStdString());
}

void Tfrm_install::SetRarFile(const QString& path)
{
    // The caption shows the path as the component keeps it; reading it back
    // from the component would withdraw a Cancel.
    archivePath_ = fromNative(SlashToBackslash(path.toStdString()));
    archiveFile_ = QFileInfo(path).absoluteFilePath();
    UnRAR.SetArchiveFile(path.toStdString());
}

void Tfrm_install::ExtractClick()
{
    // One run at a time: a click during a run is ignored.
    if (run_.running)
        return;
    run_ = RunState{.running = true};
    progress_->setFrameFromRefreshRate(screen()->refreshRate());
    if (!RecordedVolumesIntact()) {
        run_.running = false;
        if (run_.cancelRequested)
            done(mrCancel);
        return;
    }
    try {
        UnRAR.Extract();
    } catch (...) {
        run_.running = false;
        progress_->flush();
        throw;
    }
    run_.running = false;
    progress_->flush();
    run_.failed = UnRAR.RunFailed();
    // Folders fire no entry events: an archive of folders only is installed
    // once the run has made them without an error.
    if (run_.entries == mrNone && !run_.failed && UnRAR.FoldersMade() > 0)
        run_.entries = mrOk;
    if (const int outcome = run_.outcome(); outcome != mrNone)
        done(outcome);
}

void Tfrm_install::SetVolumeChecker(VolumeCheckTask::Checker checker)
{
    volumeCheck_.setChecker(std::move(checker));
}

void Tfrm_install::showEvent(QShowEvent* event)
{
    HoverWindow::showEvent(event);
    if (!event->spontaneous() && !archiveFile_.isEmpty())
        volumeCheck_.start(archiveFile_);
}

void Tfrm_install::hideEvent(QHideEvent* event)
{
    HoverWindow::hideEvent(event);
    if (!event->spontaneous())
        volumeCheck_.stop();
}

std::optional<VolumeCheck> Tfrm_install::WaitForVolumeCheck()
{
    if (!volumeCheck_.started())
        volumeCheck_.start(archiveFile_);
    std::optional<VolumeCheck> check = volumeCheck_.waitFor(std::chrono::milliseconds(0));
    if (check)
        return check;
    const QString caption = Label1->text();
    const int bar = ProgressBar->value();
    Label1->setText(QStringLiteral("Checking:"));
    while (!check && !run_.cancelRequested) {
        const VolumeCheckTask::Progress progress = volumeCheck_.progress();
        lbl_filename->setText(progress.name);
        ProgressBar->setValue(
            static_cast<int>(progress.total > 0 ? progress.done * 100 / progress.total : 0));
        ProcessMessages();
        check = volumeCheck_.waitFor(kCheckDisplayFrame);
    }
    Label1->setText(caption);
    lbl_filename->setText(QString());
    ProgressBar->setValue(bar);
    return check;
}

bool Tfrm_install::RecordedVolumesIntact()
{
    const std::optional<VolumeCheck> check = WaitForVolumeCheck();
    // A later Extract checks the volumes again: the user may have replaced one.
    volumeCheck_.stop();
    if (!check)
        return false; // cancelled
    using Outcome = VolumeCheck::Outcome;
    switch (check->outcome) {
    case Outcome::NoRecord:
    case Outcome::Intact:
        return true;
    case Outcome::Cancelled:
        return false;
    case Outcome::Missing:
        showErrorBox(
            QStringLiteral("%1 is missing. Please download the installer again.").arg(check->file));
        return false;
    case Outcome::Damaged:
    case Outcome::BadRecord:
        break;
    }
    showErrorBox(
        QStringLiteral("%1 is damaged or incomplete. Please download it again.").arg(check->file));
    return false;
}

int Tfrm_install::RunState::outcome() const
{
    if (failed || entries == mrExtractFailed)
        return mrExtractFailed;
    if (cancelRequested)
        return mrCancel;
    return entries;
}

// Outside a run Cancel closes the window at once; during one it stops the
// file being written (the component removes what it had written of it) and
// the window closes when the run has returned.
void Tfrm_install::CancelClick()
{
    UnRAR.SetCancel(true);
    if (run_.running)
        run_.cancelRequested = true;
    else
        done(mrCancel);
}

// During a run the close box stops the run like Cancel does.
void Tfrm_install::closeBoxClicked()
{
    if (run_.running)
        CancelClick();
    else
        done(mrCancel);
}

void Tfrm_install::UnRARBegin(TObject*, const std::string& FN, int32_t, bool&)
{
    // The caption is the archive's for every entry of the run: set at the
    // first, not asked again for each of many thousands.
    if (!std::exchange(run_.captionSet, true))
        setWindowTitle(archivePath_);
    // The component withdraws Cancel when a run starts; a Cancel given since
    // then stops the run after this entry.
    if (run_.cancelRequested)
        UnRAR.SetCancel(true);
    progress_->setName(fromNative(NamePart(FN)));
}

void Tfrm_install::UnRARProgress(TObject*, const std::string&, uint8_t)
{
    progress_->setBar(SteppedPosition(progress_->bar(), kProgressStep, ProgressBar->minimum(),
                                      ProgressBar->maximum()));
}

void Tfrm_install::UnRAREnd(TObject*, const std::string&, bool CRC_PASS)
{
    if (CRC_PASS) {
        progress_->setBar(100);
        progress_->setName(QString());
        if (run_.entries == mrNone)
            run_.entries = mrOk;
    } else {
        progress_->flush();
        showErrorBox(QStringLiteral("Failed on extract"));
        run_.entries = mrExtractFailed;
    }
}

void Tfrm_install::UnRARError(TObject*, const std::string& FN, const std::string&, int32_t ECode)
{
    const QString text = errorBoxText(FN, ECode);
    if (text.isEmpty())
        return;
    progress_->flush();
    showErrorBox(text);
}

void Tfrm_install::CancelMouseMove()
{
    showOnlyTwin(img_cancel2);
}

void Tfrm_install::ExtractMouseMove()
{
    showOnlyTwin(img_extract2);
}

void Tfrm_install::InstallMouseMove()
{
    showOnlyTwin(nullptr);
}
