#include "core/captions/tagfonts.h"

#include "core/groupings/audiotagalbum.h"
#include "core/groupings/audiotagartist.h"
#include "markup/taggedtext.h"
#include "platform/inifile.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TFontDesc MakeFont(std::string name, int size, TColor color, TFontStyles style = {})
{
    TFontDesc font;
    font.Name = std::move(name);
    font.Size = size;
    font.Color = color;
    font.Style = style;
    return font;
}

// A set whose six fonts are told apart by their names, with the mark-up of each written out by hand.
class TagFontsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        fonts.SetArtistFont(MakeFont("Art", 10, RGBColor(0x12, 0x34, 0x56), {TFontStyle::fsBold}));
        fonts.SetAlbumFont(MakeFont("Alb", 9, clBlack, {TFontStyle::fsItalic}));
        fonts.SetTitleFont(MakeFont("Tit", 11, clWhite));
        fonts.SetCharacterFont(MakeFont("Chr", 8, clRed, {TFontStyle::fsUnderline}));
        fonts.SetDurationFont(MakeFont("Dur", 7, clBlue));
        fonts.SetIndexFont(MakeFont("Idx", 12, clLime, {TFontStyle::fsBold, TFontStyle::fsItalic}));
    }

    std::unique_ptr<TaudioTag> Song(std::string artist, std::string title, std::uint32_t duration = 200,
                                    std::uint32_t track = 0, std::string album = {})
    {
        auto tag = std::make_unique<TaudioTag>();
        tag->SetArtist(std::move(artist));
        tag->SetTitle(std::move(title));
        tag->SetDuration(duration);
        tag->SetTrackNo(track);
        tag->SetAlbum(std::move(album));
        tag->SetFilename("/music/x.mp3");
        return tag;
    }

    TtagFonts fonts;
    const std::string A = "<font name=\"Art\" color=##123456 size=10><b></i></u>";
    const std::string L = "<font name=\"Alb\" color=##000000 size=9></b><i></u>";
    const std::string T = "<font name=\"Tit\" color=##FFFFFF size=11></b></i></u>";
    const std::string C = "<font name=\"Chr\" color=##FF0000 size=8></b></i><u>";
    const std::string D = "<font name=\"Dur\" color=##0000FF size=7></b></i></u>";
    const std::string I = "<font name=\"Idx\" color=##00FF00 size=12><b><i></u>";
};

TEST_F(TagFontsTest, FontMarkupFollowsEachFont)
{
    EXPECT_EQ(fonts.ArtistFontMarkup(), A);
    EXPECT_EQ(fonts.AlbumFontMarkup(), L);
    EXPECT_EQ(fonts.TitleFontMarkup(), T);
    EXPECT_EQ(fonts.CharacterFontMarkup(), C);
    EXPECT_EQ(fonts.DurationFontMarkup(), D);
    EXPECT_EQ(fonts.IndexFontMarkup(), I);

    // The cached mark-up follows a new font and a system colour that resolves otherwise.
    fonts.SetTitleFont(MakeFont("New", 5, clWindowText));
    EXPECT_EQ(fonts.TitleFontMarkup(), "<font name=\"New\" color=##000000 size=5></b></i></u>");
    SetSystemColorResolver([](int) { return RGBColor(1, 2, 3); });
    EXPECT_EQ(fonts.TitleFontMarkup(), "<font name=\"New\" color=##010203 size=5></b></i></u>");
    SetSystemColorResolver(nullptr);
    EXPECT_EQ(fonts.TitleFontMarkup(), "<font name=\"New\" color=##000000 size=5></b></i></u>");
}

