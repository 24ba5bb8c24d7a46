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
    if (!albumArtist_.Empty() && !platform::SameText(albumArtist_.Get(), song->Artist())) {
        if (albumArtist_.Get() != kCompilationsArtist)
            albumArtist_ = TsharedText(kCompilationsArtist);
        compilation_ = true;
    }
    SetSortByTrack(sortByTrack_);
    return TaudioTagList::Add(song);
}
