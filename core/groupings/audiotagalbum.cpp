#include "core/groupings/audiotagalbum.h"

#include "platform/textcompare.h"

TaudioTagAlbum::TaudioTagAlbum() = default;

void TaudioTagAlbum::SetSortByTrack(bool value)
{
    sortByTrack_ = value;
    SetSortType(value ? tstTrack : tstArtist);
}

bool TaudioTagAlbum::Add(TaudioTag* song)
{
    if (!song)
        return false;
    // Equal texts share one copy: the artist of most songs is the album's without a look at either text.
    if (!albumArtist_.Empty() && !(albumArtist_ == song->SharedArtist()) &&
        !platform::SameText(albumArtist_.Get(), song->Artist())) {
        if (albumArtist_.Get() != kCompilationsArtist)
            albumArtist_ = TsharedText(kCompilationsArtist);
        compilation_ = true;
    }
    SetSortByTrack(sortByTrack_);
    return TaudioTagList::Add(song);
}
