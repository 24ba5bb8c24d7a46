#include "support/reportrecorder.h"

#include "core/groupings/audiotagalbumlist.h"
#include "core/groupings/audiotagartistlist.h"
#include "core/reports/missingcoversreport.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A small library grouped as the library groups it: albums, artists, albums given to their artists.
class Library
{
public:
    Library() { songs.SetOwnsObjects(true); }

    void Song(const std::string& artist, const std::string& album, const std::string& file)
    {
        auto s = std::make_unique<TaudioTag>();
        s->SetArtist(artist);
        s->SetTitle("Title");
        s->SetAlbum(album);
        s->SetFilename(file);
        songs.Add(s.release());
    }
    void Group()
    {
        albums.BeginUpdate();
        artists.BeginUpdate();
        for (TaudioTag* s : songs.Items()) {
            albums.AddTag(s);
            artists.AddTag(s);
        }
        albums.EndUpdate();
        artists.AssignAlbums(albums);
        artists.BuildIndex();
        artists.EndUpdate();
    }

    TaudioTagList songs;
    TaudioTagAlbumList albums;
    TaudioTagArtistList artists;
};

} // namespace

TEST(MissingCoversReport, ListsAlbumsWithoutCoverUnderTheirArtists)
{
    ReportRecorder recorder;
    TempDir dir;
    const std::string covers = dir.Path() + "/Covers";
    dir.Write("Covers/Queen - Greatest.jpg", "cover");
    dir.Write("Queen/Night/Folder.jpg", "cover");
    Library lib;
    lib.Song("Abba", "Gold", dir.File("Abba/1.mp3"));
    lib.Song("Abba", "Gold", dir.File("Abba/2.mp3"));
    // Every album of Queen has a cover: in the cover folder, or beside the songs.
    lib.Song("Queen", "Greatest", dir.File("Queen/Greatest/1.mp3"));
    lib.Song("Queen", "Night", dir.File("Queen/Night/1.mp3"));
    lib.Song("Björk", "Post", dir.File("Bjork/1.mp3"));
    lib.Song("X", "Hits", dir.File("Comp/1.mp3"));
    lib.Song("Y", "Hits", dir.File("Comp/2.mp3"));
    // An album without album artist belongs to no artist and is not examined.
    lib.Song("", "Nobody's", dir.File("Nobody/1.mp3"));
    lib.Group();

    TmissingCoversReport report;
    report.SetArtists(&lib.artists);
    report.SetAlbums(&lib.albums);
    report.SetSongs(&lib.songs);
    report.SetCoverFolder(covers);
    report.SetFilename(dir.File("covers.txt"));
    std::vector<std::pair<int, int>> progress;
    report.SetProgress(
        [&](TjukeboxTagReport*, int index, int count) { progress.emplace_back(index, count); });
    report.Execute();

    EXPECT_EQ(TempDir::Read(dir.File("covers.txt")), "[Compilations]\n"
                                                     "==============\n"
                                                     "    Hits [" +
                                                         dir.File("Comp/") +
                                                         "]\n"
                                                         "\n"
                                                         "Abba\n"
                                                         "====\n"
                                                         "    Gold [" +
                                                         dir.File("Abba/") +
                                                         "]\n"
                                                         "\n"
                                                         "Björk\n"
                                                         "=====\n"
                                                         "    Post [" +
                                                         dir.File("Bjork/") +
                                                         "]\n"
                                                         "\n");
    EXPECT_EQ(recorder.opened, std::vector<std::string>{dir.File("covers.txt")});
    // One step per artist: "[Compilations]", "[Not Tagged]", Abba, Björk, Queen, X, Y.
    ASSERT_EQ(progress.size(), 7u);
    EXPECT_EQ(progress.back(), std::make_pair(7, 7));
}

TEST(MissingCoversReport, NothingMissingWritesAnEmptyFileAndNoArtistsDoNothing)
{
    ReportRecorder recorder;
    TempDir dir;
    dir.Write("Queen/Folder.jpg", "cover");
    Library lib;
    lib.Song("Queen", "Night", dir.File("Queen/1.mp3"));
    lib.Group();
    TmissingCoversReport report;
    report.SetFilename(dir.File("covers.txt"));
    report.Execute();
    EXPECT_TRUE(recorder.opened.empty());

    report.SetArtists(&lib.artists);
    report.Execute();
    EXPECT_EQ(TempDir::Read(dir.File("covers.txt")), "");
    EXPECT_EQ(recorder.opened.size(), 1u);
}
