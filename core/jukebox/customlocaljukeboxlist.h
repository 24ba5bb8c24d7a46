#pragma once

#include "core/jukebox/customjukeboxlist.h"

#include <memory>
#include <string>

class TcustomJukebox;
class TlocalJukebox;

// The library of local files with its one playing jukebox: it owns the jukebox, passes on the library's
// changes, settings and event holders, and routes the progress of the jukebox's lists to its own events.
class TcustomlocalJukeboxList : public TcustomJukeboxList
{
public:
    TcustomlocalJukeboxList();
    ~TcustomlocalJukeboxList() override;

    // Nullptr only after the jukebox was destroyed from outside.
    TlocalJukebox* Jukebox() const;
    bool Destroying() const { return destroying_; }

    void GlobalListChanged() override;
    void PlaylistsChanged() override;
    void PlaylistListChanged(TaudioTagList* list) override;
    // A nullptr holder is kept, but the jukebox keeps the events it had.
    void SetEvents(TcustomJukeboxListEvents* events) override;
    void JukeboxDestroyed(TcustomJukebox* jukebox) override;
    void LoadSettings(const TIniFile& ini, const std::string& section) override;
    void SaveSettings(TIniFile& ini, const std::string& section) override;

    // The jukebox's playlist when it is Active, else the current saved playlist (nullptr when none).
    TaudioTagList* GetCurrentPlaylist() const;

    // Queue operations.
    virtual void QueueTags(const TStringList<TaudioTag>& tags, bool copy, bool append) = 0;
    // False when the queue is full.
    virtual bool QueueTag(const TaudioTag* tag) = 0;
    virtual void SetStackerActive(bool value) = 0;
    virtual void SelectPlaylist(const std::string& title) = 0;
    virtual void QueueList(const TaudioTagList& list, bool copy) = 0;
    virtual void QueueMoveUp(int index) = 0;
    virtual void QueueMoveDown(int index) = 0;
    virtual void QueueDelete(int index) = 0;
    virtual void QueueClear() = 0;

protected:
    // The random-play list shares the global list's songs: it is emptied until the rebuild refills it, so a
    // song asked for in the middle of a load or a rebuild is never one already freed.
    void ReleaseGlobalLinks() override;

private:
    std::unique_ptr<TlocalJukebox> jukebox_;
    bool destroying_ = false;
};
