#include "audiotaggenrelist.h"

#include "platform/textcompare.h"

#include <algorithm>
#include <unordered_set>

namespace {

std::string FileNameOf(const std::string& fileName)
{
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

} // namespace

void TaudioTagGenreList::AddTag(TaudioTag* tag)
{
    if (!tag)
        return;
    static const std::string undefined = kUndefinedGenre;
    const std::string* name = &tag->GenreString();
    if (name->empty()) {
        name = &undefined;
        if (tag->Title().empty())
            tag->SetTitle(FileNameOf(tag->Filename()));
    }
    if (TaudioTagGenre* genre = FindGenre(*name)) {
        genre->Add(tag);
        return;
    }
    auto genre = std::make_unique<TaudioTagGenre>();
    genre->SetUseArtists(true);
    genre->SetUseAlbums(true);
    genre->SetGenre(*name);
    genre->BeginUpdate(); // closed by DoChange
    genre->Add(tag);
    AddCreated(std::move(genre));
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

void TaudioTagGenreList::Clear()
{
    genreIndex_.clear();
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

    struct Keyed
    {
        std::string key;
        IndexEntry entry;
    };
    std::vector<Keyed> index;
    std::unordered_set<std::string> seen;
    for (TaudioTagGenre* genre : genres) {
        genre->EndUpdate();
        std::string key = platform::FoldKey(genre->Genre());
        if (seen.insert(key).second)
            index.push_back(Keyed{std::move(key), IndexEntry{genre->Genre(), genre}});
        genre->SortBy(tstTitle);
    }
    std::stable_sort(index.begin(), index.end(),
                     [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    genreIndex_.reserve(index.size());
    for (Keyed& k : index)
        genreIndex_.push_back(std::move(k.entry));

    for (TaudioTagGenre* genre : genres) {
        genre->Artists().AssignAlbums(genre->Albums());
        genre->Artists().BuildIndex();
    }
    TaudioTagListList::DoChange();
}
