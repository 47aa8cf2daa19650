#pragma once

#include <initializer_list>
#include <vector>

class QWidget;
class TPicture;

// The lit twins of a window's picture buttons. Each twin lies at its
// button's place; the one for the button under the pointer shows, the
// others hide, and the window's cursor is a hand over a button and an arrow
// over the bare background.
class HoverTwins {
public:
    explicit HoverTwins(QWidget& window) : window_(window) {}

    // The twins, once the window has made them; each keeps the visibility
    // it was made with until the pointer first moves.
    void setTwins(std::initializer_list<TPicture*> litTwins);
    // Shows `lit` alone, or none of the twins for nullptr (the background).
    void showOnly(TPicture* lit);

private:
    QWidget& window_;
    std::vector<TPicture*> litTwins_;
};
