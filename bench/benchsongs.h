#pragma once

// Pieces the benchmarks build their generated libraries from.

#include "core/songs/audiotaglist.h"

#include <memory>
#include <random>
#include <string>

// A word of random lower-case letters.
inline std::string RandomWord(std::mt19937& random, int length)
{
    std::string word;
    for (int i = 0; i < length; ++i)
        word += static_cast<char>('a' + random() % 26);
    return word;
}

// Fills list, which then owns them, with count songs; fill(song, i) sets the properties of the i-th.
template <class Fill>
void FillSongs(TaudioTagList& list, int count, Fill fill)
{
    list.SetOwnsObjects(true);
    list.BeginUpdate();
    for (int i = 0; i < count; ++i) {
        auto song = std::make_unique<TaudioTag>();
        fill(*song, i);
        list.Add(song.release());
    }
    list.EndUpdate();
}