TEST_F(TagFontsTest, SongCaptionInEveryLayout)
{
    const auto song = Song("Abba", "SOS", 200, 7, "Arrival");
    const std::string abba = A + "Abba", sos = T + "SOS", dash = " " + C + "- ", dur = " " + D + "[3:20]";
    const std::string n = I + "007 " + C + ": ";
    const struct
    {
        TtagDisplayFormat format;
        std::string caption;
    } cases[] = {
        {tdfArtistTitle, abba + dash + sos},
        {tdfTitleArtist, sos + dash + abba},
        {tdfArtistTitleDuration, abba + dash + sos + dur},
        {tdfTitleArtistDuration, sos + dash + abba + dur},
        {tdfTitleDuration, sos + dur},
        {tdfTrackTitleDuration, n + sos + dur},
        {tdfTrackArtistTitleDuration, n + abba + dash + sos + dur},
        {tdfTrackArtistTitle, n + abba + dash + sos},
        {tdfTracktitle, n + sos},
        {tdfArtistTitleAlbumTrack,
         abba + dash + sos + " " + C + "[" + L + "Arrival " + C + "- " + D + "Track 7" + C + "]"},
        {tdfTimeArtistTitleFilename, "SOS - Abba"},
        {static_cast<TtagDisplayFormat>(42), "SOS - Abba"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fonts.SongCaption(*song, c.format), c.caption) << int(c.format);

    // Album without a track number; no album at all; durations beyond an hour keep counting minutes.
    song->SetTrackNo(0);
    EXPECT_EQ(fonts.SongCaption(*song, tdfArtistTitleAlbumTrack),
              abba + dash + sos + " " + C + "[" + L + "Arrival" + C + "]");
    song->SetAlbum("");
    song->SetTrackNo(1234);
    EXPECT_EQ(fonts.SongCaption(*song, tdfArtistTitleAlbumTrack), abba + dash + sos);
    EXPECT_EQ(fonts.SongCaption(*song, tdfTracktitle), I + "1234 " + C + ": " + sos);
    song->SetDuration(4500);
    EXPECT_EQ(fonts.SongCaption(*song, tdfTitleDuration), sos + " " + D + "[75:00]");
    song->SetDuration(0);
    EXPECT_EQ(fonts.SongCaption(*song, tdfTitleDuration), sos + " " + D + "[0:00]");

    // A song without an artist shows its stored file name in the title font, whatever the layout.
    const auto untagged = Song("", "Ignored");
    for (const auto format : {tdfArtistTitle, tdfTracktitle, tdfTimeArtistTitleFilename})
        EXPECT_EQ(fonts.SongCaption(*untagged, format), T + "/music/x.mp3");

    // Appending keeps what the buffer held.
    std::string out = "x";
    fonts.AppendSongCaption(out, *song, tdfTitleArtist);
    EXPECT_EQ(out, "x" + sos + dash + abba);
}

TEST_F(TagFontsTest, DataShowsAsWrittenInEveryCaption)
{
    const std::string evilArtist = "<b>Bad</b> > \x1B<font name=x>";
    const std::string evilTitle = "a<b";
    const std::string evilAlbum = "<Live>";
    const auto song = Song(evilArtist, evilTitle, 61, 3, evilAlbum);
    EXPECT_EQ(StripTags(fonts.SongCaption(*song, tdfTrackArtistTitleDuration)),
              "003 : " + evilArtist + " - " + evilTitle + " [1:01]");
    EXPECT_EQ(StripTags(fonts.SongCaption(*song, tdfArtistTitleAlbumTrack)),
              evilArtist + " - " + evilTitle + " [" + evilAlbum + " - Track 3]");
    EXPECT_EQ(StripTags(fonts.SongCaption(*song, tdfTimeArtistTitleFilename)),
              evilTitle + " - " + evilArtist);
    song->SetArtist("");
    song->SetFilename("/m/<odd>.mp3");
    EXPECT_EQ(StripTags(fonts.SongCaption(*song, tdfArtistTitle)), "/m/<odd>.mp3");

    // The data cannot switch fonts: every character of the artist is drawn in the artist font.
    song->SetArtist(evilArtist);
    const auto runs = ParseTaggedText(fonts.SongCaption(*song, tdfArtistTitle), TFontDesc{});
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].Text, evilArtist + " ");
    EXPECT_EQ(runs[0].Font.Name, "ART");
    EXPECT_TRUE(runs[0].Font.Bold());
    EXPECT_EQ(runs[1].Text, "- ");
    EXPECT_EQ(runs[2].Text, evilTitle);
    EXPECT_EQ(runs[2].Font.Name, "TIT");

    TaudioTagList list;
    list.SetTitle("<Mix> & >more<");
    EXPECT_EQ(StripTags(fonts.ListCaption(list, true)), "<Mix> & >more< (0 Tracks [0:00:00])");
    EXPECT_EQ(StripTags(fonts.AlbumCaption(list, "<A>", "<s>")), "<A> (0 Tracks [0:00<s>])");
    EXPECT_EQ(StripTags(fonts.TextCaption("<T>", "<s>")), "<T> <s>");
    TaudioTagArtist artist;
    EXPECT_EQ(StripTags(fonts.ArtistCaption(artist, "<Art>", true, "<s>")), "<Art> (0 Tracks<s>)");
    EXPECT_EQ(StripTags(fonts.ArtistIndexCaption(artist, "<", ">")), "< (0 Tracks>)");
}

