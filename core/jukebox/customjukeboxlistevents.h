#pragma once

#include "core/util/componentlink.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TaudioTag;
class TaudioTagList;
class TcustomJukeboxEvents;
class TcustomJukeboxList;
class TcustomMediaPlayerEvents;

// The notifications of a library, kept apart from it so that the main window binds them once. The library
// is the sender of every event, also for the progress of the lists routed to it. The two holders it hands
// on (to the playing jukebox and its player) are links that read as none once their holder is destroyed.
class TcustomJukeboxListEvents
{
public:
    using TnotifyEvent = std::function<void(TcustomJukeboxList* sender)>;
    using TlistEvent = std::function<void(TcustomJukeboxList* sender, TaudioTagList* list)>;
    using TprocessEvent = std::function<void(TcustomJukeboxList* sender, std::uint32_t index,
                                             std::uint32_t count, TaudioTag* tag)>;
    using TprocessStartEvent = std::function<void(TcustomJukeboxList* sender, const std::string& text)>;

    TcustomJukeboxListEvents() = default;
    TcustomJukeboxListEvents(const TcustomJukeboxListEvents&) = delete;
    TcustomJukeboxListEvents& operator=(const TcustomJukeboxListEvents&) = delete;

    TcustomJukeboxEvents* JukeboxEvents() const;
    void SetJukeboxEvents(TcustomJukeboxEvents* value);
    TcustomMediaPlayerEvents* PlayerEvents() const;
    void SetPlayerEvents(TcustomMediaPlayerEvents* value);

    // The groupings, and maybe songs of the global list, are about to go: raised once before a rebuild
    // clears the groupings and before songs are freed (jukebox.dat replacing them, a scan or a removal),
    // while both are still whole. Whatever links into them (shown trees, track lists, drags) lets go here;
    // OnGlobalListChange follows once the groupings are rebuilt.
    TnotifyEvent OnGlobalListChanging;
    // The groupings were rebuilt.
    TnotifyEvent OnGlobalListChange;
    // The set of saved playlists changed.
    TnotifyEvent OnPlaylistsChange;
    // One saved playlist changed.
    TlistEvent OnPlaylistListChange;
    TprocessEvent OnListProcess;
    TnotifyEvent OnListProcessFinished;
    TprocessStartEvent OnListProcessStart;

    // For the libraries' links to this holder.
    std::weak_ptr<const bool> LinkToken() const { return alive_; }

private:
    TcomponentLink<TcustomMediaPlayerEvents> playerEvents_;
    TcomponentLink<TcustomJukeboxEvents> jukeboxEvents_;
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};
