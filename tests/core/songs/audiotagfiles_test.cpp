// Songs and lists that read their files through the program's tag-reader host.
#include "core/songs/audiotaglist.h"
#include "core/util/orvanexutils.h"
#include "core/plugins/taggerloader.h"
#include "testpluginfolder.h"

#include <gtest/gtest.h>

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
    std::string Write(const std::string& name) const { return folder_.Write(name, "data"); }

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
