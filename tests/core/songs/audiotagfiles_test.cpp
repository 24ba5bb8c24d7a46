// Songs and lists that read their files through the program's tag-reader host.
#include "core/plugins/taggerloader.h"
#include "core/songs/audiotaglist.h"
#include "core/util/orvanexutils.h"
#include "testpluginfolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

// The global host serving *.wav through the test plug-in (artist "Wav", title = the file name; reads of
// names containing "bad" fail). Released at the end so other tests get a fresh host.
class WavHost
{
public:
    WavHost() : folder_{"wav"}
    {
        TaggerLoader().SetSupportLevel(2);
        TaggerLoader().SetPluginFolder(folder_.Path());
    }
    ~WavHost() { ReleaseTaggerLoader(); }
    std::string Write(const std::string& name, const std::string& bytes = "data") const
    {
        return folder_.Write(name, bytes);
    }

private:
    TestPluginFolder folder_;
};

} // namespace

TEST(AudioTagFiles, SongReadsItsTagThroughThePlugin)
{
    WavHost host;
    const std::string file = host.Write("one.wav");
    TaudioTag song;
    song.SetFilename(file);
    ASSERT_NE(song.GetTagger(), nullptr);
    EXPECT_STREQ(song.GetTagger()->Name, "Wav");
    song.ReadTag();
    EXPECT_EQ(song.Artist(), "Wav");
    EXPECT_EQ(song.Title(), file);
    EXPECT_EQ(song.TrackNo(), 7u);
    EXPECT_EQ(song.Duration(), 61u);
    EXPECT_EQ(song.ModDate(), GetFileDateTime(file));
    EXPECT_GT(song.ModDate(), 0.0);

    TaudioTag bad;
    bad.SetFilename(host.Write("bad.wav"));
    bad.SetTitle("kept");
    bad.ReadTag(); // the read fails: unchanged
    EXPECT_EQ(bad.Title(), "kept");
    EXPECT_EQ(bad.ModDate(), 0.0);
    TaudioTag other;
    other.SetFilename(host.Write("x.mp3"));
    EXPECT_EQ(other.GetTagger(), nullptr);
    other.ReadTag();
    EXPECT_EQ(other.Title(), "");
}

TEST(AudioTagFiles, AddFileAndFileLists)
{
    WavHost host;
    const std::string a = host.Write("a.wav");
    const std::string b = host.Write("b.wav");
    const std::string bad = host.Write("bad.wav");
    const std::string mp3 = host.Write("c.mp3");

    TaudioTagList list; // not owning: the songs it reads still go when it goes
    TaudioTag* song = list.AddFile(a);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(song->Filename(), a);
    EXPECT_EQ(song->Artist(), "Wav");
    EXPECT_EQ(song->ModDate(), GetFileDateTime(a));
    EXPECT_EQ(list.AddFile(bad), nullptr);
    EXPECT_EQ(list.AddFile(mp3), nullptr);
    list.SetMax(1);
    EXPECT_EQ(list.AddFile(b), nullptr); // refused at Max
    list.SetMax(0);

    TStrings lines;
    lines.SetText("#EXTM3U\n#EXTINF:61,Wav - a\n" + a + "\n/no/such.wav\n" + bad + "\n" + b + "\n");
    std::vector<std::string> events;
    list.OnListProcessStart = [&](TaudioTagList*, const std::string& t) { events.push_back(t); };
    list.OnListProcess = [&](TaudioTagList*, std::uint32_t i, std::uint32_t c, TaudioTag* t) {
        events.push_back(std::to_string(i) + "/" + std::to_string(c) + (t ? " song" : " nil"));
    };
    list.OnListProcessFinished = [&](TaudioTagList*) { events.push_back("end"); };
    list.OnChange = [&](TaudioTagList*) { events.push_back("change"); };
    list.AddFileList(lines, false);
    EXPECT_EQ(events, (std::vector<std::string>{"Adding Files...", "3/6 song", "5/6 nil", "6/6 song",
                                                "change", "end"}));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetItem(1)->Filename(), b);

    events.clear();
    TStrings single;
    single.Add(a);
    list.AddFileList(single, true); // one line: no start and finish
    EXPECT_EQ(events, (std::vector<std::string>{"1/1 song", "change"}));
    EXPECT_EQ(list.Count(), 3);

    list.OnListProcess = nullptr;
    list.OnChange = nullptr;
    const std::string m3u = host.Write("list.m3u");
    list.ExportM3U(m3u, false, true, true);
    TaudioTagList back;
    back.SetOwnsObjects(true);
    back.LoadFileList(m3u, false);
    EXPECT_EQ(back.Count(), 3); // the header, the dummy entry and the information lines are skipped
    EXPECT_EQ(back.Filename(), m3u);
    back.LoadFileList(m3u + ".missing", false);
    EXPECT_EQ(back.Count(), 3);
    EXPECT_EQ(back.Filename(), m3u);
}

TEST(AudioTagFiles, M3UFilesAsOtherPlayersWriteThemLoadAndTellWhatWasSkipped)
{
    WavHost host;
    const std::string a = host.Write("lists/sub/a.wav");
    const std::string spaced = host.Write("lists/b \xC3\xA9.wav");
    const std::string accented = host.Write("lists/caf\xC3\xA9.wav");
    const std::string fifo = host.Write("lists/pipe.wav");
    std::remove(fifo.c_str());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    host.Write("lists/bad.wav");
    const std::string folder = a.substr(0, a.size() - std::string("/sub/a.wav").size());

    // A byte order mark, a relative entry with backslashes, a file:// URL, a Latin-1 line, an internet
    // address, a missing file, a FIFO and a file no plug-in reads.
    const std::string m3u =
        host.Write("lists/mix.m3u", "\xEF\xBB\xBFsub\\a.wav\r\n#EXTINF:5,x\r\nfile://" + folder +
                                        "/b%20%C3%A9.wav\r\ncaf\xE9.wav\r\nhttp://radio/live\r\n"
                                        "gone.wav\r\npipe.wav\r\n  ./bad.wav  \r\n");
    TaudioTagList list;
    list.SetOwnsObjects(true);
    TfileListReport report = list.LoadFileList(m3u, false);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.GetItem(0)->Filename(), a);
    EXPECT_EQ(list.GetItem(1)->Filename(), spaced);
    EXPECT_EQ(list.GetItem(2)->Filename(), accented);
    EXPECT_EQ(report.added, 3);
    EXPECT_EQ(report.addresses, 1);
    EXPECT_EQ(report.notFound, 1);
    EXPECT_EQ(report.special, 1); // the FIFO
    EXPECT_EQ(report.notSongs, 1);
    EXPECT_EQ(report.Describe("mix.m3u"),
              "4 of 7 entries of \"mix.m3u\" could not be loaded:\r1 file not found\r"
              "1 special file (a folder, a pipe or a device)\r1 file that is not a "
              "song\r1 internet address (only files are played)");
    EXPECT_EQ(list.AddFile(fifo), nullptr); // never opened as a song

    // A list of which nothing loads leaves the edited list as it was, and says so.
    const std::string none = host.Write("lists/none.m3u", "http://radio/live\nnowhere.wav\n");
    report = list.LoadFileList(none, false);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_TRUE(report.kept);
    EXPECT_NE(report.Describe("none.m3u").find("\rThe playlist was left as it was."), std::string::npos);
    report = list.LoadFileList(fifo, true);
    EXPECT_FALSE(report.read);
    EXPECT_EQ(list.Count(), 3);
}
