#include "support/testpictures.h"
#include "support/testsongs.h"

#include "core/songs/audiotag.h"
#include "core/songs/coverfinder.h"
#include "core/songs/coverpicture.h"
#include "platform/datetime.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <string>
#include <vector>

namespace {

// A plug-in record filled by hand, as a plug-in leaves it after a read.
const char* ArtistText(const char*)
{
    return "Plug Artist";
}
const char* TitleText(const char*)
{
    return "Plug Title";
}
const char* NullText(const char*)
{
    return nullptr;
}
const char* DateText(const char*)
{
    return "2001";
}
const char* GenreText(const char*)
{
    return "Jazz";
}
const char* TagTypeText()
{
    return "RIFF";
}

} // namespace

TEST(AudioTag, ChannelModeCloneAndPluginValues)
{
    TaudioTag s;
    EXPECT_EQ(s.GetChannelMode(), "Unknown");
    s.SetChannels(1);
    EXPECT_EQ(s.ChannelMode(), "Mono");
    s.SetChannels(2);
    EXPECT_EQ(s.ChannelMode(), "Stereo");
    s.SetChannels(6);
    EXPECT_EQ(s.ChannelMode(), "Multi");
    EXPECT_EQ(s.GenreID(), 0u);
    EXPECT_FALSE(s.HasArtist());

    s.SetFilename("/m/x.wav");
    s.SetArtist("A");
    s.SetTitle("T");
    s.SetAlbum("B");
    s.SetComment("C");
    s.SetTrackNo(3);
    s.SetDate("1990");
    s.SetGenreID(8);
    s.SetGenreString("Jazz");
    s.SetBitRate(128);
    s.SetDuration(61);
    s.SetSampleRate(22050);
    s.SetTagType("ID3v2");
    s.SetModDate(40000.25);
    s.SetMediaType(1);
    s.SetTag(9);
    const auto c = s.Clone();
    EXPECT_EQ(c->Filename(), "/m/x.wav");
    EXPECT_EQ(c->Artist(), "A");
    EXPECT_EQ(c->Title(), "T");
    EXPECT_EQ(c->Album(), "B");
    EXPECT_EQ(c->Comment(), "C");
    EXPECT_EQ(c->TrackNo(), 3u);
    EXPECT_EQ(c->Date(), "1990");
    EXPECT_EQ(c->GenreID(), 8u);
    EXPECT_EQ(c->GenreString(), "Jazz");
    EXPECT_EQ(c->BitRate(), 128u);
    EXPECT_EQ(c->Duration(), 61u);
    EXPECT_EQ(c->SampleRate(), 22050u);
    EXPECT_EQ(c->Channels(), 6u);
    EXPECT_EQ(c->TagType(), "ID3v2");
    EXPECT_EQ(c->ModDate(), 40000.25);
    EXPECT_EQ(c->MediaType(), 0u); // a clone is audio
    EXPECT_EQ(c->Tag(), 0);

    TtaggerRecord r{};
    r.Artist = ArtistText;
    r.Title = TitleText;
    r.Album = NullText;  // a plug-in answering null gives empty text
    r.Comment = nullptr; // and so does a missing function
    r.Date = DateText;
    r.GenreString = GenreText;
    r.TagType = TagTypeText;
    r.TrackNo = 12;
    r.GenreID = 8;
    r.BitRate = 1411;
    r.Duration = 185;
    r.SampleRate = 44100;
    r.Channels = 2;
    r.MediaType = 1;
    CopyTaggerValues(r, s);
    EXPECT_EQ(s.Artist(), "Plug Artist");
    EXPECT_EQ(s.Title(), "Plug Title");
    EXPECT_EQ(s.Album(), "");
    EXPECT_EQ(s.Comment(), "");
    EXPECT_EQ(s.Date(), "2001");
    EXPECT_EQ(s.GenreString(), "Jazz");
    EXPECT_EQ(s.TagType(), "RIFF");
    EXPECT_EQ(s.TrackNo(), 12u);
    EXPECT_EQ(s.BitRate(), 1411u);
    EXPECT_EQ(s.Duration(), 185u);
    EXPECT_EQ(s.SampleRate(), 44100u);
    EXPECT_EQ(s.Channels(), 2u);
    EXPECT_EQ(s.MediaType(), 1u);
    EXPECT_EQ(s.Filename(), "/m/x.wav"); // untouched
    EXPECT_EQ(s.ModDate(), 40000.25);
}

