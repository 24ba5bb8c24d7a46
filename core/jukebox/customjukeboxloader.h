#pragma once

#include "core/util/componentlink.h"

#include <functional>

class TcustomlocalJukeboxList;

// Loads a local library and its playing jukebox from their data files in a fixed order: the global list
// (whose rebuild also fills the random-play list), the saved playlists, then the jukebox's playlist, stacker
// and, last, queue, so that the song the player prepares after the queue is the one that stays.
class TcustomJukeboxLoader
{
public:
    TcustomJukeboxLoader() = default;
    virtual ~TcustomJukeboxLoader() = default;
    TcustomJukeboxLoader(const TcustomJukeboxLoader&) = delete;
    TcustomJukeboxLoader& operator=(const TcustomJukeboxLoader&) = delete;

    // A link; reads as nullptr once the library is destroyed.
    TcustomlocalJukeboxList* JukeboxList() const { return jukeboxList_.Get(); }
    void SetJukeboxList(TcustomlocalJukeboxList* value);

    // Fired just before the global list is loaded, also without a library.
    std::function<void(TcustomJukeboxLoader* sender)> OnStartGlobalLoad;

    // Each does nothing without a library (but LoadGlobal still fires OnStartGlobalLoad).
    virtual void LoadAll();
    virtual void LoadGlobal();
    virtual void LoadPlaylists();
    virtual void LoadPlaylist();
    virtual void LoadStacker();
    virtual void LoadQueue();

protected:
    void DoStartGlobalLoad();

private:
    TcomponentLink<TcustomlocalJukeboxList> jukeboxList_;
};
