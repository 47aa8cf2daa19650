#pragma once

#include <QDialog>

class Tfrm_install : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_install(QWidget* parent = nullptr);
};

extern Tfrm_install* frm_install;
