#pragma once

class QPoint;
class QScreen;
class QWidget;

// Makes `window` belong to `owner`: its native window names the owner's as
// its transient parent, so window managers and Wayland compositors keep it
// above the owner and float it on tiling layouts. Both stay top-level
// widgets with their own lifetimes; nothing changes hands.
void setOwnerWindow(QWidget& window, QWidget& owner);

// Moves the top-level `window` so that its point `centre`, counted from
// where its frame begins, lies at the centre of the screen's available area.
// Each window names its own centre: the middle of its client area, or half
// its frame's extent. Without a screen the window stays where it is.
void centreOnScreen(QWidget& window, const QScreen* screen, const QPoint& centre);

// The screen a window opens on: the screen of the window it belongs to (its
// owner, see setOwnerWindow, or its parent), else its own. With two
// monitors a dialog then opens where its owner is, not on the primary one.
QScreen* screenOfOwner(const QWidget& window);
