#pragma once

#include <QFont>

#include <initializer_list>

class QDialog;
class QHBoxLayout;
class QListWidget;
class QPushButton;
class QWidget;

// Screen-position and enabling helpers shared by the windows.

// The sums of the x and y positions of control and of each of its parents up to its window, whose own
// position (frame included) counts too. Both are 0 for a null control.
void GetAbsolutePos(const QWidget* control, int& left, int& top);

// Sets the enabled state of every widget inside form whose direct parent is groupBox.
void EnableGroupBoxControls(const QWidget* form, const QWidget* groupBox, bool enabled);

// Places the aligned children of widget and of all its descendants now, top down. Qt defers the layout of
// a hidden window until it is shown; sizes read before that (the keyboard's key cells) need it at once.
void RealignTree(QWidget* widget);

// The fixed-pitch font of the program's text reports: Courier New 9, else the system's fixed font.
QFont FixedPitchFont();

// The OK and Cancel row of a dialog: "&OK" the default button (accept), "&Cancel" the cancel one (reject,
// which Esc reaches too), right-aligned.
QHBoxLayout* MakeOkCancelButtons(QDialog& dialog, QPushButton*& ok, QPushButton*& cancel);

// The row of list's current item while it is highlighted (selected); -1 otherwise: tabbing into a list
// makes its first line current without highlighting it.
int HighlightedRow(const QListWidget* list);

// Keeps buttons enabled exactly while list has a highlighted row, from now on.
void EnableWithHighlight(QListWidget* list, std::initializer_list<QWidget*> buttons);
