#pragma once

#include <QDialog>
#include <QString>

// The install directory dialog.
class Tfrm_ChangeDir : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_ChangeDir(QWidget* parent = nullptr);

    // Setters the main window calls before showing the dialog modally.
    void SetInstallPath(const QString& path);
    void SetSpaceRequired(const QString& megabytes);  // throws Exception when not a whole number
    void SetRarFile(const QString& path);
    // The folder open in the tree, which the extraction fills.
    QString GetDirectory() const;
};

extern Tfrm_ChangeDir* frm_ChangeDir;
