#pragma once

#include <QDialog>

// The NFO viewer.
class Tfrm_ViewNfo : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_ViewNfo(QWidget* parent = nullptr);

    // What the main window's NFO button does: reads "zenkor.nfo" from the
    // current directory into the viewer and shows it modally. Throws
    // Exception with the text for the standard error box on failure.
    void ShowNfoFile();
};

extern Tfrm_ViewNfo* frm_ViewNfo;
