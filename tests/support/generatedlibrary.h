#pragma once

#include "core/jukebox/customjukeboxlist.h"

// How a generated library is made up.
struct TlibraryShape
{
    int Songs = 1000;
    int Artists = 40;
    int Albums = 100;
    int Genres = 12;
    // Every n-th album holds songs of several artists (0: none).
    int CompilationEvery = 20;
    // Every n-th song has no artist (0: none).
    int UntaggedEvery = 250;
    // Every n-th album has no genre text (0: none).
    int NoGenreEvery = 9;
};

// A library without a playing jukebox, filled with made-up songs: artists starting with every letter and
// digit, some with "The" and some with other first characters, albums in folders of their own, a few
// compilations and untagged songs, genres with a few albums left without one. The same shape and seed give
// the same library.
class TgeneratedLibrary : public TcustomJukeboxList
{
public:
    TgeneratedLibrary() = default;
    explicit TgeneratedLibrary(const TlibraryShape& shape, unsigned seed = 1) { Generate(shape, seed); }

    // Replaces the global list by generated songs; the groupings are rebuilt once.
    void Generate(const TlibraryShape& shape, unsigned seed = 1);
    // Adds a saved playlist of `songs` copies of the first songs of the library.
    TaudioTagList* AddPlaylist(const std::string& title, int songs);

    void JukeboxDestroyed(TcustomJukebox*) override {}

    // The name of generated artist i.
    static std::string ArtistName(int i, unsigned seed = 1);
};
