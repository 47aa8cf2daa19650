#pragma once

#include <QWidget>

class TImage;
class TLabel;
class TMediaPlayer;

// The main window: the branded header, the title and information lines from
// install.ini, three image buttons that light up under the pointer, and the
// configured values kept in labels below the visible area for the install
// flow.
class Tfrm_zenkor : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_zenkor(QWidget* parent = nullptr);

    // The creation sequence, run once the program-wide reference is set: reads
    // install.ini, lays the window out and starts the music. An error ends it
    // at the failing step and leaves the rest in its initial state.
    void FormCreate();

    void FrameMouseMove();
    void InstallMouseMove();
    void NfoMouseMOve();
    void ExitMouseMove();
    void InstallClick();
    void NfoClick();
    void ExitClick();
    void MusicNotify();

    // Controls in their stacking order.
    TImage* Image;
    TLabel* InstallPath;
    TLabel* RARFile;
    TImage* img_install;
    TImage* img_exit;
    TImage* img_nfo;
    TLabel* lbl_GameTitle;
    TImage* img_install2;
    TImage* img_nfo2;
    TImage* img_exit2;
    TLabel* lbl_line1;
    TLabel* lbl_line2;
    TLabel* lbl_line3;
    TLabel* SpaceRequired;
    TLabel* RunProgram;
    TMediaPlayer* Music;
    TLabel* StaticText1;
    TLabel* StaticText2;
    TLabel* StaticText3;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void bindHandlers();
    void setColour(const QColor& colour);
    void showOnlyTwin(TImage* twin);

    bool centred_ = false;
};

extern Tfrm_zenkor* frm_zenkor;
