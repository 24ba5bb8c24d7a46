#pragma once

class QWidget;

// The control gallery's page of the colour panels, time and picture widgets, styled labels, banner, clock,
// keyboard, tip window and about details, each in a few of its states.
QWidget* BuildWidgetsPage();
