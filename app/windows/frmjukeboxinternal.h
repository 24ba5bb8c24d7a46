#pragma once

#include "platform/datetime.h"

// What the files of TfrmJukebox share among themselves; not for other classes.
namespace frmjukeboxinternal {

// The alarms' time until one is set.
inline constexpr TDateTime kNoon = 0.5;

} // namespace frmjukeboxinternal
