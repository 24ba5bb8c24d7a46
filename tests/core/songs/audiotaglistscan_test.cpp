// Folder scans end to end: real WAV files in a folder tree, read by the program's WAV plug-in through the
// program's host, with the per-folder caches on disk.
#include "core/plugins/taggerloader.h"
#include "core/songs/audiotaglist.h"
#include "core/songs/filenameindex.h"
#include "core/util/orvanexutils.h"
#include "support/wavbytes.h"
#include "testpluginfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using wavbytes::MakeWav;
using wavbytes::WavLayout;

namespace fs = std::filesystem;

namespace {

std::string PelmoraFile()
{
    if (const char* bin = std::getenv("ORVANE_BIN_DIR")) {
        const std::string file = std::string(bin) + "/TagPlugins/TAG_Pelmora.so";
        if (fs::exists(file))
            return file;
    }
    return PELMORA_FILE;
}

// PCM of the given length.
std::string Wav(std::uint32_t seconds, std::uint16_t channels = 2, std::uint32_t rate = 44100,
                std::uint16_t bits = 16)
{
    WavLayout layout;
    layout.channels = channels;
    layout.sampleRate = rate;
    layout.bitsPerSample = bits;
    layout.dataBytes = seconds * rate * channels * (bits / 8);
    return MakeWav(layout);
}

// A compressed-style file whose length comes from its "fact" sample count.
std::string FactWav(std::uint32_t samples, std::uint32_t rate)
{
    WavLayout layout;
    layout.formatTag = 2;
    layout.channels = 1;
    layout.sampleRate = rate;
    layout.bitsPerSample = 4;
    layout.bytesPerSecond = 4096;
    layout.fmtExtra = 2;
    layout.factCount = samples;
    layout.dataBytes = 1000;
    return MakeWav(layout);
}

const std::int64_t kNow = std::time(nullptr);

void SetTime(const std::string& path, std::int64_t unixSeconds)
{
    const timespec times[2] = {{unixSeconds, 0}, {unixSeconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

timespec ModTime(const std::string& path)
{
    struct stat st
    {
    };
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mtim;
}

// Every file of the tree below root whose name ends in ".wav" gets an hour-old time.
void AgeWavFiles(const std::string& root)
{
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file() && e.path().extension() == ".wav")
            SetTime(e.path().string(), kNow - 3600);
}

// The plug-in host serving *.wav through the program's own plug-in; released at the end.
class ScanTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plugins_.AddFile(PelmoraFile(), "TAG_Pelmora.so");
        TaggerLoader().SetSupportLevel(2);
        TaggerLoader().SetPluginFolder(plugins_.Path());
        ASSERT_EQ(TaggerLoader().GetCount(), 1);
        root = dir.File("Library");
        fs::create_directories(root);
    }
    void TearDown() override { ReleaseTaggerLoader(); }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        return dir.Write("Library/" + name, bytes);
    }
    std::string Path(const std::string& name) const { return root + "/" + name; }

    // file name below root -> the facts a scan gave its song.
    std::map<std::string, std::string> Songs(const TaudioTagList& list) const
    {
        std::map<std::string, std::string> out;
        for (const TaudioTag* s : list.Items()) {
            std::string name = s->Filename();
            if (name.rfind(root + "/", 0) == 0)
                name = name.substr(root.size() + 1);
            EXPECT_FALSE(out.count(name)) << "twice: " << name;
            out[name] = s->Title() + "|" + s->Album() + "|" + s->Artist() + "|" +
                        std::to_string(s->Duration()) + "|" + std::to_string(s->SampleRate()) + "|" +
                        std::to_string(s->Channels()) + "|" + s->TagType();
        }
        return out;
    }
    std::map<std::string, std::string> CacheSongs(const std::string& cacheFile) const
    {
        TaudioTagList cache;
        cache.SetOwnsObjects(true);
        EXPECT_TRUE(cache.LoadFromFile(cacheFile, false)) << cacheFile;
        return Songs(cache);
    }

    TempDir dir;
    std::string root;

private:
    TestPluginFolder plugins_;
};

