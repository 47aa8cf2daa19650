#include "dialogs/hover_window.h"

#include "widgets/label.h"
#include "widgets/layout_font.h"
#include "widgets/window_controls.h"
#include "widgets/window_placement.h"
#include "widgets/guard.h"
#include "dialogs/modal_result.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

HoverWindow::HoverWindow(QWidget* parent) : QDialog(parent)
{
    setMouseTracking(true);
    closeOnAltF4(*this);
}

void HoverWindow::setUpToolWindow(const QString& caption, const QSize& clientSize, bool sizable)
{
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(caption);
    if (sizable)
        resize(clientSize);
    else
        setFixedSize(clientSize);
    setFont(layoutFont());
}

TAutoLabel* HoverWindow::addLabel(const QPoint& position, const QString& caption)
{
    auto* label = new TAutoLabel(this, position, QString(), Qt::white);
    label->setShowAccelChar(false);
    label->setText(caption);
    return label;
}

// The skinned windows are black whatever the platform's window colour.
void HoverWindow::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), Qt::black);
}

void HoverWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!childAt(event->position().toPoint()))
        runGuarded([this] { emit backgroundMouseMoved(); });
}

void HoverWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        runGuarded([this] { escapePressed(); });
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        runGuarded([this] { enterPressed(); });
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void HoverWindow::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        // Placing the window by hand also stops the dialog from centring
        // itself anew, with other frame estimates, at every showing.
        if (!placed_) {
            const QRect frame = frameGeometry();
            centreOnScreen(*this, screenOfOwner(*this), QPoint(frame.width(), frame.height()) / 2);
        } else {
            move(lastPlace_);
        }
        placed_ = true;
    } else if (!visible && isVisible()) {
        lastPlace_ = pos();
    }
    QDialog::setVisible(visible);
}

void HoverWindow::done(int result)
{
    closingWithResult_ = true;
    QDialog::done(result);
    closingWithResult_ = false;
}

// Closing with a result passes; any other close is the close box.
void HoverWindow::closeEvent(QCloseEvent* event)
{
    if (closingWithResult_) {
        event->accept();
        return;
    }
    event->ignore();
    runGuarded([this] { closeBoxClicked(); });
}

void HoverWindow::reject()
{
    closeBoxClicked();
}

void HoverWindow::closeBoxClicked()
{
    done(mrCancel);
}