TEST_F(TagFontsTest, SongStringsFillsOneLinePerSong)
{
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.Add(Song("Abba", "SOS").release());
    list.Add(Song("", "", 0).release());

    TStringList<TaudioTag> strings;
    strings.Add("old line");
    int changes = 0;
    strings.OnChange = [&](TStringList<TaudioTag>*) { ++changes; };
    fonts.SongStrings(strings, list, false, tdfArtistTitle);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(strings.Count(), 2);
    EXPECT_EQ(strings[0], A + "Abba " + C + "- " + T + "SOS");
    EXPECT_EQ(strings.Objects(0), list.GetItem(0));
    EXPECT_EQ(strings[1], T + "/music/x.mp3");
    EXPECT_EQ(strings.Objects(1), list.GetItem(1));

    fonts.SongStrings(strings, list, true, tdfTitleDuration);
    ASSERT_EQ(strings.Count(), 2);
    EXPECT_EQ(strings[0], I + "001 " + C + ": " + T + "SOS " + D + "[3:20]");
    EXPECT_EQ(strings[1], I + "002 " + C + ": " + T + "/music/x.mp3");

    TaudioTagList empty;
    fonts.SongStrings(strings, empty, true, tdfTitleDuration);
    EXPECT_EQ(strings.Count(), 0);
}

TEST_F(TagFontsTest, ListAlbumAndTextCaptions)
{
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetTitle("Party");
    EXPECT_EQ(fonts.ListCaption(list, true), A + "Party " + D + "(0 Tracks [0:00:00])");
    list.Add(Song("X", "One", 3725).release());
    EXPECT_EQ(fonts.ListCaption(list, true), A + "Party " + D + "(1 Track [1:02:05])");
    EXPECT_EQ(fonts.ListCaption(list, false), A + "Party " + D + "(1 Track)");
    list.Add(Song("X", "Two", 1).release());
    EXPECT_EQ(fonts.ListCaption(list, false), A + "Party " + D + "(2 Tracks)");

    // Album totals are m:ss with the minutes unbounded; the suffix sits inside the brackets.
    EXPECT_EQ(fonts.AlbumCaption(list, "Gold", ""), L + "Gold " + D + "(2 Tracks [62:06])");
    EXPECT_EQ(fonts.AlbumCaption(list, "Gold", " (3 Albums)"),
              L + "Gold " + D + "(2 Tracks [62:06 (3 Albums)])");
    TaudioTagList empty;
    EXPECT_EQ(fonts.AlbumCaption(empty, "", ""), L + " " + D + "(0 Tracks [0:00])");

    // The blank after the text stays even without a suffix.
    EXPECT_EQ(fonts.TextCaption("[Playlists]", ""), I + "[Playlists] ");
    EXPECT_EQ(fonts.TextCaption("[Playlists]", " (2 Playlists)"), I + "[Playlists] " + D + " (2 Playlists)");
}

TEST_F(TagFontsTest, ArtistCaptionsCountAlbumsAndTracks)
{
    TaudioTagArtist artist;
    artist.SetOwnsObjects(true);
    for (int i = 0; i < 12; ++i)
        artist.Add(Song("Abba", "Song").release());
    // No albums: no album part, whatever the switches say.
    EXPECT_EQ(fonts.ArtistIndexCaption(artist, "A", ", 3 Artists"), I + "A " + D + "(12 Tracks, 3 Artists)");
    EXPECT_EQ(fonts.ArtistCaption(artist, "Abba", true, ""), A + "Abba " + D + "(12 Tracks)");

    artist.Albums().SetOwnsObjects(true);
    const auto addAlbum = [&](const char* title) {
        auto album = std::make_unique<TaudioTagAlbum>();
        album->SetTitle(title);
        artist.Albums().AddAlbum(album.release());
    };
    addAlbum("Arrival");
    EXPECT_EQ(fonts.ArtistIndexCaption(artist, "Abba", ""), I + "Abba " + D + "(1 Album, 12 Tracks)");
    EXPECT_EQ(fonts.ArtistCaption(artist, "Abba", true, "!"), A + "Abba " + D + "(1 Album, 12 Tracks!)");
    EXPECT_EQ(fonts.ArtistCaption(artist, "Abba", false, ""), A + "Abba " + D + "(12 Tracks)");
    addAlbum("Voulez-Vous");
    artist.Delete(0);
    artist.Delete(0);
    artist.Delete(0);
    EXPECT_EQ(fonts.ArtistIndexCaption(artist, "Abba", ""), I + "Abba " + D + "(2 Albums, 9 Tracks)");
    while (artist.GetCount() > 1)
        artist.Delete(0);
    EXPECT_EQ(fonts.ArtistCaption(artist, "Abba", true, ""), A + "Abba " + D + "(2 Albums, 1 Track)");
}

