#pragma once

#include <QDialog>
#include <QRect>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

// A dialog's designed look: caption, client size, and each control's place.
// A control sized by its text gives only its top-left corner (width and
// height 0) and then one 13-pixel line of height.
struct PlacedControl {
    const char* name;
    const QWidget* control;
    QRect place;
};

inline void expectDesignedLayout(const QDialog& dialog, const char* caption, QSize client,
                                 const std::vector<PlacedControl>& controls)
{
    EXPECT_EQ(dialog.windowTitle(), QString::fromLatin1(caption));
    EXPECT_EQ(dialog.size(), client);
    EXPECT_TRUE(dialog.windowFlags() & Qt::Tool);
    for (const PlacedControl& placed : controls) {
        SCOPED_TRACE(placed.name);
        if (placed.place.size().isNull()) {
            EXPECT_EQ(placed.control->pos(), placed.place.topLeft());
            EXPECT_EQ(placed.control->height(), 13);
        } else {
            EXPECT_EQ(placed.control->geometry(), placed.place);
        }
    }
}
