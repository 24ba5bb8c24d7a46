// The library browser window's settings, panels and view modes, and its party-play state and start-up.
#include "app/windows/frmjukeboxapp.h"

#include "controls/noscrolltreeview.h"
#include "core/groupings/audiotaggenrelist.h"
#include "core/jukebox/customlocaljukeboxlist.h"
#include "platform/inifile.h"

#include <QAction>

namespace {

constexpr const char* kPreferences = "Preferences";
constexpr const char* kView = "View";

struct TviewKey
{
    const char* key;
    TtreeViewDisplayMode mode;
};
constexpr TviewKey kViewKeys[] = {
    {"Artists", dmArtists},     {"Albums", dmAlbums},
    {"Titles", dmTitles},       {"Compilations", dmCompilations},
    {"Playlists", dmPlaylists}, {"Invalid", dmInvalid},
    {"Genres", dmGenres},
};

} // namespace

// ---- Settings

void TfrmJukeboxApp::LoadSettings(const TIniFile& ini)
{
    TfrmJukebox::LoadSettings(ini);
    SetShowTrackDetails(ini.ReadBool(kPreferences, "ShowTrackDetails", false));
    actnSettingsShowTrackNumbers->setChecked(ini.ReadBool(kPreferences, "ShowTrackNumbers", true));
    SetStackerVisible(ini.ReadBool("Stacker", "Visible", actnViewStacker->isChecked()));
    savedStackerVisible_ = GetStackerVisible();
    SetToolbarVisible(ini.ReadBool("Toolbar", "Visible", actnViewToolbar->isChecked()));
    savedToolbarVisible_ = GetToolbarVisible();
    SetSongTitleVisible(ini.ReadBool("SongTitle", "Visible", true));
    TtreeViewDisplayModes mode = 0;
    for (const TviewKey& view : kViewKeys)
        if (ini.ReadBool(kView, view.key, true))
            mode = With(mode, view.mode);
    TaudioTagGenreList& genres = GetJukeboxList().Genres();
    genres.SetUseArtists(ini.ReadBool(kView, "GenreArtists", true));
    genres.SetUseAlbums(ini.ReadBool(kView, "GenreAlbums", true));
    actnViewGenreArtists->setChecked(genres.UseArtists());
    actnViewGenreAlbums->setChecked(genres.UseAlbums());
    actnViewGenreAlbums->setEnabled(genres.UseArtists());
    SetDisplayMode(mode);
    RefreshQueue();
}

void TfrmJukeboxApp::SaveSettings(TIniFile& ini)
{
    TfrmJukebox::SaveSettings(ini);
    ini.WriteBool(kPreferences, "ShowTrackDetails", showTrackDetails_);
    ini.WriteBool(kPreferences, "ShowTrackNumbers", GetShowTrackNumbers());
    // While party play hides a panel, the visibility the user chose is the one kept.
    ini.WriteBool("Stacker", "Visible", partyHidden_ ? savedStackerVisible_ : GetStackerVisible());
    ini.WriteBool("Toolbar", "Visible", partyHidden_ ? savedToolbarVisible_ : GetToolbarVisible());
    ini.WriteBool("SongTitle", "Visible", GetSongTitleVisible());
    const TtreeViewDisplayModes mode = CheckedDisplayMode();
    for (const TviewKey& view : kViewKeys)
        ini.WriteBool(kView, view.key, Has(mode, view.mode));
    ini.WriteBool(kView, "GenreArtists", actnViewGenreArtists->isChecked());
    ini.WriteBool(kView, "GenreAlbums", actnViewGenreAlbums->isChecked());
}

// ---- Panels and views

bool TfrmJukeboxApp::GetStackerVisible() const
{
    return !pnlStacker->isHidden();
}

void TfrmJukeboxApp::SetStackerVisible(bool on)
{
    pnlStacker->setVisible(on);
    actnViewStacker->setChecked(on);
}

bool TfrmJukeboxApp::GetToolbarVisible() const
{
    return !pnlToolbar->isHidden();
}

void TfrmJukeboxApp::SetToolbarVisible(bool on)
{
    pnlToolbar->setVisible(on);
    actnViewToolbar->setChecked(on);
}

bool TfrmJukeboxApp::GetSongTitleVisible() const
{
    return !pnlSongTitle->isHidden();
}

void TfrmJukeboxApp::SetSongTitleVisible(bool on)
{
    pnlSongTitle->setVisible(on);
    actnViewSongTitle->setChecked(on);
}

bool TfrmJukeboxApp::GetShowTrackNumbers() const
{
    return actnSettingsShowTrackNumbers->isChecked();
}

