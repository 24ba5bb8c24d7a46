#pragma once

#include <string>

// One installed skin as the skins list shows it.
struct TskinRec
{
    std::string FileName; // the skin's skin.osk, full path
    std::string Title;    // Info/Title, else the skin folder's name
    std::string Description;
    std::string Creator;
};
