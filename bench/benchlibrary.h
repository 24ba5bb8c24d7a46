#pragma once

// The generated library the library-wide benchmarks share.

#include "core/jukebox/localjukeboxlist.h"
#include "core/songs/audiotag.h"
#include "core/songs/audiotaglist.h"

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

// A library shaped like a real one: 8,000 albums of 12 or 13 songs by 5,000 artists (a tenth of them
// "The ..."), one album in thirty a compilation, 30 genres, a few untagged songs. Scanned folder by folder,
// so an album's songs follow each other; shuffled, every song goes somewhere else than the one before.
inline std::vector<std::unique_ptr<TaudioTag>> GenerateLibrary(int count, bool shuffled = false)
{
    std::mt19937 random(7);
    const auto word = [&](int len) {
        std::string w(1, static_cast<char>('A' + random() % 26));
        for (int i = 1; i < len; ++i)
            w += static_cast<char>('a' + random() % 26);
        return w;
    };
    std::vector<std::string> artists(5000);
    for (std::size_t i = 0; i < artists.size(); ++i)
        artists[i] = (i % 10 == 0 ? "The " : "") + word(5) + " " + word(7);
    std::vector<std::string> genres(30);
    for (std::string& g : genres)
        g = word(6);
    const int albums = count / 12 > 0 ? count / 12 : 1;
    std::vector<std::unique_ptr<TaudioTag>> songs;
    songs.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int album = i % albums;
        auto s = std::make_unique<TaudioTag>();
        const std::string& artist = artists[static_cast<std::size_t>(album) % artists.size()];
        const bool compilation = album % 30 == 0;
        const bool untagged = i % 500 == 0;
        s->SetArtist(untagged ? "" : compilation ? artists[random() % artists.size()] : artist);
        s->SetAlbum(untagged ? "" : "Album " + std::to_string(album % 6000)); // some titles in two folders
        s->SetTitle(untagged ? "" : word(5) + " " + word(7));
        s->SetFilename("/home/user/Music/" + artist + "/" + std::to_string(album) + "/" + std::to_string(i) +
                       ".mp3");
        s->SetTrackNo(static_cast<std::uint32_t>(i / albums + 1));
        s->SetGenreString(i % 200 == 0 ? "" : genres[static_cast<std::size_t>(album) % genres.size()]);
        s->SetDuration(static_cast<std::uint32_t>(120 + i % 400));
        songs.push_back(std::move(s));
    }
    if (!shuffled) // in the order of a folder scan
        std::sort(songs.begin(), songs.end(),
                  [](const auto& a, const auto& b) { return a->CompareFilename(*b) < 0; });
    else
        std::shuffle(songs.begin(), songs.end(), random);
    return songs;
}

// Saves the generated library as the program's jukebox.dat in dataFolder.
inline void SaveGeneratedLibrary(const std::string& dataFolder, int count, bool shuffled = false)
{
    TlocalJukeboxList library;
    library.SetDataFolder(dataFolder);
    TaudioTagList& global = library.GlobalList();
    global.BeginUpdate();
    for (auto& song : GenerateLibrary(count, shuffled))
        global.Add(song.release());
    global.EndUpdate();
    library.SaveGlobal();
}
