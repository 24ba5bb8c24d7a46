// The playlist editor's state: its links to the main window and the libraries, its settings, and the edited
// list with what shows it (the list box, the play-mode boxes, the status bar).
#include "app/windows/frmplaylisteditor.h"

#include "app/qt/helpers/settingbounds.h"
#include "app/windows/frmplaylisteditorinternal.h"
#include "app/windows/playlisteditorhost.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/treesinkmodel.h"
#include "controls/windowplacement.h"
#include "core/groupings/audiotagplaylistlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/util/orvanexutils.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "platform/scopeguard.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QToolButton>

#include <algorithm>
#include <cstdio>

using playlisteditor::SetLines;

namespace {

constexpr const char* kEmptyLine = "The Playlist is Empty ...";
constexpr const char* kNoListLine = "No Playlist Selected ...";

std::string Printed(const char* format, long long value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

// Links.

void TfrmPlaylistEditor::SetJukebox(TplaylistEditorHost* host)
{
    host_ = host;
    viewer_.SetJukeboxList(TreeLibrary());
    if (!host_) {
        // The main window goes before this window: nothing may link into its libraries any more.
        lbSongs->Items().Clear();
        model_->Clear();
        SetEditedList(nullptr);
    }
}

TcustomJukeboxList* TfrmPlaylistEditor::TreeLibrary() const
{
    return host_ ? host_->LibraryWithoutCDs() : nullptr;
}

TlocalJukebox* TfrmPlaylistEditor::PlayingJukebox() const
{
    TcustomlocalJukeboxList* library = library_.Get();
    return library ? library->Jukebox() : nullptr;
}

TaudioTagPlaylistList* TfrmPlaylistEditor::SavedPlaylists() const
{
    TcustomlocalJukeboxList* library = library_.Get();
    return library ? &library->Playlists() : nullptr;
}

TaudioTagPlaylistList* TfrmPlaylistEditor::StackerLists() const
{
    TlocalJukebox* jukebox = PlayingJukebox();
    return jukebox ? &jukebox->Stacker() : nullptr;
}

bool TfrmPlaylistEditor::IsSaved(const TaudioTagList* list) const
{
    const TaudioTagPlaylistList* lists = SavedPlaylists();
    return list && lists && lists->Contains(list);
}

bool TfrmPlaylistEditor::IsStacked(const TaudioTagList* list) const
{
    const TaudioTagPlaylistList* lists = StackerLists();
    return list && lists && lists->Contains(list);
}

TaudioTagList* TfrmPlaylistEditor::EditedList() const
{
    return IsSaved(editedList_) || IsStacked(editedList_) ? editedList_ : nullptr;
}

// Settings.

void TfrmPlaylistEditor::LoadSettings(const TIniFile& ini, const std::string& section)
{
    const int width = ReadExtent(ini, section, "Width", this->width());
    const int height = ReadExtent(ini, section, "Height", this->height());
    const QScreen* screen = QApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, width, height);
    const QPoint centred = CentredPosition(QSize(width, height), area, area);
    const int left = ReadPosition(ini, section, "Left", centred.x());
    const int top = ReadPosition(ini, section, "Top", centred.y());
    rightPanelWidth_ = ReadExtent(ini, section, "RightPanelWidth", rightPanelWidth_, 0);
    trackListHeight_ = ReadExtent(ini, section, "TrackListHeight", trackListHeight_, 0);
    selectionHeight_ = ReadExtent(ini, section, "PLSelectionHeight", selectionHeight_, 0);
    const int rightWidth = rightPanelWidth_;
    const int trackHeight = trackListHeight_;
    const int pagesHeight = selectionHeight_;
    resize(width, height);
    move(left, top);
    const int inner = std::max(width, rightWidth + 1);
    splitter_->setSizes({inner - rightWidth, rightWidth});
    const int tall = std::max({height, trackHeight + 1, pagesHeight + 1});
    leftSplitter_->setSizes({tall - trackHeight, trackHeight});
    rightSplitter_->setSizes({pagesHeight, tall - pagesHeight});
    rules_.LoadSettings(ini, section);
}

void TfrmPlaylistEditor::SaveSettings(TIniFile& ini, const std::string& section) const
{
    ini.WriteInteger(section, "Width", width());
    ini.WriteInteger(section, "Height", height());
    ini.WriteInteger(section, "Left", x());
    ini.WriteInteger(section, "Top", y());
    ini.WriteInteger(section, "RightPanelWidth", rightPanelWidth_);
    ini.WriteInteger(section, "TrackListHeight", trackListHeight_);
    ini.WriteInteger(section, "PLSelectionHeight", selectionHeight_);
    rules_.SaveSettings(ini, section);
}

// The edited list.

void TfrmPlaylistEditor::SetEditedList(TaudioTagList* list)
{
    editedList_ = list;
    const int saved = host_ && SavedPlaylists() && list ? SavedPlaylists()->IndexOf(list) : -1;
    const int stacked = host_ && StackerLists() && list ? StackerLists()->IndexOf(list) : -1;
    QAction* toStacker = Action("actnAddToStacker");
    QAction* toPlaylists = Action("actnAddToplaylists");
    toStacker->setEnabled(list && stacked < 0 && !(host_ && host_->StackerLocked()));
    toPlaylists->setEnabled(list && saved < 0);
    if (toStacker->isEnabled())
        tbtnAddPlaylistTo->setDefaultAction(toStacker);
    else if (toPlaylists->isEnabled())
        tbtnAddPlaylistTo->setDefaultAction(toPlaylists);
    UpdateStatus();
}

std::string TfrmPlaylistEditor::ListSuffix() const
{
    // From where the list is, not from what is offered: the stacker's lock turns the offers off.
    if (!host_ || !editedList_)
        return {};
    if (SavedPlaylists() && SavedPlaylists()->IndexOf(editedList_) >= 0)
        return " (playlist collection)";
    if (StackerLists() && StackerLists()->IndexOf(editedList_) >= 0)
        return " (stacker)";
    return {};
}

void TfrmPlaylistEditor::FillPlaylistLines(const TaudioTagList* list)
{
    TStringList<TaudioTag> lines;
    if (list)
        list->FormatStrings(lines, tdfArtistTitleDuration, false);
    SetLines(*lbPlaylist, lines);
    if (!list)
        lbPlaylist->Items().Add(kNoListLine);
    else if (list->Count() == 0)
        lbPlaylist->Items().Add(kEmptyLine);
}

void TfrmPlaylistEditor::SetPlayModeBoxes(const TaudioTagList* list)
{
    const platform::TValueGuard guard(settingBoxes_, true);
    cbReset->setChecked(list && list->GetResetOnActivate());
    cbLoop->setChecked(list && list->GetLoop());
    cbRandom->setChecked(list && list->GetRandom());
}

void TfrmPlaylistEditor::SetStatusPanels(const std::string& title, int count, std::int64_t seconds,
                                         int artists)
{
    panels_[0]->setText(platform::ToQString("List : " + title + ListSuffix()));
    panels_[1]->setText(platform::ToQString(Printed("Count : %lld", count)));
    panels_[2]->setText(platform::ToQString("Play Time : " + SecondsToHMS(seconds)));
    panels_[3]->setText(platform::ToQString(Printed("Artist Count : %lld", artists)));
}

void TfrmPlaylistEditor::UpdateStatus()
{
    const TaudioTagList* list = EditedList();
    // Enabled while a list is edited, even an empty one: a disabled list box would take no drops.
    lbPlaylist->setEnabled(list != nullptr);
    for (const char* name : {"actnPlaylistsRename", "actnPlaylistsDelete"})
        Action(name)->setEnabled(list != nullptr);
    for (QCheckBox* box : {cbRandom, cbLoop, cbReset})
        box->setEnabled(list != nullptr);
    FillPlaylistLines(list);
    if (!list) {
        SetPlayModeBoxes(nullptr);
        SetStatusPanels("NONE", 0, 0, 0);
        return;
    }
    if (IsSaved(list))
        SetPlayModeBoxes(list);
    SetStatusPanels(list->Title(), list->Count(), list->TotalDuration(), list->ArtistCount());
}
