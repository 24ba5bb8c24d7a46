#pragma once

#include "core/jukebox/customjukebox.h"

// The playing jukebox of a library of local files.
class TlocalJukebox : public TcustomJukebox
{
public:
    void Refresh() override;
};
