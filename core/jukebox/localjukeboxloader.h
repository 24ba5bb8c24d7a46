#pragma once

#include "core/jukebox/customjukeboxloader.h"

// The loader the main window places for each of its libraries.
class TlocalJukeboxLoader : public TcustomJukeboxLoader
{
};