TEST(AudioTag, FileNameSplitsAtItsLastSlashAndComposesToTheSameBytes)
{
    // Names without a folder, folders only, a leaf just below, at and past the one-byte length, bytes that
    // are no text.
    const std::vector<std::string> names = {"",
                                            "a.wav",
                                            "/",
                                            "/m/",
                                            "//x",
                                            "/m/a/b.wav",
                                            "/m/a b/c.wav",
                                            "/m/a.wav",
                                            "d:\\Music\\a.mp3",
                                            "/m/" + std::string(254, 'x'),
                                            "/m/" + std::string(255, 'y'),
                                            "/m/" + std::string(70000, 'z'),
                                            std::string("/m/n\0ul\xFF", 8)};
    std::vector<std::unique_ptr<TaudioTag>> songs;
    for (const std::string& name : names) {
        auto song = std::make_unique<TaudioTag>();
        song->SetFilename(name);
        const std::size_t slash = name.rfind('/');
        const std::string folder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
        EXPECT_EQ(song->Filename(), name);
        EXPECT_EQ(song->FolderName(), folder);
        EXPECT_EQ(song->LeafName(), name.substr(folder.size()));
        EXPECT_EQ(song->FilenameSize(), name.size());
        EXPECT_TRUE(song->FilenameIs(name));
        EXPECT_FALSE(song->FilenameIs(name + "x"));
        EXPECT_FALSE(song->FilenameIs("x" + name));
        if (!name.empty()) {
            EXPECT_FALSE(song->FilenameIs(name.substr(0, name.size() - 1)));
        }
        EXPECT_EQ(song->Clone()->Filename(), name);
        songs.push_back(std::move(song));
    }
    // A song renamed from a view of its own name.
    TaudioTag& own = *songs[5];
    own.SetFilename(own.LeafName());
    EXPECT_EQ(own.Filename(), "b.wav");
    own.SetFilename("/m/a/b.wav");
    own.SetFilename(own.FolderName());
    EXPECT_EQ(own.Filename(), "/m/a/");
    own.SetFilename(names[5]);

    // One folder, one shared copy; the order is that of the whole names, never folder first (a folder
    // that starts another one sorts by the bytes after it).
    const auto other = std::make_unique<TaudioTag>();
    other->SetFilename(std::string("/m/a/") + "other.wav");
    EXPECT_TRUE(other->SameFolder(own));
    EXPECT_EQ(&other->FolderName(), &own.FolderName());
    EXPECT_FALSE(other->SameFolder(*songs[7]));
    for (const char* name : {"/x/b.mp3", "/x/a/c.mp3", "/x/a b/c", "/x/a/b", "/x/", "/x/0.mp3"}) {
        songs.push_back(std::make_unique<TaudioTag>());
        songs.back()->SetFilename(name);
    }
    for (const auto& a : songs)
        for (const auto& b : songs) {
            const int bytes = a->Filename().compare(b->Filename());
            EXPECT_EQ(a->CompareFilename(*b), bytes < 0 ? -1 : (bytes > 0 ? 1 : 0))
                << a->Filename().substr(0, 20) << " / " << b->Filename().substr(0, 20);
        }
    EXPECT_EQ(CompareJoined("", "ab", "a", "b"), 0);
    EXPECT_EQ(CompareJoined("a", "", "a", "b"), -1);
    EXPECT_EQ(CompareJoined("ab", "c", "a", ""), 1);
}

