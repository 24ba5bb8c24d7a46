#include "core/jukebox/localjukebox.h"

// Local files need no refreshing of their own.
void TlocalJukebox::Refresh() {}
