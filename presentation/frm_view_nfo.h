#pragma once

#include <QDialog>

class Tfrm_ViewNfo : public QDialog {
    Q_OBJECT
public:
    explicit Tfrm_ViewNfo(QWidget* parent = nullptr);
};

extern Tfrm_ViewNfo* frm_ViewNfo;
