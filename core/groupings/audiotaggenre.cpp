#include "core/groupings/audiotaggenre.h"

TaudioTagGenre::TaudioTagGenre()
    : albums_(std::make_unique<TaudioTagAlbumList>()), artists_(std::make_unique<TaudioTagArtistList>())
{
    albums_->SetOwnsObjects(true);
    albums_->SetListsOwnObjects(false);
    artists_->SetOwnsObjects(true);
    artists_->SetListsOwnObjects(false);
    artists_->SetUseCompilations(false);
    artists_->SetUseNoName(false);
}

TaudioTagGenre::~TaudioTagGenre()
{
    artists_.reset();
    albums_.reset();
}

bool TaudioTagGenre::Add(TaudioTag* song)
{
    if (song && useArtists_) {
        // While the genre fills inside an update, so do its artists and albums: one notification (and one
        // sort of each album) when the genre's update ends instead of one per new album.
        if (UpdateCount() > 0 && !innerUpdate_) {
            innerUpdate_ = true;
            artists_->BeginUpdate();
            albums_->BeginUpdate();
        }
        artists_->AddTag(song);
        if (useAlbums_)
            albums_->AddTag(song);
    }
    return TaudioTagList::Add(song);
}

void TaudioTagGenre::Clear()
{
    artists_->Clear();
    albums_->Clear();
    TaudioTagList::Clear();
}

void TaudioTagGenre::DoChange()
{
    if (innerUpdate_) {
        innerUpdate_ = false;
        albums_->EndUpdate();
        artists_->EndUpdate();
    }
    TaudioTagList::DoChange();
}
