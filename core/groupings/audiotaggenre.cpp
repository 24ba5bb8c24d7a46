#include "core/groupings/audiotaggenre.h"

#include <cstdint>
#include <unordered_map>

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
        if (defersAlbums_)
            FileDeferredAlbums();
        BeginInnerUpdate();
        artists_->AddTag(song);
        if (useAlbums_)
            albums_->AddTag(song);
    }
    return TaudioTagList::Add(song);
}

void TaudioTagGenre::BeginInnerUpdate()
{
    // While the genre fills inside an update, so do its artists and albums: one notification (and one
    // sort of each album) when the genre's update ends instead of one per new album.
    if (UpdateCount() > 0 && !innerUpdate_) {
        innerUpdate_ = true;
        artists_->BeginUpdate();
        albums_->BeginUpdate();
    }
}

bool TaudioTagGenre::AddFromLibraryAlbum(TaudioTag* song, TaudioTagList* libraryAlbum)
{
    const bool defer = song && useArtists_ && useAlbums_ && UpdateCount() > 0 &&
                       (libraryAlbum || song->Album().empty()) && (defersAlbums_ || albums_->GetCount() == 0);
    if (!defer)
        return Add(song);
    defersAlbums_ = true;
    BeginInnerUpdate();
    artists_->AddTag(song);
    if (libraryAlbum)
        deferred_.push_back(Deferred{song, libraryAlbum});
    return TaudioTagList::Add(song);
}

void TaudioTagGenre::FileDeferredAlbums()
{
    defersAlbums_ = false;
    std::vector<Deferred> deferred;
    deferred.swap(deferred_);
    for (const Deferred& d : deferred)
        albums_->AddTag(d.song);
}

bool TaudioTagGenre::TakeLibraryAlbums()
{
    if (!defersAlbums_)
        return false;
    defersAlbums_ = false;
    std::vector<Deferred> deferred;
    deferred.swap(deferred_);
    // The library albums met, in the order their first songs came, with how many of their songs came.
    struct Met
    {
        TaudioTagList* library;
        std::size_t count;
        std::unique_ptr<TaudioTagAlbum> part;
    };
    std::vector<Met> met;
    std::vector<std::uint32_t> metOf(deferred.size());
    {
        std::unordered_map<const TaudioTagList*, std::uint32_t> numbers;
        for (std::size_t i = 0; i < deferred.size(); ++i) {
            const auto [it, fresh] =
                numbers.try_emplace(deferred[i].libraryAlbum, static_cast<std::uint32_t>(met.size()));
            if (fresh)
                met.push_back(Met{deferred[i].libraryAlbum, 0, nullptr});
            ++met[it->second].count;
            metOf[i] = it->second;
        }
    }
    // An album the genre holds only a part of is made as the album grouping makes one.
    for (std::size_t i = 0; i < deferred.size(); ++i) {
        Met& m = met[metOf[i]];
        if (m.count == static_cast<std::size_t>(m.library->GetCount()))
            continue;
        TaudioTag* song = deferred[i].song;
        if (m.part) {
            m.part->Add(song);
            continue;
        }
        m.part = std::make_unique<TaudioTagAlbum>();
        m.part->BeginUpdate(); // closed with the albums' update
        m.part->SetTitle(song->Album());
        m.part->SetAlbumArtist(song->Artist());
        m.part->Add(song);
        m.part->SetSortType(tstTrack);
        m.part->SetSorted(true);
    }
    std::vector<TaudioTagListList::TnewMember> members(met.size());
    for (std::size_t i = 0; i < met.size(); ++i) {
        if (met[i].part)
            members[i].made = std::move(met[i].part);
        else
            members[i].link = met[i].library;
    }
    albums_->AddGroupedMembers(std::move(members));
    return true;
}

void TaudioTagGenre::Clear()
{
    defersAlbums_ = false;
    deferred_.clear();
    artists_->Clear();
    albums_->Clear();
    TaudioTagList::Clear();
}

void TaudioTagGenre::DoChange()
{
    if (innerUpdate_) {
        if (defersAlbums_)
            FileDeferredAlbums();
        innerUpdate_ = false;
        albums_->EndUpdate();
        artists_->EndUpdate();
    }
    TaudioTagList::DoChange();
}