// The tree most tests scan: two bands with an album each, a loose file and things that are no songs.
class TreeTest : public ScanTest
{
protected:
    void SetUp() override
    {
        ScanTest::SetUp();
        Write("Band A/Album One/Intro.wav", Wav(10));
        Write("Band A/Album One/Song.wav", Wav(5, 1, 22050, 8));
        Write("Band A/Album One/Long.wav", FactWav(24000, 8000));
        Write("Band A/Album One/.hidden.wav", Wav(3));
        Write("Band B/Second/04 - Six Channels.wav", Wav(2, 6));
        Write("Band B/Second/Short.wav", Wav(2).substr(0, 30));
        Write("Band B/Second/notes.txt", "not a song");
        Write(".secret/Album/Hidden.wav", Wav(4));
        Write("Loose.wav", Wav(61, 2, 48000));
    }

    const std::map<std::string, std::string> firstScan = {
        {"Band A/Album One/Intro.wav", "Intro|Album One|Band A|10|44100|2|WAV"},
        {"Band A/Album One/Song.wav", "Song|Album One|Band A|5|22050|1|WAV"},
        {"Band A/Album One/Long.wav", "Long|Album One|Band A|3|8000|1|WAV"},
        // The plug-in reads the header but not the song; the list's own mask names it.
        {"Band B/Second/04 - Six Channels.wav", "Six Channels|Second|Band B|0|0|0|none"},
        {"Loose.wav", "Loose|Library|" + fs::path(dir.Path()).filename().string() + "|61|48000|2|WAV"},
    };
};

TEST_F(TreeTest, ScansTheTreeAndWritesAndReusesTheCaches)
{
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetSaveDataFiles(true);
    list.SetUseAudioFileMask(true);
    list.SetAudioFileMask("%n - %t");
    list.ScanTree(root, false, nullptr);
    EXPECT_EQ(Songs(list), firstScan);
    const TaudioTag* six = nullptr;
    for (const TaudioTag* s : list.Items())
        if (s->Title() == "Six Channels")
            six = s;
    ASSERT_NE(six, nullptr);
    EXPECT_EQ(six->TrackNo(), 4u);

    // One cache per folder that gave songs, holding that folder's songs as the plug-in read them.
    const std::string albumCache = Path("Band A/Album One/orvane.obf");
    EXPECT_EQ(CacheSongs(albumCache),
              (std::map<std::string, std::string>{
                  {"Band A/Album One/Intro.wav", "Intro|Album One|Band A|10|44100|2|WAV"},
                  {"Band A/Album One/Song.wav", "Song|Album One|Band A|5|22050|1|WAV"},
                  {"Band A/Album One/Long.wav", "Long|Album One|Band A|3|8000|1|WAV"}}));
    EXPECT_EQ(CacheSongs(Path("Band B/Second/orvane.obf")),
              (std::map<std::string, std::string>{{"Band B/Second/04 - Six Channels.wav", "|||0|0|0|none"}}));
    EXPECT_EQ(CacheSongs(Path("orvane.obf")).size(), 1u);
    EXPECT_FALSE(fs::exists(Path("Band A/orvane.obf")));
    EXPECT_FALSE(fs::exists(Path(".secret/Album/orvane.obf")));
    // A song-list file of a scratch list: empty title, inactive, loop, no file name, then the songs.
    const std::string bytes = TempDir::Read(albumCache);
    EXPECT_EQ(bytes.substr(0, 22), std::string("OATL\0\0\0\0\0\x02\0\0\0\0\x03\0\0\0TPF0", 22));
    std::uint32_t files = 0;
    EXPECT_TRUE(list.IsCacheCurrent(albumCache, files));
    EXPECT_EQ(files, 4u); // three songs and the cache; the hidden file is not counted

    // Every WAV file turns to rubbish, with times older than the caches: a rescan that opened any of
    // them would lose or change its song.
    for (const auto& [name, facts] : firstScan)
        Write(name, "RIFF rubbish");
    AgeWavFiles(root);
    TaudioTagList again;
    again.SetOwnsObjects(true);
    again.SetSaveDataFiles(true);
    again.SetUseAudioFileMask(true);
    again.SetAudioFileMask("%n - %t");
    again.ScanTree(root, false, nullptr);
    EXPECT_EQ(Songs(again), firstScan);
    EXPECT_EQ(TempDir::Read(albumCache), bytes);

    // Without SaveDataFiles the caches are neither read nor written.
    TaudioTagList plain;
    plain.SetOwnsObjects(true);
    plain.ScanTree(root, false, nullptr);
    EXPECT_TRUE(plain.Items().empty());
    EXPECT_EQ(TempDir::Read(albumCache), bytes);

    // One file changes after its folder's cache: that folder is read file by file (its rubbish files
    // drop out) and its cache rewritten; the other folders still come from their caches.
    Write("Band A/Album One/Intro.wav", Wav(20));
    SetTime(albumCache, kNow - 1800);
    EXPECT_FALSE(list.IsCacheCurrent(albumCache, files));
    list.ScanTree(root, false, nullptr);
    std::map<std::string, std::string> expected = firstScan;
    expected.erase("Band A/Album One/Song.wav");
    expected.erase("Band A/Album One/Long.wav");
    expected["Band A/Album One/Intro.wav"] = "Intro|Album One|Band A|20|44100|2|WAV";
    EXPECT_EQ(Songs(list), expected);
    EXPECT_EQ(CacheSongs(albumCache),
              (std::map<std::string, std::string>{
                  {"Band A/Album One/Intro.wav", "Intro|Album One|Band A|20|44100|2|WAV"}}));
    EXPECT_TRUE(list.IsCacheCurrent(albumCache, files));

    // Force reads a current folder file by file; finding nothing, it leaves the cache alone.
    const std::string secondCache = Path("Band B/Second/orvane.obf");
    const std::string secondBytes = TempDir::Read(secondCache);
    list.ScanFolder(Path("Band B/Second"), false, nullptr, true);
    EXPECT_TRUE(list.Items().empty());
    EXPECT_EQ(TempDir::Read(secondCache), secondBytes);
    list.ScanFolder(Path("Band B/Second"), false, nullptr, false);
    EXPECT_EQ(list.Count(), 1);
}

