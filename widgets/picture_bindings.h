#pragma once

#include "widgets/picture.h"

#include <initializer_list>

// A window's picture table: which of its handlers a picture's pointer moves
// and its clicks run. A button's face and lit twin usually share one row; a
// picture that takes no moves or no clicks has nullptr there, so each
// window's irregularities stay in sight in its own table. The handlers run
// inside the application's guard (widgets/guard.h).
//
//     const PictureBindings bind(*this);
//     bind({img_ok, img_ok2}, &Window::OkMouseMove, &Window::OkClick);
template <typename Window>
class PictureBindings {
public:
    using Handler = void (Window::*)();

    explicit PictureBindings(Window& window) : window_(window) {}

    void operator()(std::initializer_list<TPicture*> pictures, Handler move, Handler click) const
    {
        for (TPicture* picture : pictures)
            (*this)(picture, move, click);
    }

    void operator()(TPicture* picture, Handler move, Handler click) const
    {
        if (move)
            QObject::connect(picture, &TPicture::mouseMoved, &window_, move);
        if (click)
            QObject::connect(picture, &TPicture::clicked, &window_, click);
    }

private:
    Window& window_;
};
