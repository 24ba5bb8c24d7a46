#pragma once

#include "platform/stringlist.h"

#include <string>

class QWidget;
class TQuyTipDialog;
class TQuyTipDialogForm;

// The tips of the day, built in code with the program's title in four of them.

// Replaces tips by the eleven tips, the title inserted as it is.
void FillTips(TStrings& tips, const std::string& title);

// The start-up offer of a tip: when the user wants tips at start-up, opens the tip window over parent,
// window-modal but not blocking (a nested loop would hold up the start-up work that lets messages run),
// freed when closed; the tip shown last and the start-up box go back into dialog as it closes. The window
// opened, null when none is wanted or none could be made.
TQuyTipDialogForm* ShowStartupTip(TQuyTipDialog& dialog, QWidget* parent);