TEST_F(TreeTest, ProgressEventsComeInTheirOrder)
{
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetSaveDataFiles(true);
    std::vector<std::string> events;
    const auto title = [](const TaudioTag* t) { return t ? t->Title() : std::string("nil"); };
    list.OnListProcessStart = [&](TaudioTagList* s, const std::string& text) {
        events.push_back((s == &list ? "start " : "other start ") + text);
    };
    list.OnDirProcess = [&](TaudioTagList* s, const std::string& d) {
        EXPECT_EQ(s, &list);
        events.push_back("dir " + d);
    };
    list.OnListProcess = [&](TaudioTagList* s, std::uint32_t i, std::uint32_t n, TaudioTag* t) {
        events.push_back((s == &list ? "step " : "cache step ") + std::to_string(i) + "/" +
                         std::to_string(n) + " " + title(t));
    };
    list.OnTagFound = [&](TaudioTagList*, bool modified, TaudioTag* t) {
        events.push_back((modified ? "modified " : "new ") + title(t));
    };
    list.OnChange = [&](TaudioTagList*) { events.push_back("change"); };
    list.OnListProcessFinished = [&](TaudioTagList* s) {
        EXPECT_EQ(s, &list);
        events.push_back("finished");
    };

    // Read file by file: each entry counted against the folder's total, a new song reported after its step.
    const std::string second = Path("Band B/Second");
    list.ScanFolder(second, false, nullptr, false);
    ASSERT_EQ(events.size(), 2u + 3u + 1u + 2u);
    EXPECT_EQ(events[0], "start Scanning Folder...");
    EXPECT_EQ(events[1], "dir " + second);
    std::set<std::string> steps;
    std::size_t i = 2;
    for (int k = 1; k <= 3; ++k, ++i) {
        const std::string step = "step " + std::to_string(k) + "/3 ";
        ASSERT_EQ(events[i].rfind(step, 0), 0u) << events[i];
        steps.insert(events[i].substr(step.size()));
        if (events[i] == step) { // the one song, with no title of its own
            EXPECT_EQ(events[++i], "new ");
        }
    }
    EXPECT_EQ(i, 6u);
    EXPECT_EQ(steps, (std::set<std::string>{"", "nil"})); // the song; the short file and the text file
    EXPECT_EQ(events[6], "change");
    EXPECT_EQ(events[7], "finished");

    // From the cache: the scratch list reports its load through the shared handler, from 0, and nothing else.
    events.clear();
    list.SetListProcessFactor(2);
    list.ScanFolder(second, false, nullptr, false);
    EXPECT_EQ(events, (std::vector<std::string>{"start Scanning Folder...", "dir " + second,
                                                "cache step 0/1 ", "change", "finished"}));

    // A tree: folders depth-first, each folder's own files first, one change after the last folder's end; the
    // list's factor thins its own steps (count 2 of 4 here), a cache load reports all.
    events.clear();
    list.ScanTree(root, false, nullptr);
    std::vector<std::string> dirs;
    int starts = 0, finishes = 0, changes = 0;
    for (const std::string& e : events) {
        if (e.rfind("dir ", 0) == 0)
            dirs.push_back(e.substr(4 + root.size()));
        starts += e.rfind("start ", 0) == 0;
        finishes += e == "finished";
        changes += e == "change";
        EXPECT_EQ(e.find("step 1/"), std::string::npos) << e;
    }
    EXPECT_EQ(dirs.front(), "");
    EXPECT_EQ(dirs.size(), 5u);
    const auto pos = [&](const std::string& d) {
        return std::find(dirs.begin(), dirs.end(), d) - dirs.begin();
    };
    EXPECT_EQ(pos("/Band A/Album One"), pos("/Band A") + 1);
    EXPECT_EQ(pos("/Band B/Second"), pos("/Band B") + 1);
    EXPECT_EQ(starts, 5);
    EXPECT_EQ(finishes, 5);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(events[events.size() - 2], "finished");
    EXPECT_EQ(events.back(), "change");
    EXPECT_EQ(list.Count(), 5);
}

