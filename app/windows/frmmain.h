#pragma once

#include "app/windows/frmskinnedjukeboxapp.h"

#include <cstdint>
#include <initializer_list>
#include <string>

class QHBoxLayout;
class TdaskelLabel;
class TdigitalClock2;
class TorvaneScrollBar;
struct TnowPlayingTexts;

// The skinned window with what the player and the library show now: the playing song's details, the
// counts and lengths of the queue, the playlist and the library over the cover art, the track position and
// volume bars and the clock, all kept current from the events the base routes. The concrete main window
// (TfrmOJB) only chooses the core objects; the two are never used apart.
class TfrmMain : public TfrmSkinnedJukeboxApp
{
public:
    // The detail labels' Tag: which font of the "Other" set each takes.
    static constexpr int kTagCountRows = 50;
    static constexpr int kTagPanelHeadings = 51;
    static constexpr int kTagTrackCaptions = 52;
    static constexpr int kTagTrackValues = 53;
    static constexpr int kVolumeMax = 255;

    explicit TfrmMain(QWidget* parent = nullptr);

    void FormCreate() override;

    // Overrides.
    void LoadSettings(const TIniFile& ini) override;
    void SaveSettings(TIniFile& ini) override;
    void TimeChanged(std::uint32_t msPosition, std::uint32_t msLength) override;
    void PlaybackStarted(const TaudioTag* song) override;
    void PlayerStateChanged(TmediaPlayState state) override;
    void VolumeChanged(std::uint8_t volume) override;
    void QueueChanged() override;
    void PlaylistChanged() override;
    void PlaylistsChanged() override;
    void ActivePreloadedListChanged(TaudioTagList* list) override;
    void ApplyPartyPlayState() override;

    // The current playlist's count and length: the jukebox's playlist while it is active, else the
    // library's selected saved playlist.
    void UpdatePlaylistDetails();
    // Move To: the selected queue entry to the place the queue-position popup asks for. A gated operation:
    // unforced, it runs as its command.
    void QueueMoveTo(bool force = false);
    // The "Other" font set reaches the clock, the time display, the tool bar and the detail labels.
    void DetailsFontsChanged();

    TdaskelLabel* Label(const char* name) const;
    TorvaneScrollBar* TrackPositionBar() const { return sbTrackPosition; }
    TorvaneScrollBar* VolumeBar() const { return sbVolume; }
    TdigitalClock2* Clock() const { return clock; }

protected:
    void JukeboxListEventsGlobalListChange(TcustomJukeboxList* sender) override;

private:
    struct TdetailLine
    {
        const char* caption;
        const char* name;
        TdaskelLabel** label;
    };

    void BuildPositionAndVolume();
    void BuildClock();
    void BuildDetails();
    // A label of the details with its font tag; a caption label when text is given.
    TdaskelLabel* DetailLabel(const char* name, const QString& text, int tag);
    // A heading over caption and value lines, beside the others.
    void AddCountPanel(QHBoxLayout& row, const char* heading, std::initializer_list<TdetailLine> lines);
    void ShowNowPlaying(const TnowPlayingTexts& texts);
    void UpdateGlobalDetails();
    static void SetText(TdaskelLabel* label, const std::string& text);

    TorvaneScrollBar* sbTrackPosition = nullptr;
    TorvaneScrollBar* sbVolume = nullptr;
    TdigitalClock2* clock = nullptr;
    TdaskelLabel* lblTrack = nullptr;
    TdaskelLabel* lblArtist = nullptr;
    TdaskelLabel* lblAlbum = nullptr;
    TdaskelLabel* lblDuration = nullptr;
    TdaskelLabel* lblMode = nullptr;
    TdaskelLabel* lblBitrate = nullptr;
    TdaskelLabel* lblSampleRate = nullptr;
    TdaskelLabel* lblFileType = nullptr;
    TdaskelLabel* lblQueueCount = nullptr;
    TdaskelLabel* lblQueueDuration = nullptr;
    TdaskelLabel* lblPlaylistCount = nullptr;
    TdaskelLabel* lblPlaylistDuration = nullptr;
    TdaskelLabel* lblActiveList = nullptr;
    TdaskelLabel* lblGlobalCount = nullptr;
    TdaskelLabel* lblGlobalDuration = nullptr;
    TdaskelLabel* lblArtistCount = nullptr;
    TdaskelLabel* lblAlbumCount = nullptr;
};
