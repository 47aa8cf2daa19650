#pragma once

#include <QDialog>

class Tfrm_NewDir : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_NewDir(QWidget* parent = nullptr);
};

extern Tfrm_NewDir* frm_NewDir;