TEST_F(TreeTest, AnIndexRefreshesKnownSongsInPlaceAndAddsOnlyNewOnes)
{
    TaudioTagList library;
    library.SetOwnsObjects(true);
    library.ScanTree(root, false, nullptr);
    ASSERT_EQ(library.Count(), 5);
    TfileNameIndex index;
    index.Rebuild(library.Items());
    std::map<std::string, TaudioTag*> byName;
    for (TaudioTag* s : library.Items())
        byName[s->Title()] = s;

    // Song.wav changes and gets a new time; Intro.wav turns to rubbish but keeps its time (so it is not
    // read again); New.wav appears.
    const std::string intro = Path("Band A/Album One/Intro.wav");
    const timespec introTime = ModTime(intro);
    Write("Band A/Album One/Intro.wav", "rubbish");
    const timespec times[2] = {introTime, introTime};
    ASSERT_EQ(::utimensat(AT_FDCWD, intro.c_str(), times, 0), 0);
    Write("Band A/Album One/Song.wav", Wav(7));
    SetTime(Path("Band A/Album One/Song.wav"), kNow + 60);
    Write("Band A/Album One/New.wav", Wav(9));

    TaudioTagList search;
    search.SetOwnsObjects(true);
    search.SetSaveDataFiles(true);
    std::vector<std::pair<bool, TaudioTag*>> found;
    search.OnTagFound = [&](TaudioTagList*, bool modified, TaudioTag* t) { found.emplace_back(modified, t); };
    TStrings folders;
    folders.Add(root);
    search.ScanFolderList(folders, false, &index);

    EXPECT_EQ(Songs(search), (std::map<std::string, std::string>{
                                 {"Band A/Album One/New.wav", "New|Album One|Band A|9|44100|2|WAV"}}));
    ASSERT_EQ(found.size(), 2u);
    const auto modified = std::find_if(found.begin(), found.end(), [](const auto& f) { return f.first; });
    ASSERT_NE(modified, found.end());
    EXPECT_EQ(modified->second, byName["Song"]); // the library's own song, refreshed in place
    EXPECT_EQ(byName["Song"]->Duration(), 7u);
    EXPECT_EQ(byName["Song"]->ModDate(), GetFileDateTime(Path("Band A/Album One/Song.wav")));
    EXPECT_EQ(byName["Intro"]->Duration(), 10u);
    EXPECT_EQ(library.Count(), 5);
    // The caches hold every song of their folder, known or new, as the scan left it.
    const std::map<std::string, std::string> albumCache = CacheSongs(Path("Band A/Album One/orvane.obf"));
    EXPECT_EQ(albumCache.size(), 4u);
    EXPECT_EQ(albumCache.at("Band A/Album One/Song.wav"), "Song|Album One|Band A|7|44100|2|WAV");
    EXPECT_EQ(albumCache.at("Band A/Album One/Intro.wav"), "Intro|Album One|Band A|10|44100|2|WAV");
    EXPECT_EQ(CacheSongs(Path("Band B/Second/orvane.obf")).size(), 1u);
}

