#pragma once

#include "core/groupings/audiotaglistlist.h"
#include "core/songs/audiotaglist.h"

#include <string>
#include <vector>

// The titles of a list's songs, in list order.
inline std::vector<std::string> SongTitles(const TaudioTagList& list)
{
    std::vector<std::string> out;
    out.reserve(list.Items().size());
    for (const TaudioTag* song : list.Items())
        out.push_back(song->Title());
    return out;
}

// The titles of a set's lists, in the set's order.
inline std::vector<std::string> ListTitles(const TaudioTagListList& set)
{
    std::vector<std::string> out;
    for (int i = 0; i < set.GetCount(); ++i)
        out.push_back(set.GetItem(i)->Title());
    return out;
}
