#include "generatedlibrary.h"

#include <array>
#include <memory>
#include <random>

namespace {

constexpr std::array<const char*, 24> kSyllables = {"ka",  "lo", "mi",  "ra", "ven", "to",  "sa", "ne",
                                                    "dor", "li", "ba",  "ru", "el",  "mon", "ta", "si",
                                                    "ko",  "ar", "wen", "de", "qui", "zo",  "pa", "fi"};
constexpr std::array<const char*, 16> kGenres = {
    "Rock", "Jazz",      "Blues",   "Pop",  "Funk",  "Soul",   "Reggae",  "Metal",
    "Punk", "Classical", "Country", "Folk", "House", "Techno", "Ambient", "Latin"};

std::string Word(std::mt19937& random, int syllables)
{
    std::string w;
    for (int i = 0; i < syllables; ++i)
        w += kSyllables[random() % kSyllables.size()];
    w[0] = static_cast<char>(w[0] - 'a' + 'A');
    return w;
}

} // namespace

std::string TgeneratedLibrary::ArtistName(int i, unsigned seed)
{
    std::mt19937 random(seed * 7919u + static_cast<unsigned>(i));
    const std::string rest = Word(random, 2) + " " + Word(random, 2);
    // Spread the first characters over every index root: letters, digits, "The ...", others.
    switch (const int slot = i % 40; slot) {
    case 36:
    case 37:
        return "The " + rest;
    case 38:
        return "\xC3\x9C"
               "ber " +
               rest; // "Über": an accented first letter
    case 39:
        return "!" + rest;
    default:
        if (slot < 26)
            return std::string(1, static_cast<char>('A' + slot)) + rest.substr(1);
        return std::to_string(slot - 26) + " " + rest;
    }
}

void TgeneratedLibrary::Generate(const TlibraryShape& shape, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::string> artists;
    artists.reserve(static_cast<std::size_t>(shape.Artists));
    for (int i = 0; i < shape.Artists; ++i)
        artists.push_back(ArtistName(i, seed));
    std::vector<std::string> albums;
    albums.reserve(static_cast<std::size_t>(shape.Albums));
    for (int i = 0; i < shape.Albums; ++i)
        albums.push_back(Word(random, 2) + " " + Word(random, 3));

    TaudioTagList& global = GlobalList();
    global.BeginUpdate();
    global.Clear();
    const int albumCount = std::max(shape.Albums, 1);
    for (int i = 0; i < shape.Songs; ++i) {
        // Songs go round the albums, so every album gets its share and its tracks in order.
        const int album = i % albumCount;
        const int track = i / albumCount + 1;
        const bool compilation = shape.CompilationEvery > 0 && album % shape.CompilationEvery == 1;
        const int artist = shape.Artists > 0 ? (compilation ? (album + track) : album) % shape.Artists : 0;
        auto song = std::make_unique<TaudioTag>();
        const bool untagged = shape.UntaggedEvery > 0 && i % shape.UntaggedEvery == shape.UntaggedEvery - 1;
        const std::string artistName =
            artists.empty() ? std::string() : artists[static_cast<std::size_t>(artist)];
        const std::string albumName =
            albums.empty() ? std::string() : albums[static_cast<std::size_t>(album)];
        const std::string folder = "/music/" + (compilation ? std::string("Various") : artistName) + "/" +
                                   albumName + " " + std::to_string(album);
        std::string title = Word(random, 1 + static_cast<int>(random() % 3)) + " " + Word(random, 2);
        song->SetFilename(folder + "/" + std::to_string(track) + " " + title + ".mp3");
        if (!untagged) {
            song->SetArtist(artistName);
            song->SetTitle(std::move(title));
            song->SetAlbum(albumName);
            song->SetTrackNo(static_cast<std::uint32_t>(track));
            if (shape.Genres > 0 && !(shape.NoGenreEvery > 0 && album % shape.NoGenreEvery == 0))
                song->SetGenreString(
                    kGenres[static_cast<std::size_t>(album % shape.Genres) % kGenres.size()]);
        }
        song->SetDuration(static_cast<std::uint32_t>(120 + random() % 300));
        song->SetBitRate(192);
        song->SetSampleRate(44100);
        song->SetChannels(2);
        global.Add(song.release());
    }
    global.EndUpdate();
}

TaudioTagList* TgeneratedLibrary::AddPlaylist(const std::string& title, int songs)
{
    auto list = std::make_unique<TaudioTagList>();
    list->SetTitle(title);
    for (int i = 0; i < songs && i < GlobalList().Count(); ++i)
        list->AddCopy(GlobalList().GetItem(i));
    TaudioTagList* raw = list.get();
    Playlists().Add(list.release());
    return raw;
}