TEST_F(TreeTest, KnownSongsStayKnownWhicheverWayTheScanGoes)
{
    TaudioTagList library;
    library.SetOwnsObjects(true);
    library.SetSaveDataFiles(true);
    library.ScanTree(root, false, nullptr);
    ASSERT_EQ(library.Count(), 5);
    TfileNameIndex index;
    index.Rebuild(library.Items());
    const std::string albumCache = Path("Band A/Album One/orvane.obf");
    const std::string secondCache = Path("Band B/Second/orvane.obf");
    AgeWavFiles(root);
    SetTime(Path("Band B/Second/notes.txt"), kNow - 3600);
    for (const std::string& cache : {albumCache, secondCache, Path("orvane.obf")})
        SetTime(cache, kNow - 1800);
    for (TaudioTag* s : library.Items())
        s->SetModDate(GetFileDateTime(s->Filename()));

    const auto rescan = [&](std::vector<std::pair<bool, std::string>>& found) {
        TaudioTagList search;
        search.SetOwnsObjects(true);
        search.SetSaveDataFiles(true);
        search.OnTagFound = [&](TaudioTagList*, bool modified, TaudioTag* t) {
            found.emplace_back(modified, t->Title());
        };
        TStrings folders;
        folders.Add(root);
        search.ScanFolderList(folders, false, &index);
        return search.Count();
    };

    // Every cache current: nothing comes back as new, nothing is read, no cache is written.
    const std::string secondBytes = TempDir::Read(secondCache);
    std::vector<std::pair<bool, std::string>> found;
    EXPECT_EQ(rescan(found), 0);
    EXPECT_TRUE(found.empty());
    EXPECT_EQ(TempDir::Read(secondCache), secondBytes);

    // One file touched: its folder is read file by file, only the touched song is read again, and the
    // folder's cache is rewritten with all its songs, current again.
    Write("Band A/Album One/Song.wav", Wav(8, 1, 22050, 8));
    SetTime(Path("Band A/Album One/Song.wav"), kNow - 600);
    found.clear();
    EXPECT_EQ(rescan(found), 0);
    EXPECT_EQ(found, (std::vector<std::pair<bool, std::string>>{{true, "Song"}}));
    std::uint32_t files = 0;
    EXPECT_TRUE(library.IsCacheCurrent(albumCache, files));
    EXPECT_EQ(CacheSongs(albumCache).at("Band A/Album One/Song.wav"), "Song|Album One|Band A|8|22050|1|WAV");
    EXPECT_EQ(CacheSongs(albumCache).size(), 3u);

    // A known song whose file time differs from the one the library holds is read again from a current
    // cache's folder as well, and the cache takes the song as read.
    TaudioTag* intro = index.Objects(index.IndexOf(Path("Band A/Album One/Intro.wav")));
    intro->SetModDate(1.0);
    intro->SetTitle("Stale");
    found.clear();
    EXPECT_EQ(rescan(found), 0);
    EXPECT_EQ(found, (std::vector<std::pair<bool, std::string>>{{true, "Intro"}}));
    EXPECT_EQ(intro->ModDate(), GetFileDateTime(Path("Band A/Album One/Intro.wav")));
    EXPECT_EQ(CacheSongs(albumCache).size(), 3u);
    EXPECT_EQ(library.Count(), 5);
}

TEST_F(TreeTest, TheScanningListsMaximumAppliesAndRefusedSongsAreFreed)
{
    for (const bool owning : {false, true}) {
        TaudioTagList list; // not owning: the songs it read itself still go with it
        list.SetOwnsObjects(owning);
        list.SetSaveDataFiles(true);
        list.SetMax(2);
        int exceeded = 0;
        list.OnMaxExceeded = [&](TaudioTagList*) { ++exceeded; };
        list.ScanFolder(Path("Band A/Album One"), false, nullptr, false); // from the cache the second time
        EXPECT_EQ(list.Count(), 2);
        EXPECT_EQ(exceeded, 1);
        EXPECT_EQ(CacheSongs(Path("Band A/Album One/orvane.obf")).size(), 3u); // the cache holds them all
    }
}

