#pragma once

#include "widgets/hover_twins.h"

#include <QWidget>

class TPicture;
class TAutoLabel;
class TMediaPlayer;
struct LaunchRequest;

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
    TPicture* Image;
    TAutoLabel* InstallPath;
    TAutoLabel* RARFile;
    TPicture* img_install;
    TPicture* img_exit;
    TPicture* img_nfo;
    TAutoLabel* lbl_GameTitle;
    TPicture* img_install2;
    TPicture* img_nfo2;
    TPicture* img_exit2;
    TAutoLabel* lbl_line1;
    TAutoLabel* lbl_line2;
    TAutoLabel* lbl_line3;
    TAutoLabel* SpaceRequired;
    TAutoLabel* RunProgram;
    TMediaPlayer* Music;
    TAutoLabel* StaticText1;
    TAutoLabel* StaticText2;
    TAutoLabel* StaticText3;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void bindHandlers();
    void setClientHeight(int height);
    void setColour(const QColor& colour);
    // The menu entry the package asked for, after a successful install.
    void writeMenuEntry(const LaunchRequest& launch);

    HoverTwins twins_{*this};
    bool centred_ = false;
    // install.ini's DesktopEntry: a menu entry for RunProgram after install.
    bool desktopEntry_ = false;
};

extern Tfrm_zenkor* frm_zenkor;
