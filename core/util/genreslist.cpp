#include "core/util/genreslist.h"

#include "platform/textcompare.h"

// clang-format off
const char* const TgenresList::kNames[TgenresList::kGenreCount] = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz", "Metal",
    "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno", "Industrial",
    "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno", "Ambient", "Trip-Hop",
    "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental", "Acid", "House", "Game",
    "Sound Clip", "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk", "Space", "Meditative",
    "Instrumental Pop", "Instrumental Rock", "Ethinic", "Gothic", "Darkwave", "Techno-Industrial",
    "Electronic", "Pop Folk", "Eurodance", "Dream", "Southern Rocky", "Comedy", "Cult", "Gangsta", "Top 40",
    "Christian Rap", "Pop/Funk", "Jungle", "Native American", "Cabaret", "New Wave", "Psychadelic", "Rave",
    "ShowTunes", "Trailer", "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical",
    "Rock & Roll", "Hard Rock", "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob",
    "Latin", "Revival", "Celtic", "Bluegrass", "Avantgarde", "Gothic Rock", "Progressive Rock",
    "Psychadelic Rock", "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic",
    "Humour", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus",
    "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad", "Power Ballad",
    "Rythmic Soul", "Freestyle", "Duet", "Punk Rock", "Drum Solo", "A Capella", "Euro-House", "Dance Hall",
    "Goa", "Drum & Bass", "Club-House", "Harcore", "Terror", "Indie", "Britpop", "Negerpunk", "Polsk Punk",
    "Beat", "Christian Gangsta", "Heavy Metal", "Black Metal", "Crossover", "Contemporary Christian",
    "Christian Rock", "Merengue", "Salsa", "Thrash Metal", "Anime", "Jpop", "Synthpop",
};
// clang-format on

void TgenresList::SetLoaded(bool value)
{
    loaded_ = value;
    if (value)
        Load();
    else
        Clear();
}

void TgenresList::Clear()
{
    names_.Clear();
    rows_.clear();
}

void TgenresList::Load()
{
    Clear();
    names_.SetSorted(true);
    names_.SetDuplicates(TDuplicates::dupIgnore);
    names_.BeginUpdate();
    rows_.reserve(kGenreCount);
    for (int i = 0; i < kGenreCount; ++i) {
        auto row = std::make_unique<Tgenre>(Tgenre{i, platform::UpperCase(kNames[i])});
        names_.AddObject(row->Name, row.get());
        rows_.push_back(std::move(row));
    }
    names_.EndUpdate();
}

const Tgenre* TgenresList::GetGenre(int number) const
{
    if (number < 0 || number >= static_cast<int>(rows_.size()))
        return nullptr;
    return rows_[static_cast<std::size_t>(number)].get();
}

const Tgenre* TgenresList::FindByName(std::string_view name) const
{
    int index = 0;
    if (!names_.Find(platform::UpperCase(name), index))
        return nullptr;
    return names_.Objects(index);
}

std::uint8_t TgenresList::IDOf(std::string_view name) const
{
    const Tgenre* g = FindByName(name);
    return g ? static_cast<std::uint8_t>(g->Number) : kNoGenre;
}

void TgenresList::GetNames(TStringList<const Tgenre>& strings) const
{
    strings.BeginUpdate();
    strings.Clear();
    for (const auto& item : names_)
        strings.AddObject(item.text, item.object);
    strings.EndUpdate();
}

TgenresList& GenresList()
{
    static TgenresList list;
    static const bool loaded = [] {
        list.SetLoaded(true);
        return true;
    }();
    (void)loaded;
    return list;
}
