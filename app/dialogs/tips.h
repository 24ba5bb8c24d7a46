#pragma once

#include "platform/stringlist.h"

#include <string>

class TQuyTipDialog;

// The tips of the day, built in code with the program's title in four of them.

// Replaces tips by the eleven tips, the title inserted as it is.
void FillTips(TStrings& tips, const std::string& title);

// The start-up offer of a tip: runs the tip dialog when the user wants tips at start-up. True when shown.
bool ShowStartupTip(TQuyTipDialog& dialog);
