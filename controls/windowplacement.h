#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where the program's windows are centred: one rule for every dialog, popup and tip.

// The top left corner for a window whose frame is frame, centred on area. The window never starts above or
// left of screen (the working area of the screen it is shown on), so its title bar stays within reach, and
// a window larger than the screen starts at its top left. Where area lies on the screen the window is kept
// on it whole; centred on an owner that reaches past the screen's edge it follows the owner.
QPoint CentredPosition(const QSize& frame, const QRect& area, const QRect& screen);

// Centres window (a top-level window, its frame included) on owner's window while that is shown, else on the
// working area of the screen: the owner's, else the window's own, else the primary one. Kept on screen as
// CentredPosition has it. owner may be null.
void CentreOnOwner(QWidget& window, const QWidget* owner = nullptr);