void TfrmJukeboxApp::SetShowTrackNumbers(bool on)
{
    actnSettingsShowTrackNumbers->setChecked(on);
    RefreshQueue();
    FillTrackList(SelectedNode());
}

void TfrmJukeboxApp::SetShowTrackDetails(bool on)
{
    showTrackDetails_ = on;
    actnSettingsShowTrackDetails->setChecked(on);
}

TtreeViewDisplayModes TfrmJukeboxApp::CheckedDisplayMode() const
{
    const std::pair<QAction*, TtreeViewDisplayMode> views[] = {
        {actnViewArtists, dmArtists},
        {actnViewTitles, dmTitles},
        {actnViewAlbums, dmAlbums},
        {actnViewPlaylists, dmPlaylists},
        {actnViewCompilations, dmCompilations},
        {actnViewInvalid, dmInvalid},
        {actnViewGenres, dmGenres},
    };
    TtreeViewDisplayModes mode = 0;
    for (const auto& [action, bit] : views)
        if (action->isChecked())
            mode = With(mode, bit);
    return mode;
}

void TfrmJukeboxApp::SetDisplayMode(TtreeViewDisplayModes mode)
{
    viewer_.SetDisplayMode(mode);
    actnViewArtists->setChecked(Has(mode, dmArtists));
    actnViewTitles->setChecked(Has(mode, dmTitles));
    actnViewAlbums->setChecked(Has(mode, dmAlbums));
    actnViewPlaylists->setChecked(Has(mode, dmPlaylists));
    actnViewCompilations->setChecked(Has(mode, dmCompilations));
    actnViewInvalid->setChecked(Has(mode, dmInvalid));
    actnViewGenres->setChecked(Has(mode, dmGenres));
    RebuildTree();
}

void TfrmJukeboxApp::ToggleView(TtreeViewDisplayMode mode)
{
    viewer_.ToggleDisplayMode(mode);
    SetDisplayMode(viewer_.DisplayMode());
}

void TfrmJukeboxApp::QuickToggleView()
{
    const TtreeViewDisplayModes current = viewer_.DisplayMode();
    const auto rest = static_cast<TtreeViewDisplayModes>(current & ~(dmArtists | dmTitles | dmAlbums));
    const auto artistsAlbums = static_cast<TtreeViewDisplayModes>(rest | dmArtists | dmAlbums);
    SetDisplayMode(current == artistsAlbums ? With(rest, dmTitles) : artistsAlbums);
}

bool TfrmJukeboxApp::GetGenreArtists() const
{
    return GetJukeboxList().Genres().UseArtists();
}

void TfrmJukeboxApp::SetGenreArtists(bool on)
{
    GetJukeboxList().Genres().SetUseArtists(on);
    actnViewGenreArtists->setChecked(on);
    actnViewGenreAlbums->setEnabled(on);
    SetDisplayMode(GetDisplayMode());
}

bool TfrmJukeboxApp::GetGenreAlbums() const
{
    return GetJukeboxList().Genres().UseAlbums();
}

void TfrmJukeboxApp::SetGenreAlbums(bool on)
{
    GetJukeboxList().Genres().SetUseAlbums(on);
    actnViewGenreAlbums->setChecked(on);
    SetDisplayMode(GetDisplayMode());
}

// ---- Party play and start-up

void TfrmJukeboxApp::ApplyPartyPlayState()
{
    TfrmJukebox::ApplyPartyPlayState();
    if (IsPartyPlay()) {
        if (!partyHidden_) {
            savedToolbarVisible_ = GetToolbarVisible();
            savedStackerVisible_ = GetStackerVisible();
        }
        partyHidden_ = true;
        SetToolbarVisible(false);
        // Guests see the stacker whenever they may use it, whatever the host's own view was.
        SetStackerVisible(!PartyPlayOption(TpartyPlayOption::StackerControl));
    } else if (partyHidden_) {
        partyHidden_ = false;
        SetToolbarVisible(savedToolbarVisible_);
        SetStackerVisible(savedStackerVisible_);
    }
    ApplyLocks();
    TreeSelectionChanged();
}

void TfrmJukeboxApp::ApplyLocks()
{
    const bool party = IsPartyPlay();
    // Move To joins the command table only in the concrete window; the other queue commands are the
    // command table's.
    actnQueueMoveTo->setEnabled(!(party && PartyPlayOption(TpartyPlayOption::QueueControls)));
    actnViewToolbar->setEnabled(!party);
    actnViewStacker->setEnabled(!(party && PartyPlayOption(TpartyPlayOption::StackerControl)));
    actnSettingsSkins->setEnabled(!party);
}

void TfrmJukeboxApp::Startup()
{
    PushTreeLook();
    TfrmJukebox::Startup();
    tvJukeboxList->setFocus();
}
