#include "app/dialogs/frmplaylist.h"

#include "app/qt/services/exceptionboundary.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "core/jukebox/customjukebox.h"
#include "core/jukebox/customlocaljukeboxlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/util/orvanexutils.h"
#include "markup/taggedtext.h"
#include "platform/qtstring.h"

#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

#include <cstdio>

namespace {

std::string Numbered(const char* label, long long value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s%lld", label, value);
    return text;
}

} // namespace

TfrmPlaylist::TfrmPlaylist(QWidget* parent) : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName("frmPlaylist");
    setWindowTitle("Playlist");
    setModal(false);
    resize(300, 400);
    setMinimumSize(100, 100);
    setSizeGripEnabled(false);

    lbPlaylist = new ThtmlListBox(this);
    lbPlaylist->setObjectName("lbPlaylist");
    sbPlaylist = new QStatusBar(this);
    sbPlaylist->setObjectName("sbPlaylist");
    const char* const initial[3] = {"Count :", "Play Time :", "Artist Count :"};
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(initial[i], sbPlaylist);
        sbPlaylist->addWidget(panels_[i], 1);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(lbPlaylist, 1);
    layout->addWidget(sbPlaylist);
}

TcustomlocalJukeboxList* TfrmPlaylist::JukeboxList() const
{
    return library_.Get();
}

QLabel* TfrmPlaylist::Panel(int index) const
{
    return index >= 0 && index < 3 ? panels_[index] : nullptr;
}

std::string TfrmPlaylist::CountText(int count)
{
    return Numbered("Count : ", count);
}

std::string TfrmPlaylist::PlayTimeText(std::int64_t seconds)
{
    return "Play Time : " + SecondsToHMS(seconds);
}

std::string TfrmPlaylist::ArtistCountText(int count)
{
    return Numbered("Artist Count : ", count);
}

void TfrmPlaylist::Refresh(TcustomlocalJukeboxList* library)
{
    library_.Reset(library);
    const TcustomlocalJukeboxList* live = library_.Get();
    Fill(live ? live->Jukebox() : nullptr);
}

void TfrmPlaylist::Fill(const TcustomJukebox* jukebox)
{
    const TaudioTagList* list = jukebox ? jukebox->ActivePreloadedList() : nullptr;
    ThtmlListItems& items = lbPlaylist->Items();
    int count = 0;
    std::int64_t seconds = 0;
    int artists = 0;
    items.BeginUpdate();
    items.Clear();
    if (list) {
        // Display lines are plain text; the list box reads mark-up.
        TStringList<TaudioTag> lines;
        list->GetStrings(lines);
        for (const auto& line : lines)
            items.AddObject(EscapeMarkup(line.text), line.object);
        count = list->Count();
        seconds = list->TotalDuration();
        artists = list->ArtistCount();
    }
    items.EndUpdate();
    panels_[0]->setText(platform::ToQString(CountText(count)));
    panels_[1]->setText(platform::ToQString(PlayTimeText(seconds)));
    panels_[2]->setText(platform::ToQString(ArtistCountText(artists)));
}

void TfrmPlaylist::ShowPlaylist(TcustomlocalJukeboxList* library)
{
    library_.Reset(library);
    if (isVisible())
        Refresh(library);
    else
        show();
    raise();
    activateWindow();
}

void TfrmPlaylist::showEvent(QShowEvent* event)
{
    Guarded([this] { Refresh(library_.Get()); });
    QDialog::showEvent(event);
}
