#pragma once

#include <QDialog>

class Tfrm_ChangeDir : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_ChangeDir(QWidget* parent = nullptr);
};

extern Tfrm_ChangeDir* frm_ChangeDir;
