#pragma once

#include "core/jukebox/localjukeboxlist.h"
#include "support/testmediaplayer.h"

#include <memory>

// A window of the main-window chain on a plain local library and the recording player, for the window
// tests and the screenshot tools. player is the window's own once its creation step has run. A test that
// wants other library settings overrides CreateJukeboxList.
template <class Window>
class TlocalTestWindow : public Window
{
public:
    std::unique_ptr<TcustomlocalJukeboxList> CreateJukeboxList() override
    {
        return std::make_unique<TlocalJukeboxList>();
    }
    std::unique_ptr<TcustomMediaPlayer> CreatePlayer() override
    {
        auto made = std::make_unique<TtestMediaPlayer>();
        player = made.get();
        return made;
    }

    TtestMediaPlayer* player = nullptr;
};