TEST_F(ScanTest, CachedSongsFollowAMovedFolderAndDeletedFilesDrop)
{
    Write("Old/One.wav", Wav(1));
    Write("Old/Two.wav", Wav(2));
    Write("Old/Three.wav", Wav(3));
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetSaveDataFiles(true);
    list.ScanFolder(Path("Old"), false, nullptr, false);
    ASSERT_EQ(list.Count(), 3);
    // From here on only the caches tell the songs (the files are rubbish, older than the cache).
    for (const char* name : {"Old/One.wav", "Old/Two.wav", "Old/Three.wav"})
        Write(name, "rubbish");
    AgeWavFiles(root);
    fs::rename(Path("Old"), Path("New"));
    fs::remove(Path("New/Two.wav"));

    list.ScanFolder(Path("New"), false, nullptr, false);
    const std::map<std::string, std::string> moved = {{"New/One.wav", "One|Old|Library|1|44100|2|WAV"},
                                                      {"New/Three.wav", "Three|Old|Library|3|44100|2|WAV"}};
    EXPECT_EQ(Songs(list), moved);
    EXPECT_EQ(CacheSongs(Path("New/orvane.obf")), moved);

    // A folder that takes its parent's place: its cache names the songs one folder deeper.
    Write("Nest/Nest/Four.wav", Wav(4));
    TaudioTagList nested;
    nested.SetOwnsObjects(true);
    nested.SetSaveDataFiles(true);
    nested.ScanFolder(Path("Nest/Nest"), false, nullptr, false);
    Write("Nest/Nest/Four.wav", "rubbish");
    AgeWavFiles(root);
    fs::rename(Path("Nest/Nest"), Path("Up"));
    fs::remove(Path("Nest"));
    fs::rename(Path("Up"), Path("Nest"));
    nested.ScanFolder(Path("Nest"), false, nullptr, false);
    EXPECT_EQ(Songs(nested),
              (std::map<std::string, std::string>{{"Nest/Four.wav", "Four|Nest|Nest|4|44100|2|WAV"}}));
}

TEST_F(ScanTest, DamagedOrForeignCachesAreIgnored)
{
    Write("Album/One.wav", Wav(1));
    Write("Album/Two.wav", Wav(2));
    const std::string cache = Path("Album/orvane.obf");
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetSaveDataFiles(true);
    AgeWavFiles(root);
    list.ScanFolder(Path("Album"), false, nullptr, false);
    const std::string good = TempDir::Read(cache);

    const std::string damaged[] = {
        good.substr(0, good.size() / 2), // cut inside the second song
        good.substr(0, good.size() - 1), // the last end byte missing
        "XXXX" + good.substr(4),         // another kind of file
        good.substr(0, 14) + std::string("\xff\xff\xff\x7f", 4) + good.substr(18), // a count far too large
        "",
    };
    for (const std::string& bytes : damaged) {
        Write("Album/orvane.obf", bytes);
        std::uint32_t files = 0;
        ASSERT_TRUE(list.IsCacheCurrent(cache, files));
        list.ScanFolder(Path("Album"), false, nullptr, false);
        EXPECT_EQ(Songs(list),
                  (std::map<std::string, std::string>{{"Album/One.wav", "One|Album|Library|1|44100|2|WAV"},
                                                      {"Album/Two.wav", "Two|Album|Library|2|44100|2|WAV"}}))
            << bytes.size();
        EXPECT_EQ(TempDir::Read(cache), good); // read file by file and written whole again
    }
}

TEST_F(ScanTest, HiddenSystemAndLinkedEntries)
{
    Write("Album/Song.wav", Wav(4));
    Write("Album/.Hidden.wav", Wav(4));
    Write(".Hidden Folder/Song.wav", Wav(4));
    // Opening a FIFO would block the scan for ever; a link that leads nowhere is no file.
    ASSERT_EQ(::mkfifo(Path("Album/Pipe.wav").c_str(), 0644), 0);
    fs::create_symlink(Path("Album/Gone.wav.target"), Path("Album/Gone.wav"));
    fs::create_symlink(Path("Album/Song.wav"), Path("Album/Linked.wav"));
    std::uint32_t files = 0;
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetSaveDataFiles(true);
    EXPECT_FALSE(list.IsCacheCurrent(Path("Album/orvane.obf"), files));
    EXPECT_EQ(files, 2u);
    list.ScanTree(root, false, nullptr);
    EXPECT_EQ(Songs(list), (std::map<std::string, std::string>{
                               {"Album/Song.wav", "Song|Album|Library|4|44100|2|WAV"},
                               {"Album/Linked.wav", "Linked|Album|Library|4|44100|2|WAV"}}));
    EXPECT_TRUE(list.IsCacheCurrent(Path("Album/orvane.obf"), files));
    EXPECT_EQ(files, 3u);
    EXPECT_FALSE(fs::exists(Path(".Hidden Folder/orvane.obf")));
}