TEST(TagFonts, FilterKeyNameKeepsAsciiLettersAndDigits)
{
    EXPECT_EQ(TtagFonts::FilterKeyName("Track Details Values & Clock"), "TrackDetailsValuesClock");
    EXPECT_EQ(TtagFonts::FilterKeyName("Timer/Clock"), "TimerClock");
    EXPECT_EQ(TtagFonts::FilterKeyName("Ünïcode 9_z-Z"), "ncode9zZ");
    EXPECT_EQ(TtagFonts::FilterKeyName(""), "");
}

TEST(TagFonts, SettingsWrittenInKeyOrderAndReadBack)
{
    TtagFonts fonts;
    fonts.SetNiceName("Track List");
    fonts.SetAlbumFontNiceName("Album");
    fonts.SetArtistFontNiceName("Artist");
    fonts.SetTitleFontNiceName("Track Title");
    fonts.SetDurationFontNiceName("Duration");
    fonts.SetIndexFontNiceName("Track Number");
    fonts.SetColorNiceName("Background Color");
    fonts.SetAlbumFont(MakeFont("Arial", 9, RGBColor(0x80, 0x80, 0xFF), {TFontStyle::fsItalic}));
    fonts.SetArtistFont(MakeFont("Arial Black", 27, RGBColor(0x81, 0xFE, 0xDC), {TFontStyle::fsBold}));
    fonts.SetTitleFont(MakeFont("Tahoma", 11, clWindowText, {TFontStyle::fsUnderline}));
    fonts.SetCharacterFont(MakeFont("Skipped", 3, clRed));
    fonts.SetColor(RGBColor(1, 2, 3));

    TIniFile ini("");
    fonts.SaveSettings(ini, "Track List");
    // The character font has no nice name and is not written; underline never is.
    EXPECT_EQ(ini.ToText(),
              "[TrackList]\r\n"
              "AlbumColor=#8080FF\r\nAlbumSize=9\r\nAlbumName=Arial\r\nAlbumBold=0\r\nAlbumItalic=1\r\n"
              "ArtistColor=#81FEDC\r\nArtistSize=27\r\nArtistName=Arial Black\r\nArtistBold=1\r\n"
              "ArtistItalic=0\r\n"
              "TrackTitleColor=#000000\r\nTrackTitleSize=11\r\nTrackTitleName=Tahoma\r\n"
              "TrackTitleBold=0\r\nTrackTitleItalic=0\r\n"
              "DurationColor=#000000\r\nDurationSize=8\r\nDurationName=MS Sans Serif\r\n"
              "DurationBold=0\r\nDurationItalic=0\r\n"
              "TrackNumberColor=#000000\r\nTrackNumberSize=8\r\nTrackNumberName=MS Sans Serif\r\n"
              "TrackNumberBold=0\r\nTrackNumberItalic=0\r\n"
              "BackgroundColor=#010203\r\n");

    TtagFonts loaded;
    loaded.AssignFonts(fonts, true);
    loaded.SetAlbumFont(TFontDesc{});
    loaded.SetArtistFont(MakeFont("Old", 1, clWhite, {TFontStyle::fsItalic, TFontStyle::fsStrikeOut}));
    loaded.SetColor(clWhite);
    int changes = 0;
    loaded.OnChange = [&](TtagFonts* sender) {
        EXPECT_EQ(sender, &loaded);
        ++changes;
    };
    loaded.LoadSettings(ini, "Track List");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(loaded.AlbumFont(), fonts.AlbumFont());
    // Bold and italic come from the file; other styles stay.
    EXPECT_EQ(loaded.ArtistFont(), MakeFont("Arial Black", 27, RGBColor(0x81, 0xFE, 0xDC),
                                            {TFontStyle::fsBold, TFontStyle::fsStrikeOut}));
    EXPECT_EQ(loaded.TitleFont(), MakeFont("Tahoma", 11, clBlack, {TFontStyle::fsUnderline}));
    EXPECT_EQ(loaded.Color(), RGBColor(1, 2, 3));
    // The character font read the unprefixed keys, which were not there, and kept its values.
    EXPECT_EQ(loaded.CharacterFont(), fonts.CharacterFont());

    // Saving what was loaded writes the same text.
    TIniFile again("");
    loaded.SaveSettings(again, "TrackList");
    EXPECT_EQ(again.ToText(), ini.ToText());
}