TEST(AudioTag, DisplayLayouts)
{
    auto s = Song("A", "T", "Blue", 3);
    s->SetDuration(75);
    EXPECT_EQ(FormatTagText(*s, tdfArtistTitle), "A - T");
    EXPECT_EQ(FormatTagText(*s, tdfTitleArtist), "T - A");
    EXPECT_EQ(FormatTagText(*s, tdfArtistTitleDuration), "A - T [1:15]");
    EXPECT_EQ(FormatTagText(*s, tdfTitleArtistDuration), "T - A [1:15]");
    EXPECT_EQ(FormatTagText(*s, tdfTitleDuration), "T [1:15]");
    EXPECT_EQ(FormatTagText(*s, tdfTrackTitleDuration), "003 : T [1:15]");
    EXPECT_EQ(FormatTagText(*s, tdfTrackArtistTitleDuration), "003 : A - T [1:15]");
    EXPECT_EQ(FormatTagText(*s, tdfTrackArtistTitle), "003 : A - T");
    EXPECT_EQ(FormatTagText(*s, tdfTracktitle), "003 : T");
    EXPECT_EQ(FormatTagText(*s, tdfArtistTitleAlbumTrack), "A - T [Blue - Track 3]");
    EXPECT_EQ(FormatTagText(*s, static_cast<TtagDisplayFormat>(11)), "A - T");
    EXPECT_EQ(FormatTagText(*s, static_cast<TtagDisplayFormat>(200)), "A - T");
    s->SetTrackNo(0);
    EXPECT_EQ(FormatTagText(*s, tdfArtistTitleAlbumTrack), "A - T [Blue]");
    s->SetAlbum("");
    EXPECT_EQ(FormatTagText(*s, tdfArtistTitleAlbumTrack), "A - T");

    auto t = Song("B", "Song", "", 7);
    t->SetDuration(75);
    EXPECT_EQ(FormatTagText(*t, tdfTrackTitleDuration), "007 : Song [1:15]");
    t->SetDuration(3725);
    EXPECT_EQ(FormatTagText(*t, tdfTitleDuration), "Song [62:05]");
    t->SetTrackNo(1234);
    EXPECT_EQ(FormatTagText(*t, tdfTracktitle), "1234 : Song");
    EXPECT_EQ(SecondsToMSLong(5000000000ll), "83333333:20");
    EXPECT_EQ(SecondsToMSLong(59), "0:59");

    const QLocale before;
    QLocale::setDefault(QLocale::c());
    t->SetFilename("/m/s.wav");
    t->SetModDate(platform::EncodeDateTime(2020, 3, 4, 5, 6, 7));
    EXPECT_EQ(FormatTagText(*t, tdfTimeArtistTitleFilename), "4 Mar 2020 05:06:07 : B - Song (/m/s.wav)");
    t->SetModDate(platform::EncodeDate(2020, 3, 4)); // midnight shows the date alone
    EXPECT_EQ(FormatTagText(*t, tdfTimeArtistTitleFilename), "4 Mar 2020 : B - Song (/m/s.wav)");
    QLocale::setDefault(before);
}

TEST(AudioTag, ComparersSignTieBreaksTwice)
{
    const auto a = Song("Band", "Alpha", "Blue", 2);
    const auto b = Song("band", "Beta", "blue", 1);
    const auto c = Song("Band", "Gamma", "Blue", 1);
    const auto z = Song("Zed", "Alpha", "Red", 1);

    SetTagSortOrder(tsoAscending);
    EXPECT_EQ(TagSortSign(), 1);
    EXPECT_LT(CompareByTitle(a.get(), b.get()), 0);
    EXPECT_LT(CompareByArtist(a.get(), z.get()), 0);
    EXPECT_LT(CompareByArtist(a.get(), b.get()), 0); // same artist ignoring case: Title ascending
    EXPECT_LT(CompareByAlbum(b.get(), a.get()), 0);  // same album: track 1 before 2
    EXPECT_LT(CompareByAlbum(b.get(), c.get()), 0);  // same album and track: Beta before Gamma
    EXPECT_EQ(CompareByTitle(a.get(), z.get()), 0);

    SetTagSortOrder(tsoDescending);
    EXPECT_EQ(TagSortSign(), -1);
    EXPECT_GT(CompareByTitle(a.get(), b.get()), 0);
    EXPECT_GT(CompareByArtist(a.get(), z.get()), 0);
    EXPECT_LT(CompareByArtist(a.get(), b.get()), 0); // tie-break still ascending
    EXPECT_GT(CompareByAlbum(a.get(), z.get()), 0);
    EXPECT_LT(CompareByAlbum(b.get(), a.get()), 0); // track ascending in both directions
    EXPECT_GT(CompareByAlbum(b.get(), c.get()), 0); // then Title in the list's direction
    SetTagSortOrder(tsoAscending);

    // Every numeric and text key, with the Title tie-break.
    TaudioTag x;
    TaudioTag y;
    x.SetTitle("A");
    y.SetTitle("B");
    for (const TaudioTagSortType t : {tstTrack, tstComment, tstGenre, tstYear, tstDuration, tstSampleRate,
                                      tstBitrate, tstChannels, tstTagType})
        EXPECT_LT(TagComparer(t)(&x, &y), 0) << int(t);
    x.SetDuration(10);
    x.SetSampleRate(10);
    x.SetBitRate(10);
    x.SetChannels(10);
    x.SetTrackNo(0xFFFFFFFFu); // no overflow in the difference
    x.SetComment("z");
    x.SetGenreString("z");
    x.SetDate("2000");
    y.SetDate("1999");
    x.SetTagType("z");
    for (const TaudioTagSortType t : {tstTrack, tstComment, tstGenre, tstYear, tstDuration, tstSampleRate,
                                      tstBitrate, tstChannels, tstTagType})
        EXPECT_GT(TagComparer(t)(&x, &y), 0) << int(t);
}

