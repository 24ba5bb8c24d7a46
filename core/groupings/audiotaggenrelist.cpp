#include "core/groupings/audiotaggenrelist.h"

#include "platform/textcompare.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

void TaudioTagGenreList::AddTag(TaudioTag* tag, TaudioTagList* libraryAlbum)
{
    if (!tag)
        return;
    static const std::string undefined = kUndefinedGenre;
    const std::string* name = &tag->GenreString();
    if (name->empty()) {
        name = &undefined;
        if (tag->Title().empty())
            tag->SetTitle(std::string(tag->LeafName()));
    }
    TaudioTagGenre* genre = nullptr;
    if (last_ && lastGeneration_ == Generation() && lastName_ == *name)
        genre = last_;
    else
        genre = FindGenre(*name);
    const auto join = [&](TaudioTagGenre& to) {
        return libraryAlbums_ && UpdateCount() > 0 ? to.AddFromLibraryAlbum(tag, libraryAlbum) : to.Add(tag);
    };
    if (genre) {
        if (join(*genre) && UpdateCount() > 0) {
            const auto made = madeNumber_.find(genre);
            if (made != madeNumber_.end())
                filed_.push_back(Filed{tag, made->second});
        }
    } else {
        auto made = std::make_unique<TaudioTagGenre>();
        made->SetUseArtists(true);
        made->SetUseAlbums(true);
        made->SetGenre(*name);
        made->BeginUpdate(); // closed by DoChange
        const bool added = join(*made);
        genre = made.get();
        if (UpdateCount() > 0) {
            const auto number = static_cast<std::uint32_t>(madeNumber_.size());
            madeNumber_[genre] = number;
            if (added)
                filed_.push_back(Filed{tag, number});
        }
        AddCreatedGrouped(std::move(made));
    }
    last_ = genre;
    lastName_ = *name;
    lastGeneration_ = Generation();
}

void TaudioTagGenreList::LookAhead(const TaudioTag* const* tags, std::size_t count) const
{
    if (UpdateCount() == 0)
        return;
    static const std::string undefined = kUndefinedGenre;
    // Each song's genre as AddTag would find it now, through the few genre texts met in this run.
    std::vector<std::pair<const std::string*, TaudioTagGenre*>> known;
    std::vector<TaudioTagGenre*> genres(count, nullptr);
    for (std::size_t i = 0; i < count; ++i) {
        if (!tags[i])
            continue;
        const std::string* name = &tags[i]->GenreString();
        if (name->empty())
            name = &undefined;
        const auto it =
            std::find_if(known.begin(), known.end(), [name](const auto& k) { return k.first == name; });
        if (it != known.end()) {
            genres[i] = it->second;
        } else {
            genres[i] = FindGenre(*name);
            known.emplace_back(name, genres[i]);
        }
    }
    for (int step = 0; step < TaudioTagAlbumList::kLookAheadSteps; ++step)
        for (std::size_t i = 0; i < count; ++i) {
            TaudioTagGenre* genre = genres[i];
            if (!genre || !genre->UseArtists())
                continue;
            genre->Artists().LookAhead(tags[i], step);
            if (genre->UseAlbums() && !genre->DefersAlbums())
                genre->Albums().LookAhead(tags[i], step);
        }
}

void TaudioTagGenreList::LinkWholeAlbums(TaudioTagGenre& genre, const TaudioTagAlbumList& library)
{
    TaudioTagAlbumList& albums = genre.Albums();
    std::vector<TaudioTagAlbum*> own;
    own.reserve(static_cast<std::size_t>(albums.GetCount()));
    for (int i = 0; i < albums.GetCount(); ++i)
        if (TaudioTagAlbum* album = albums.GetAlbum(i))
            own.push_back(album);
    std::unordered_map<TaudioTagList*, TaudioTagList*> wholes;
    // What a look at an album reads lies anywhere in memory, one thing leading to the next: the albums ahead
    // are asked for their songs, then for their first songs, a few albums apart.
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < own.size(); ++i) {
        if (i + 2 * kAhead < own.size())
            __builtin_prefetch(own[i + 2 * kAhead]->Items().data());
        if (i + kAhead < own.size() && !own[i + kAhead]->Items().empty())
            __builtin_prefetch(own[i + kAhead]->Items().front());
        TaudioTagAlbum* album = own[i];
        const TaudioTag* first = album->GetItem(0);
        if (!first)
            continue;
        // Both file a song by its album title and folder, so the genre's album holds a part of the
        // library's one: as many songs, titled and credited alike, make the same album.
        TaudioTagAlbum* whole = library.FindAlbum(album->Title(), first->FolderName());
        if (whole && whole->GetCount() == album->GetCount() && whole->Title() == album->Title() &&
            whole->AlbumArtist() == album->AlbumArtist() && whole->Compilation() == album->Compilation())
            wholes.emplace(album, whole);
    }
    albums.ReplaceByLinks(wholes);
}

void TaudioTagGenreList::AddGenre(TaudioTagGenre* genre)
{
    if (genre)
        Add(genre);
}