TEST(TagFonts, LoadingWithoutKeys)
{
    TIniFile ini("");
    ini.LoadFromText("[Set]\r\nColor=#00FF00\r\nSize=14\r\nName=Courier\r\nBold=1\r\nItalic=1\r\n"
                     "ArtistColor=bad\r\nArtistSize=x\r\nCharacterSize=2147483647\r\n");
    TtagFonts fonts;
    fonts.SetColor(clWhite);
    fonts.SetArtistFontNiceName("Artist");
    fonts.SetTitleFont(MakeFont("Keep", 5, clWindowText));
    fonts.LoadSettings(ini, "S e t!");
    // Fonts without a nice name read the unprefixed keys.
    EXPECT_EQ(fonts.AlbumFont(), MakeFont("Courier", 14, clLime, {TFontStyle::fsBold, TFontStyle::fsItalic}));
    EXPECT_EQ(fonts.IndexFont(), fonts.AlbumFont());
    EXPECT_EQ(fonts.TitleFont(), fonts.AlbumFont());
    // Bad colour text is black; an unreadable size keeps the old one.
    EXPECT_EQ(fonts.ArtistFont(), MakeFont("MS Sans Serif", 8, clBlack));
    fonts.SetCharacterFontNiceName("Character");
    fonts.SetCharacterFont(MakeFont("Keep", 9, clBlack));
    fonts.LoadSettings(ini, "Set");
    EXPECT_EQ(fonts.CharacterFont().Size, 9) << "a size no screen could show keeps the old one";
    // Without a colour key the background turns black.
    EXPECT_EQ(fonts.Color(), clBlack);

    // A missing key leaves the font as it was, a system colour included.
    TIniFile none("");
    fonts.SetArtistFont(MakeFont("Keep", 5, clWindowText));
    fonts.LoadSettings(none, "Set");
    EXPECT_EQ(fonts.ArtistFont(), MakeFont("Keep", 5, clWindowText));
    EXPECT_EQ(fonts.TitleFont(), fonts.AlbumFont());
}

TEST(TagFonts, ChangeNotifications)
{
    TtagFonts fonts;
    int changes = 0;
    fonts.OnChange = [&](TtagFonts*) { ++changes; };

    fonts.SetArtistFont(TFontDesc{});
    fonts.SetColor(clRed);
    fonts.SetColor(clRed);
    EXPECT_EQ(changes, 3);
    // Names are plain values.
    fonts.SetNiceName("X");
    fonts.SetTitleFontNiceName("Y");
    fonts.SetColorNiceName("Z");
    EXPECT_EQ(changes, 3);

    // Nested updates notify once, when the outer one closes.
    changes = 0;
    fonts.BeginUpdate();
    fonts.BeginUpdate();
    fonts.SetIndexFont(TFontDesc{});
    fonts.SetColor(clBlue);
    fonts.EndUpdate();
    EXPECT_EQ(changes, 0);
    fonts.EndUpdate();
    EXPECT_EQ(changes, 1);
    // The count never goes below 0: a stray EndUpdate only notifies.
    fonts.EndUpdate();
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(fonts.UpdateCount(), 0);
    fonts.SetColor(clBlue);
    EXPECT_EQ(changes, 3);

    // AssignFonts copies in one update; the names only when asked.
    TtagFonts source;
    source.SetNiceName("Source");
    source.SetArtistFontNiceName("Artist");
    source.SetColorNiceName("Back");
    source.SetDurationFont(MakeFont("D", 3, clGreen));
    source.SetColor(clNavy);
    changes = 0;
    fonts.AssignFonts(source, false);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(fonts.DurationFont(), source.DurationFont());
    EXPECT_EQ(fonts.Color(), clNavy);
    EXPECT_EQ(fonts.NiceName(), "X");
    EXPECT_EQ(fonts.TitleFontNiceName(), "Y");
    fonts.AssignFonts(source, true);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(fonts.NiceName(), "Source");
    EXPECT_EQ(fonts.ArtistFontNiceName(), "Artist");
    EXPECT_EQ(fonts.TitleFontNiceName(), "");
    EXPECT_EQ(fonts.ColorNiceName(), "Back");

    // Inside an outer update, loading does not notify on its own.
    TIniFile ini("");
    fonts.BeginUpdate();
    fonts.LoadSettings(ini, "Set");
    EXPECT_EQ(changes, 2);
    fonts.EndUpdate();
    EXPECT_EQ(changes, 3);
}

} // namespace