TEST(AudioTag, FileNameMaskAndFolderRules)
{
    TaudioTag s;
    s.SetFilename("/music/Band/Album/Song - Singer - 07.wav");
    ApplyFileNameMask(s, "%t - %a - %n", false, false);
    EXPECT_EQ(s.Title(), "Song");
    EXPECT_EQ(s.Artist(), "Singer");
    EXPECT_EQ(s.TrackNo(), 7u);
    EXPECT_EQ(s.GenreID(), 255u); // no genre text: not in the table

    TaudioTag g;
    g.SetFilename("/x/Rock - Title.wav");
    g.SetTrackNo(4);
    ApplyFileNameMask(g, "%g - %t", false, false);
    EXPECT_EQ(g.GenreString(), "Rock");
    EXPECT_EQ(g.GenreID(), 17u);
    EXPECT_EQ(g.TrackNo(), 4u);

    for (const char* name : {"/x/ab - T.wav", "/x/ - T.wav"}) {
        TaudioTag t;
        t.SetFilename(name);
        t.SetTrackNo(4);
        t.SetTitle("Old");
        ApplyFileNameMask(t, "%n - %t", false, false);
        EXPECT_EQ(t.TrackNo(), 4u) << name;
        EXPECT_EQ(t.Title(), "T");
    }

    TaudioTag f;
    f.SetFilename("/music/Band/Album/Song.wav");
    f.SetArtist("Mask");
    ApplyFileNameMask(f, "%t", true, true);
    EXPECT_EQ(f.Title(), "Song");
    EXPECT_EQ(f.Album(), "Album");
    EXPECT_EQ(f.Artist(), "Band");
    TaudioTag only;
    only.SetFilename("/music/Band/Album/Song.wav");
    ApplyFileNameMask(only, "%t", false, true);
    EXPECT_EQ(only.Artist(), "Album");
    EXPECT_EQ(only.Album(), "");
    TaudioTag root;
    root.SetFilename("/Song.wav");
    root.SetAlbum("Kept?");
    ApplyFileNameMask(root, "%t", true, true);
    EXPECT_EQ(root.Album(), "");
    EXPECT_EQ(root.Artist(), "");
}

TEST(AudioTag, CoverFileSearchOrder)
{
    TempDir dir;
    const std::string covers = dir.Path() + "/covers";
    const std::string songDir = dir.Path() + "/songs";
    dir.Write("songs/a.wav", "x");
    auto s = Song("Art", "T", "Alb");
    s->SetFilename(songDir + "/a.wav");

    EXPECT_EQ(FindCoverFile(*s, covers), "");
    dir.Write("songs/Folder.jpg", "x");
    EXPECT_EQ(FindCoverFile(*s, covers), songDir + "/Folder.jpg");
    auto noArtist = Song("", "T", "Alb");
    noArtist->SetFilename(songDir + "/a.wav");
    EXPECT_EQ(FindCoverFile(*noArtist, covers), "");

    dir.Write("songs/Art.bmp", "x");
    EXPECT_EQ(FindCoverFile(*s, covers), songDir + "/Art.bmp");
    dir.Write("covers/Alb.bmp", "x");
    EXPECT_EQ(FindCoverFile(*s, covers), covers + "/Alb.bmp");
    dir.Write("songs/Soundtrack - Alb.jpg", "x");
    EXPECT_EQ(FindCoverFile(*s, covers), songDir + "/Soundtrack - Alb.jpg");
    dir.Write("covers/(Alb) - (Art).bmp", "x");
    EXPECT_EQ(FindCoverFile(*s, covers), covers + "/(Alb) - (Art).bmp");
    dir.Write("covers/(Alb) - (Art).jpg", "x");
    EXPECT_EQ(FindCoverFile(*s, covers), covers + "/(Alb) - (Art).jpg");
    // Names match ignoring case, as on the system the pictures come from.
    dir.Write("songs/art - alb.JPG", "x");
    EXPECT_EQ(FindCoverFile(*s, covers), songDir + "/art - alb.JPG");
    dir.Write("covers/Art - Alb.bmp", "x");
    EXPECT_EQ(FindCoverFile(*s, covers + "/"), covers + "/Art - Alb.bmp");
}

