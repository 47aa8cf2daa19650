#pragma once

#include <QImage>
#include <QWidget>

// A picture control: draws its picture unscaled from the top-left corner,
// clipped to the control. A transparent picture leaves out every pixel of
// the colour of its bottom-left pixel. Reports pointer moves and clicks; it
// takes every pointer move over it, so none reaches the window behind.
//
// A picture button is a face and its lit twin above it at the same place.
// For the keyboard and for assistive technology the pair is one button: the
// face takes the focus by Tab, Space presses it, and it reads as a push
// button named by the twin's hint. A press does what a click on the twin
// does, whichever of the two is on top.
class TPicture : public QWidget {
    Q_OBJECT
public:
    explicit TPicture(QWidget* parent = nullptr);
    // Placed at `geometry`, showing the image file at `path` (a built-in
    // artwork picture may be replaced beside the executable), with a hint.
    TPicture(QWidget* parent, const QRect& geometry, const QString& path, const QString& hint = {});

    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }
    void setTransparent(bool transparent);
    bool isTransparent() const { return transparent_; }

    // Makes this picture the face of a button whose lit twin is `twin`.
    void setLitTwin(TPicture* twin);
    TPicture* litTwin() const { return litTwin_; }
    // The face of the button this picture is the lit twin of, or nullptr.
    TPicture* face() const { return face_; }
    // A face or a lit twin: part of a button, not a plain picture.
    bool isButton() const { return litTwin_ || face_; }
    // The button's name: the twin's hint, or the face's own when the twin
    // has none.
    QString buttonName() const;
    // What a click on the button does.
    void press();
    // The focus mark shows while the button has the focus and the focus came
    // from the keyboard; the mouse look stays as it is.
    bool showsFocusMark() const;

signals:
    void mouseMoved();
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateButton();

    void rebuildShown();

    QImage picture_;
    QImage shown_;
    bool transparent_ = false;
    bool pressed_ = false;
    TPicture* litTwin_ = nullptr;
    TPicture* face_ = nullptr;
    bool keyboardFocus_ = false;
};

// The picture with the colour of its bottom-left pixel made fully transparent.
QImage withCornerColourTransparent(const QImage& picture);