TEST_F(ScanTest, LinkLoopsEndAndEveryFolderIsScannedOnce)
{
    Write("A/Song.wav", Wav(4));
    Write("A/Deeper/Deep.wav", Wav(4));
    fs::create_symlink(root, Path("A/Deeper/Up"));        // a circle back to the top
    fs::create_symlink(Path("A"), Path("B"));             // a second way into A
    fs::create_symlink(Path("A/Deeper"), Path("A/Self")); // and into Deeper
    TaudioTagList list;
    list.SetOwnsObjects(true);
    std::vector<std::string> dirs;
    list.OnDirProcess = [&](TaudioTagList*, const std::string& d) { dirs.push_back(d); };
    list.ScanTree(root, false, nullptr);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(dirs.size(), 3u);

    // Listed folders that overlap add their songs once too.
    TStrings folders;
    folders.Add(Path("A/Deeper"));
    folders.Add(root);
    folders.Add(root);
    list.ScanFolderList(folders, false, nullptr);
    EXPECT_EQ(list.Count(), 2);
    ASSERT_FALSE(list.Items().empty());
    EXPECT_EQ(list.GetItem(0)->Filename(), Path("A/Deeper/Deep.wav"));
}

TEST_F(ScanTest, FilesAndFoldersThatVanishOrCannotBeRead)
{
    for (const char* name : {"Album/1.wav", "Album/2.wav", "Album/3.wav", "Album/4.wav"})
        Write(name, Wav(1));
    TaudioTagList list;
    list.SetOwnsObjects(true);
    std::vector<std::string> steps;
    // At the first step every other file of the folder goes.
    list.OnListProcess = [&](TaudioTagList*, std::uint32_t i, std::uint32_t n, TaudioTag* t) {
        steps.push_back(std::to_string(i) + "/" + std::to_string(n) + (t ? " song" : " nil"));
        if (i == 1)
            for (const auto& e : fs::directory_iterator(Path("Album")))
                if (!t || e.path().string() != t->Filename())
                    fs::remove(e.path());
    };
    list.ScanFolder(Path("Album"), false, nullptr, false);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(steps, (std::vector<std::string>{"1/4 song", "2/4 nil", "3/4 nil", "4/4 nil"}));
    list.OnListProcess = nullptr;

    // Sibling folders that go while the walk is in the first of them contribute nothing.
    for (const char* name : {"Tree/A/1.wav", "Tree/B/1.wav", "Tree/C/1.wav"})
        Write(name, Wav(1));
    bool first = true;
    list.OnDirProcess = [&](TaudioTagList*, const std::string& d) {
        if (d == Path("Tree") || !first)
            return;
        first = false;
        for (const char* name : {"A", "B", "C"})
            if (Path(std::string("Tree/") + name) != d)
                fs::remove_all(Path(std::string("Tree/") + name));
    };
    list.ScanTree(Path("Tree"), false, nullptr);
    EXPECT_EQ(list.Count(), 1);

    // Missing folders and files that are no folders give nothing, but still a whole run of events.
    int starts = 0, finishes = 0;
    list.OnListProcessStart = [&](TaudioTagList*, const std::string&) { ++starts; };
    list.OnListProcessFinished = [&](TaudioTagList*) { ++finishes; };
    list.ScanTree(Path("Missing"), false, nullptr);
    list.ScanTree(Write("Plain.txt", "no folder"), true, nullptr);
    list.ScanFolder("", true, nullptr, false);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(starts, 3);
    EXPECT_EQ(finishes, 3);

    // A folder the scanning user may not read (root may read everything).
    if (::geteuid() != 0) {
        Write("Closed/1.wav", Wav(1));
        fs::permissions(Path("Closed"), fs::perms::none);
        list.ScanTree(root, false, nullptr);
        EXPECT_EQ(list.Count(), 2); // Album/1.wav and the one left in Tree
        fs::permissions(Path("Closed"), fs::perms::owner_all);
    }
}