TEST(AudioTag, OneCoverFinderServesSongsOfManyFolders)
{
    TempDir dir;
    const std::string covers = dir.Path() + "/covers";
    dir.Write("covers/Art - One.jpg", "x");
    dir.Write("one/Folder.jpg", "x");
    dir.Write("two/Folder.bmp", "x");
    auto one = Song("Art", "T", "One");
    one->SetFilename(dir.Path() + "/one/1.wav");
    auto two = Song("Art", "T", "Two");
    two->SetFilename(dir.Path() + "/two/1.wav");
    auto three = Song("Art", "T", "Three");
    three->SetFilename(dir.Path() + "/three/1.wav");

    TcoverFinder finder(covers);
    EXPECT_EQ(finder.Find(*two), dir.Path() + "/two/Folder.bmp");
    EXPECT_EQ(finder.Find(*one), covers + "/Art - One.jpg");
    EXPECT_EQ(finder.Find(*three), "");
    // Each song's own folder is its own, whichever folder was asked about before.
    EXPECT_EQ(finder.Find(*two), dir.Path() + "/two/Folder.bmp");
    one->SetAlbum("Other");
    EXPECT_EQ(finder.Find(*one), dir.Path() + "/one/Folder.jpg");
}

TEST(AudioTag, Id3TagSize)
{
    const unsigned char h[10] = {'I', 'D', '3', 3, 0, 0, 0x01, 0x02, 0x03, 0x04};
    EXPECT_EQ(GetID3v2TagSize(h), (1u << 21) + (2u << 14) + (3u << 7) + 4u + 10u);
    const unsigned char footer[10] = {'I', 'D', '3', 4, 0, 0x10, 0, 0, 0x7F, 0x7F};
    EXPECT_EQ(GetID3v2TagSize(footer), 16383u + 20u);
}

TEST(AudioTag, EmbeddedCoverAndCoverPicture)
{
    TempDir dir;
    const std::string jpeg = MakeJpeg(8, 4, 0xFF0000);
    const std::string audio(4096, 'a');
    const std::string old = dir.Write("old.mp3", MakeId3WithPicture("image/jpg", jpeg, audio));
    const std::string standard = dir.Write("std.mp3", MakeId3WithPicture("image/jpeg", jpeg, audio));
    const std::string png = dir.Write("png.mp3", MakeId3WithPicture("image/png", jpeg, audio));
    const std::string noTag = dir.Write("plain.mp3", jpeg + audio);
    const std::string broken =
        dir.Write("broken.mp3", MakeId3WithPicture("image/jpg", "\xFF\xD8garbage", audio));
    // A tag that claims to be larger than the file.
    const std::string shortFile =
        dir.Write("short.mp3", MakeId3WithPicture("image/jpg", jpeg, "").substr(0, 40));

    TcoverPicture pic;
    EXPECT_TRUE(LoadEmbeddedCover(old, pic));
    EXPECT_EQ(pic.Width(), 8);
    EXPECT_EQ(pic.Height(), 4);
    EXPECT_GT(pic.Pixel(3, 2) >> 16, 0xF0u);
    EXPECT_LT((pic.Pixel(3, 2) >> 8) & 0xFF, 0x10u);
    TcoverPicture second;
    EXPECT_TRUE(LoadEmbeddedCover(standard, second)); // the standard MIME text is read too
    EXPECT_EQ(second.Width(), 8);
    TcoverPicture none;
    EXPECT_FALSE(LoadEmbeddedCover(png, none));
    EXPECT_FALSE(LoadEmbeddedCover(noTag, none));
    EXPECT_FALSE(LoadEmbeddedCover(broken, none));
    EXPECT_FALSE(LoadEmbeddedCover(shortFile, none));
    EXPECT_FALSE(LoadEmbeddedCover(dir.File("missing.mp3"), none));
    EXPECT_TRUE(none.Empty());

    // The cover picture: embedded first, else the file found beside the song.
    auto s = Song("Art", "T", "Alb");
    s->SetFilename(old);
    TcoverPicture cover;
    EXPECT_EQ(GetCoverPicture(*s, dir.Path(), cover, true), "");
    EXPECT_EQ(cover.Width(), 8);
    EXPECT_EQ(GetCoverPicture(*s, dir.Path(), cover, false), "");
    EXPECT_TRUE(cover.Empty()); // nothing found: cleared

    const std::string file = dir.Write("Folder.jpg", MakeJpeg(3, 5, 0x0000FF));
    EXPECT_EQ(GetCoverPicture(*s, dir.Path(), cover, false), file);
    EXPECT_EQ(cover.Width(), 3);
    EXPECT_EQ(cover.Height(), 5);
    s->SetFilename(png);
    EXPECT_EQ(GetCoverPicture(*s, dir.Path(), cover, true), file); // no embedded picture: the file
    dir.Write("Folder.jpg", "not a picture");
    EXPECT_EQ(GetCoverPicture(*s, dir.Path(), cover, false), file);
    EXPECT_TRUE(cover.Empty()); // unreadable file: cleared
}