TaudioTagGenre* TaudioTagGenreList::GetGenre(int i) const
{
    return dynamic_cast<TaudioTagGenre*>(GetItem(i));
}

TaudioTagGenre* TaudioTagGenreList::FindGenre(std::string_view name) const
{
    return dynamic_cast<TaudioTagGenre*>(Find(name));
}

void TaudioTagGenreList::LinkGenresOf(const TaudioTagGenreList& source)
{
    LinkMembersOf(source);
    genreIndex_ = source.genreIndex_;
    last_ = nullptr;
}

void TaudioTagGenreList::Clear()
{
    genreIndex_.clear();
    filed_.clear();
    madeNumber_.clear();
    TaudioTagListList::Clear();
}

void TaudioTagGenreList::DoChange()
{
    genreIndex_.clear();
    std::vector<TaudioTagGenre*> genres;
    genres.reserve(static_cast<std::size_t>(GetCount()));
    for (int i = 0; i < GetCount(); ++i)
        if (TaudioTagGenre* genre = GetGenre(i))
            genres.push_back(genre);

    std::vector<std::vector<TaudioTag*>> byTitle = SortFiledByTitle(genres);

    struct Keyed
    {
        std::string key;
        IndexEntry entry;
    };
    std::vector<Keyed> index;
    std::unordered_set<std::string> seen;
    for (TaudioTagGenre* genre : genres) {
        // Linked while the genre's albums are still in their creation update: an album that becomes the
        // library's is freed before it is sorted by track and trimmed, and the rest close once. A genre
        // that took its songs' library albums along made its albums from them instead.
        if (!genre->TakeLibraryAlbums() && libraryAlbums_)
            LinkWholeAlbums(*genre, *libraryAlbums_);
        // Sorted by title before its creation update closes, a new genre changes (and reshuffles) once.
        const auto made = madeNumber_.find(genre);
        if (made != madeNumber_.end() && !byTitle[made->second].empty())
            genre->TakeSorted(std::move(byTitle[made->second]));
        else
            genre->SortBy(tstTitle);
        genre->EndUpdate();
        genre->ShrinkToFit();
        std::string key = platform::FoldKey(genre->Genre());
        if (seen.insert(key).second)
            index.push_back(Keyed{std::move(key), IndexEntry{genre->Genre(), genre}});
    }
    // In the locale's order; genres are unique by their folded keys, so no two rank equal.
    std::vector<std::string_view> names;
    names.reserve(index.size());
    for (const Keyed& k : index)
        names.push_back(k.entry.name);
    const std::vector<std::uint32_t> ranks = platform::TextOrderRanks(names);
    std::vector<std::size_t> order(index.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&ranks](std::size_t a, std::size_t b) { return ranks[a] < ranks[b]; });
    genreIndex_.reserve(index.size());
    for (const std::size_t i : order)
        genreIndex_.push_back(std::move(index[i].entry));

    for (TaudioTagGenre* genre : genres) {
        genre->Artists().AssignAlbums(genre->Albums());
        genre->Artists().BuildIndex();
    }
    madeNumber_.clear();
    TaudioTagListList::DoChange();
}

std::vector<std::vector<TaudioTag*>>
TaudioTagGenreList::SortFiledByTitle(const std::vector<TaudioTagGenre*>& genres)
{
    std::vector<Filed> filed;
    filed.swap(filed_);
    std::vector<std::vector<TaudioTag*>> sorted(madeNumber_.size());
    if (filed.empty())
        return sorted;
    // A genre takes part when it holds exactly the songs filed into it (it was made in this fill, so
    // nothing else came in, and nothing left it), and all of them sort the same way.
    std::vector<std::size_t> count(sorted.size(), 0);
    for (const Filed& f : filed)
        ++count[f.genre];
    std::vector<char> takes(sorted.size(), 0);
    const TaudioTagSortOrder order = genres.empty() ? tsoAscending : genres.front()->SortOrder();
    for (TaudioTagGenre* genre : genres) {
        const auto made = madeNumber_.find(genre);
        if (made != madeNumber_.end() && genre->SortOrder() == order &&
            static_cast<std::size_t>(genre->GetCount()) == count[made->second] && count[made->second] > 1)
            takes[made->second] = 1;
    }
    std::erase_if(filed, [&takes](const Filed& f) { return !takes[f.genre]; });
    if (filed.empty())
        return sorted;
    const std::vector<Filed>& taking = filed;
    std::vector<std::string_view> titles;
    titles.reserve(taking.size());
    for (const Filed& f : taking)
        titles.push_back(f.song->Title());
    // Equal titles keep their filing order, which is each genre's own order: placed by counting on the
    // ranks, in one stable pass over all the genres' songs.
    const std::vector<std::uint32_t> ranks = platform::TextOrderRanks(titles);
    std::vector<std::string_view>().swap(titles);
    const std::vector<std::uint32_t> place = StableRankOrder(ranks, order != tsoDescending);
    for (std::size_t g = 0; g < sorted.size(); ++g)
        if (takes[g])
            sorted[g].reserve(count[g]);
    for (const std::uint32_t i : place)
        sorted[taking[i].genre].push_back(taking[i].song);
    return sorted;
}
