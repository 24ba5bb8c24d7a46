#include "core/songs/filenameindex.h"

#include "core/songs/audiotag.h"
#include "platform/textcompare.h"

#include <algorithm>
#include <cstdint>

void TfileNameIndex::Rebuild(const std::vector<TaudioTag*>& songs)
{
    // Each name is folded once for the sort (folding per comparison would dominate a large library); the
    // keys live only while sorting.
    struct Keyed
    {
        std::string key;
        std::uint32_t at;
    };
    std::vector<Keyed> keys(songs.size());
    for (std::size_t i = 0; i < songs.size(); ++i) {
        platform::FoldKey(songs[i]->Filename(), keys[i].key);
        keys[i].at = static_cast<std::uint32_t>(i);
    }
    std::sort(keys.begin(), keys.end(), [](const Keyed& a, const Keyed& b) {
        const int c = a.key.compare(b.key);
        return c < 0 || (c == 0 && a.at < b.at);
    });
    std::vector<TaudioTag*> sorted;
    sorted.reserve(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (i == 0 || keys[i].key != keys[i - 1].key)
            sorted.push_back(songs[keys[i].at]);
    sorted.shrink_to_fit();
    songs_.swap(sorted);
}

void TfileNameIndex::Clear()
{
    std::vector<TaudioTag*>().swap(songs_);
}

const std::string& TfileNameIndex::operator[](int i) const
{
    return songs_.at(static_cast<std::size_t>(i))->Filename();
}

TaudioTag* TfileNameIndex::Objects(int i) const
{
    return songs_.at(static_cast<std::size_t>(i));
}

int TfileNameIndex::IndexOf(std::string_view fileName) const
{
    const auto it = std::lower_bound(songs_.begin(), songs_.end(), fileName,
                                     [](const TaudioTag* song, std::string_view name) {
                                         return platform::CompareFolded(song->Filename(), name) < 0;
                                     });
    if (it == songs_.end() || platform::CompareFolded((*it)->Filename(), fileName) != 0)
        return -1;
    return static_cast<int>(it - songs_.begin());
}

TaudioTag* TfileNameIndex::Find(std::string_view fileName) const
{
    const int i = IndexOf(fileName);
    return i < 0 ? nullptr : songs_[static_cast<std::size_t>(i)];
}
