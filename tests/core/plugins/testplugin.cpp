// A tag-reader plug-in for the host's tests, built several times with different switches:
//   TP_NAME, TP_FILETYPES, TP_VERSION, TP_LEVEL, TP_EXTS (extensions separated by ",")
//   TP_UNTERMINATED   GetExt fills the whole buffer without a terminator
//   TP_SETTINGS       keeps a key of its own ("PluginKey") in the settings file
//   TP_HUGE           claims a million extensions and answers with texts far longer than a host takes
// Reads fail for file names containing "bad". Test hooks are exported with a Test prefix.
#include "core/plugins/taggerrecord.h"

#ifdef TP_SETTINGS
#include "platform/inifile.h"
#endif

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#define TP_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::vector<std::string> extensions;

// Cleared when the library's static objects are destroyed: a host that calls in after that is caught.
int alive = 1;
struct Liveness
{
    ~Liveness() { alive = 0; }
} liveness;

std::string artist, title, album, comment, date, genre, pluginKey, lastLoadFile;
int initialiseCount = 0, configureCount = 0, readCount = 0, loadCount = 0, saveCount = 0;
TtaggerHandle lastConfigureParent = 0;

#define TP_TEXT_FIELD(fn, value)                                                                             \
    const char* fn(const char* newValue)                                                                     \
    {                                                                                                        \
        if (newValue)                                                                                        \
            value = newValue;                                                                                \
        return value.c_str();                                                                                \
    }
TP_TEXT_FIELD(Artist, artist)
TP_TEXT_FIELD(Title, title)
TP_TEXT_FIELD(Album, album)
TP_TEXT_FIELD(Comment, comment)
TP_TEXT_FIELD(Date, date)
TP_TEXT_FIELD(Genre, genre)

TtaggerRecord record;

int32_t Initialise(TtaggerHandle host, TtaggerHandle plugin)
{
    ++initialiseCount;
    record.HostHandle = host;
    record.PluginHandle = plugin;
    return 1;
}

int32_t Configure(TtaggerHandle parent)
{
    ++configureCount;
    lastConfigureParent = parent;
    return 1;
}

uint8_t ReadFile(const char* fileName)
{
    ++readCount;
    if (std::strstr(fileName, "bad"))
        return 0;
    artist = record.Name;
    title = fileName;
    album = "Album";
    date = "1999";
    genre = "Rock";
    record.TrackNo = 7;
    record.GenreID = 17;
    record.Duration = 61;
#ifdef TP_HUGE
    // Multi-byte characters across the host's 4096-byte limit: the first cuts after one byte of "é",
    // the second after two bytes of "€".
    artist = std::string(4095, 'a') + "\xC3\xA9" + std::string(1 << 16, 'a');
    title = std::string(4094, 't') + "\xE2\x82\xAC" + std::string(1 << 16, 't');
    album = std::string(1 << 20, 'b');
    comment = std::string(4096, 'c');
#endif
    return 1;
}

#ifdef TP_HUGE
std::string tagType(1 << 20, 'T');
std::string fileTypes(1 << 20, 'F');

const char* TagType()
{
    return tagType.c_str();
}
#endif

void LoadSettings(const char* fileName)
{
    ++loadCount;
    lastLoadFile = fileName;
#ifdef TP_SETTINGS
    pluginKey = TIniFile(fileName).ReadString(record.Name, "PluginKey", "unset");
#endif
}

void SaveSettings(const char* fileName)
{
    ++saveCount;
#ifdef TP_SETTINGS
    TIniFile ini(fileName);
    ini.WriteString(record.Name, "PluginKey", pluginKey);
    ini.WriteInteger(record.Name, "Alive", alive);
    ini.UpdateFile();
#else
    (void)fileName;
#endif
}

int32_t ExtCount()
{
#ifdef TP_HUGE
    return 1000000;
#else
    return static_cast<int32_t>(extensions.size());
#endif
}

void GetExt(int32_t index, char* buffer)
{
#if defined(TP_HUGE)
    std::snprintf(buffer, ORVANE_TAGGER_BUFFER_SIZE, "e%d", static_cast<int>(index));
#elif defined(TP_UNTERMINATED)
    (void)index;
    std::memset(buffer, 'x', ORVANE_TAGGER_BUFFER_SIZE);
#else
    std::strcpy(buffer, extensions.at(static_cast<std::size_t>(index)).c_str());
#endif
}

} // namespace

TP_EXPORT TtaggerRecord* GetTagger(void)
{
    extensions.clear();
    for (const char* p = TP_EXTS; *p;) {
        const char* end = std::strchr(p, ',');
        if (!end)
            end = p + std::strlen(p);
        extensions.emplace_back(p, end);
        p = *end ? end + 1 : end;
    }
    record.Name = TP_NAME;
    record.FileTypes = TP_FILETYPES;
    record.Version = TP_VERSION;
    record.SupportLevel = TP_LEVEL;
    record.Artist = Artist;
    record.Title = Title;
    record.Album = Album;
    record.Comment = Comment;
    record.Date = Date;
    record.GenreID = 255;
    record.GenreString = Genre;
    record.Configure = Configure;
    record.Initialise = Initialise;
    record.ReadFile = ReadFile;
    record.LoadSettings = LoadSettings;
    record.SaveSettings = SaveSettings;
    record.ExtCount = ExtCount;
    record.GetExt = GetExt;
#ifdef TP_HUGE
    record.FileTypes = fileTypes.c_str();
    record.TagType = TagType;
#endif
    return &record;
}

TP_EXPORT int TestInitialiseCount(void)
{
    return initialiseCount;
}
TP_EXPORT int TestConfigureCount(void)
{
    return configureCount;
}
TP_EXPORT TtaggerHandle TestLastConfigureParent(void)
{
    return lastConfigureParent;
}
TP_EXPORT int TestReadCount(void)
{
    return readCount;
}
TP_EXPORT int TestLoadCount(void)
{
    return loadCount;
}
TP_EXPORT int TestSaveCount(void)
{
    return saveCount;
}
TP_EXPORT const char* TestLastLoadFile(void)
{
    return lastLoadFile.c_str();
}
TP_EXPORT const char* TestPluginKey(void)
{
    return pluginKey.c_str();
}
TP_EXPORT void TestSetPluginKey(const char* value)
{
    pluginKey = value;
}
