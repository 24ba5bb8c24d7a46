#pragma once

#include "core/util/componentlink.h"

#include <functional>
#include <string>
#include <vector>

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

    // The data files the loads found but could not read in full (damaged or foreign), in load order. They
    // stay on disk as they are: loading never saves.
    const std::vector<std::string>& UnreadableFiles() const { return unreadable_; }

protected:
    void DoStartGlobalLoad();
    // Notes fileName as unreadable when it is there but was not read.
    void CheckRead(bool read, const std::string& fileName);

private:
    TcomponentLink<TcustomlocalJukeboxList> jukeboxList_;
    std::vector<std::string> unreadable_;
};
