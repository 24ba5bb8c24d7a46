#pragma once

#include "core/jukebox/customlocaljukeboxlist.h"

// The library the windows create: the queue operations on the jukebox's queue and the auto-save switches
// of the jukebox's own files.
class TlocalJukeboxList : public TcustomlocalJukeboxList
{
public:
    TlocalJukeboxList();

    bool AutoSavePlaylist() const { return autoSavePlaylist_; }
    void SetAutoSavePlaylist(bool value);
    bool AutoSaveQueue() const { return autoSaveQueue_; }
    void SetAutoSaveQueue(bool value);
    bool AutoSaveStacker() const { return autoSaveStacker_; }
    void SetAutoSaveStacker(bool value);
    // While designing, the switches are only stored and do not reach the jukebox.
    bool Designing() const { return designing_; }
    void SetDesigning(bool value) { designing_ = value; }

    void QueueTags(const TStringList<TaudioTag>& tags, bool copy, bool append) override;
    bool QueueTag(const TaudioTag* tag) override;
    void SetStackerActive(bool value) override;
    void SelectPlaylist(const std::string& title) override;
    void QueueList(const TaudioTagList& list, bool copy) override;
    void QueueMoveUp(int index) override;
    void QueueMoveDown(int index) override;
    void QueueDelete(int index) override;
    void QueueClear() override;

private:
    bool autoSavePlaylist_ = false;
    bool autoSaveQueue_ = false;
    bool autoSaveStacker_ = false;
    bool designing_ = false;
};
