#pragma once

#include <QDialog>

class QPlainTextEdit;

// The NFO viewer: a fixed tool window whose one control, the read-only memo
// NFOFile, shows the package's NFO text in the DOS character set.
class Tfrm_ViewNfo : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_ViewNfo(QWidget* parent = nullptr);

    // What the main window's NFO button does: reads "zenkor.nfo" from the
    // current directory into the memo and shows the viewer modally. Throws
    // Exception with the text for the standard error box on failure; the
    // memo then keeps its previous text and the viewer stays hidden.
    void ShowNfoFile();
    // The loading half of ShowNfoFile.
    void LoadNfoFile();

    QPlainTextEdit* NFOFile;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool placed_ = false;
};

extern Tfrm_ViewNfo* frm_ViewNfo;
