// What the skinned window's panels show as the player, the queue and the options change: the song title
// and the time, the queue controls, the cover art and the queue details, the transport's state and the
// stacker's title.
#include "app/windows/frmskinnedjukeboxapp.h"

#include "controls/coverimage.h"
#include "controls/daskelbitmap.h"
#include "controls/daskellabel.h"
#include "controls/digitaldisplay.h"
#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "controls/scrollbanner3.h"
#include "core/songs/audiotag.h"
#include "core/songs/coverpicture.h"
#include "core/util/promptservice.h"
#include "platform/qtstring.h"

#include <QAction>

// ---- Song title and time

bool TfrmSkinnedJukeboxApp::GetScrollSongTitle() const
{
    // The user's choice: the close step stops the banner before the settings are saved.
    return actnSettingsScrollSongTitle->isChecked();
}

void TfrmSkinnedJukeboxApp::SetScrollSongTitle(bool on)
{
    sbnrSongTitle->SetScrollEnabled(on);
    actnSettingsScrollSongTitle->setChecked(on);
}

void TfrmSkinnedJukeboxApp::TimeChanged(std::uint32_t msPosition, std::uint32_t msLength)
{
    if (Closing())
        return;
    if (GetShowTimeRemaining()) {
        const std::uint32_t left = msLength > msPosition ? msLength - msPosition : 0;
        ddTimer->SetSeconds(-static_cast<int>(left / 1000));
    } else {
        ddTimer->SetSeconds(static_cast<int>(msPosition / 1000));
    }
}

void TfrmSkinnedJukeboxApp::PlaybackStarted(const TaudioTag* song)
{
    TfrmJukeboxApp::PlaybackStarted(song);
    if (Closing())
        return;
    if (song) {
        sbnrSongTitle->SetCaption(SongTitleFonts().SongCaption(*song, tdfArtistTitleAlbumTrack));
        bannerShowsSong_ = true;
        LoadCoverArt(*song);
    } else {
        PlayerStateChanged(mpsStopped);
    }
}

// ---- Queue panel

bool TfrmSkinnedJukeboxApp::GetQueueControlsVisible() const
{
    return !opnlQueueControls->isHidden();
}

void TfrmSkinnedJukeboxApp::SetQueueControlsVisible(bool on)
{
    opnlQueueControls->setVisible(on);
    actnViewQueueControls->setChecked(on);
}

bool TfrmSkinnedJukeboxApp::GetShowCoverArt() const
{
    return actnViewCoverArt->isChecked();
}

void TfrmSkinnedJukeboxApp::SetShowCoverArt(bool on)
{
    actnViewCoverArt->setChecked(on);
    UpdateCoverPanel();
}

void TfrmSkinnedJukeboxApp::SetShowQueueDetails(bool on)
{
    showQueueDetails_ = on;
    actnViewQueueDetails->setChecked(on);
    UpdateCoverPanel();
}

void TfrmSkinnedJukeboxApp::SetShowDetailsWhenCoverPresent(bool on)
{
    showDetailsWhenCoverPresent_ = on;
    actnViewShowDetailsWhenCoverPresent->setChecked(on);
    UpdateCoverPanel();
}

bool TfrmSkinnedJukeboxApp::CoverLoaded() const
{
    return !bmCoverArt->Picture().Empty();
}

void TfrmSkinnedJukeboxApp::LoadCoverArt(const TaudioTag& song)
{
    // A fresh picture each time: a song without a cover must not go on showing the last song's.
    TcoverPicture cover;
    GetCoverPicture(song, GetCoverArtFolder(), cover, true);
    bmCoverArt->SetPicture(ToQImage(cover));
    UpdateCoverPanel();
}

void TfrmSkinnedJukeboxApp::UpdateCoverPanel()
{
    const bool coverArt = GetShowCoverArt();
    pnlQueueRight->setVisible(showQueueDetails_ || coverArt);
    bmCoverArt->setVisible(coverArt);
    pnlCoverDetails->setVisible(!coverArt ||
                                (showQueueDetails_ && (showDetailsWhenCoverPresent_ || !CoverLoaded())));
}

void TfrmSkinnedJukeboxApp::PlayerStateChanged(TmediaPlayState state)
{
    TfrmJukeboxApp::PlayerStateChanged(state);
    if (Closing())
        return;
    switch (state) {
    case mpsPlaying:
        ombtnControls->SetButtonChecked(1);
        break;
    case mpsPaused:
        ombtnControls->SetButtonChecked(3);
        break;
    default:
        ombtnControls->SetButtonChecked(4);
        sbnrSongTitle->SetCaption(SongTitleFonts().FontMarkup(TtagFonts::fkTitle) + ApplicationTitle());
        bannerShowsSong_ = false;
        ddTimer->SetSeconds(0);
        break;
    }
}

// ---- Stacker

void TfrmSkinnedJukeboxApp::StackerChanged()
{
    TfrmJukeboxApp::StackerChanged();
    if (!Closing())
        lblStackerTitle->SetCaption(platform::ToQString(GetStackerTitle()));
}

void TfrmSkinnedJukeboxApp::SetStackerEnabled(bool on)
{
    TfrmJukeboxApp::SetStackerEnabled(on);
    obtnStackerPower->SetChecked(GetStackerEnabled());
}
