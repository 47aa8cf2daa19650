#pragma once

class QWidget;

// Makes `window` belong to `owner`: its native window names the owner's as
// its transient parent, so window managers and Wayland compositors keep it
// above the owner and float it on tiling layouts. Both stay top-level
// widgets with their own lifetimes; nothing changes hands.
void setOwnerWindow(QWidget& window, QWidget& owner);
