#pragma once

#include <QWidget>

class TMediaPlayer;

// The main window.
class Tfrm_zenkor : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_zenkor(QWidget* parent = nullptr);

    // The creation sequence, run once the program-wide reference is set.
    void FormCreate();

    TMediaPlayer* Music = nullptr;
};

extern Tfrm_zenkor* frm_zenkor;
