#pragma once

#include <functional>
#include <memory>

class TaudioTagList;
class TcustomJukebox;

// The notifications of the playing jukebox, kept apart from it so that the main window binds them once.
// Every event gets the jukebox as sender and fires only when set.
class TcustomJukeboxEvents
{
public:
    using TjukeboxNotifyEvent = std::function<void(TcustomJukebox* sender)>;
    using TjukeboxListEvent = std::function<void(TcustomJukebox* sender, TaudioTagList* list)>;
    using TjukeboxValueEvent = std::function<void(TcustomJukebox* sender, int value)>;

    TcustomJukeboxEvents() = default;
    TcustomJukeboxEvents(const TcustomJukeboxEvents&) = delete;
    TcustomJukeboxEvents& operator=(const TcustomJukeboxEvents&) = delete;

    TjukeboxNotifyEvent OnQueueChange;
    // The playlist changed, was switched on or off, or changed its play mode.
    TjukeboxNotifyEvent OnPlaylistChange;
    // The stacker's set of lists or its Active flag changed.
    TjukeboxNotifyEvent OnStackerChange;
    // The random-play list changed; no window reads the value.
    TjukeboxValueEvent OnCustomGlobalChange;
    // One list inside the stacker changed.
    TjukeboxListEvent OnStackerListChange;
    // The active saved playlist was set or cleared; the list is the new one or nullptr.
    TjukeboxListEvent OnActivePreloadedListChanged;

    // For links held elsewhere: expires with the holder.
    std::weak_ptr<const bool> LinkToken() const { return alive_; }

private:
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};