TEST_F(ScanTest, ACacheThatCannotBeWrittenReachesTheCallerWithNothingLost)
{
    Write("A/1.wav", Wav(1));
    Write("A/2.wav", Wav(2));
    Write("A/Blocked/1.wav", Wav(1));
    Write("A/Blocked/2.wav", Wav(2));
    Write("A/Blocked/Below/1.wav", Wav(1));
    // A folder where the cache file should go stands in for a medium that cannot be written (root may
    // write to read-only folders).
    fs::create_directories(Path("A/Blocked/orvane.obf"));

    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetSaveDataFiles(true);
    int changes = 0, starts = 0, finishes = 0;
    list.OnChange = [&](TaudioTagList*) { ++changes; };
    list.OnListProcessStart = [&](TaudioTagList*, const std::string&) { ++starts; };
    list.OnListProcessFinished = [&](TaudioTagList*) { ++finishes; };
    EXPECT_THROW(list.ScanFolder(Path("A/Blocked"), false, nullptr, false), EFileError);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.UpdateCount(), 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(finishes, 1);

    // In a tree the folders scanned up to and including the failing one keep their songs; the walk ends.
    changes = starts = finishes = 0;
    EXPECT_THROW(list.ScanTree(Path("A"), false, nullptr), EFileError);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.UpdateCount(), 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(starts, finishes);
    EXPECT_TRUE(fs::exists(Path("A/orvane.obf")));
    for (const TaudioTag* s : list.Items())
        EXPECT_EQ(s->TagType(), "WAV");

    if (::geteuid() != 0) {
        fs::remove(Path("A/Blocked/orvane.obf"));
        fs::permissions(Path("A/Blocked"), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_THROW(list.ScanFolder(Path("A/Blocked"), false, nullptr, false), EFileError);
        EXPECT_EQ(list.Count(), 2);
        fs::permissions(Path("A/Blocked"), fs::perms::owner_all);
    }
}

// A tree walk writes its caches on other threads: a write that fails there still reaches the caller, after
// the songs of the folder are in the list. A hidden cache name with a folder in its place is not in the
// listing, so only the write itself finds it (root writes in read-only folders).
TEST_F(ScanTest, ACacheWriteThatFailsOnAWriterThreadReachesTheCaller)
{
    Write("A/1.wav", Wav(1));
    Write("A/2.wav", Wav(2));
    fs::create_directories(Path("A/.obf"));
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetSaveDataFiles(true);
    list.SetDataFileName(".obf");
    int changes = 0, starts = 0, finishes = 0;
    list.OnChange = [&](TaudioTagList*) { ++changes; };
    list.OnListProcessStart = [&](TaudioTagList*, const std::string&) { ++starts; };
    list.OnListProcessFinished = [&](TaudioTagList*) { ++finishes; };
    // The only folder: the failure is known once the walk is over.
    EXPECT_THROW(list.ScanTree(Path("A"), false, nullptr), EFileError);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.UpdateCount(), 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(finishes, 1);

    // Folders around the failing one keep their songs and their caches; the walk may end early.
    Write("1.wav", Wav(1));
    Write("A/Below/1.wav", Wav(1));
    changes = starts = finishes = 0;
    EXPECT_THROW(list.ScanTree(root, false, nullptr), EFileError);
    const std::map<std::string, std::string> songs = Songs(list);
    EXPECT_TRUE(songs.count("1.wav") && songs.count("A/1.wav") && songs.count("A/2.wav"));
    EXPECT_EQ(list.UpdateCount(), 0);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(starts, finishes);
    EXPECT_EQ(CacheSongs(Path(".obf")).size(), 1u);
    if (songs.count("A/Below/1.wav")) {
        EXPECT_EQ(CacheSongs(Path("A/Below/.obf")).size(), 1u);
    }
}

TEST_F(ScanTest, AFolderTextEndingInASlashJoinsNamesWithOneSlash)
{
    Write("Top.wav", Wav(1));
    Write("Sub/Below.wav", Wav(1));
    TaudioTagList list;
    list.SetOwnsObjects(true);
    std::vector<std::string> dirs;
    list.OnDirProcess = [&](TaudioTagList*, const std::string& d) { dirs.push_back(d); };
    list.ScanTree(root + "/", false, nullptr);
    EXPECT_EQ(dirs, (std::vector<std::string>{root + "/", root + "/Sub"}));
    std::set<std::string> names;
    for (const TaudioTag* s : list.Items())
        names.insert(s->Filename());
    EXPECT_EQ(names, (std::set<std::string>{root + "/Top.wav", root + "/Sub/Below.wav"}));
}

} // namespace
