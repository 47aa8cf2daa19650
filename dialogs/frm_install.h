#pragma once

#include "dialogs/hover_window.h"

#include <QString>

// The extraction window (its extraction engine is wired in once available).
class Tfrm_install : public HoverWindow {
    Q_OBJECT
public:
    explicit Tfrm_install(QWidget* parent = nullptr);

    void SetInstallPath(const QString& path);
    void SetRarFile(const QString& path);
};

extern Tfrm_install* frm_install;
