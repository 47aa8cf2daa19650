#include "widgets/picture.h"

#include "widgets/folder_assets.h"
#include "widgets/guard.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TPicture::TPicture(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
}

TPicture::TPicture(QWidget* parent, const QRect& geometry, const QString& path, const QString& hint)
    : TPicture(parent)
{
    setGeometry(geometry);
    setPicture(artworkImage(path));
    setToolTip(hint);
}

void TPicture::setPicture(const QImage& picture)
{
    picture_ = picture;
    rebuildShown();
}

void TPicture::setTransparent(bool transparent)
{
    transparent_ = transparent;
    rebuildShown();
}

void TPicture::rebuildShown()
{
    shown_ = transparent_ ? withCornerColourTransparent(picture_) : picture_;
    update();
}

void TPicture::setLitTwin(TPicture* twin)
{
    litTwin_ = twin;
    twin->face_ = this;
    // The face stays shown under its twin, so it can hold the focus; the
    // twin passes any focus on to it.
    setFocusPolicy(Qt::TabFocus);
    twin->setFocusProxy(this);
}

QString TPicture::buttonName() const
{
    const TPicture* face = face_ ? face_ : this;
    if (face->litTwin_ && !face->litTwin_->toolTip().isEmpty())
        return face->litTwin_->toolTip();
    return face->toolTip();
}

void TPicture::press()
{
    if (face_) {
        face_->press();
        return;
    }
    if (litTwin_)
        emit litTwin_->clicked();
}

bool TPicture::showsFocusMark() const
{
    const TPicture* face = face_ ? face_ : this;
    return face->litTwin_ && face->hasFocus() && face->keyboardFocus_;
}

void TPicture::updateButton()
{
    update();
    if (litTwin_)
        litTwin_->update();
}

void TPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), shown_);
    if (showsFocusMark()) {
        // A dotted frame just inside the plate, light on the dark artwork.
        const QRect plate = rect().intersected(shown_.rect()).adjusted(2, 2, -3, -3);
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.drawRect(plate);
    }
}

void TPicture::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    runGuarded([this] { emit mouseMoved(); });
}

void TPicture::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

// A click is a left press and release both on the control.
void TPicture::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        runGuarded([this] { emit clicked(); });
}

// Space presses the focused button; Enter and Esc go on to the window.
void TPicture::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && isButton()) {
        event->accept();
        runGuarded([this] { press(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void TPicture::focusInEvent(QFocusEvent* event)
{
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        keyboardFocus_ = true;
        break;
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
        // The window comes back: the focus is where the user left it.
        break;
    default:
        keyboardFocus_ = false;
    }
    updateButton();
    QWidget::focusInEvent(event);
}

void TPicture::focusOutEvent(QFocusEvent* event)
{
    updateButton();
    QWidget::focusOutEvent(event);
}

// A window shown again starts with the mouse look.
void TPicture::hideEvent(QHideEvent* event)
{
    keyboardFocus_ = false;
    QWidget::hideEvent(event);
}

QImage withCornerColourTransparent(const QImage& picture)
{
    if (picture.isNull())
        return picture;
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = result.pixel(0, result.height() - 1);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if (line[x] == key)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return result;
}
