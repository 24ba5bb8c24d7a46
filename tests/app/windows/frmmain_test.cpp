// The concrete now-playing window, driven headless through the recording player's events, its commands
// and its settings: the now-playing details of a WAV song read by the shipped plug-in, the count panels,
// the position and volume bars, Move To and the clock.
#include "app/windows/frmmain.h"

#include "controls/daskellabel.h"
#include "controls/digitalclock2.h"
#include "controls/htmllistbox.h"
#include "controls/orvanebutton.h"
#include "controls/orvanescrollbar.h"
#include "controls/qtfont.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/plugins/taggerloader.h"
#include "core/songs/audiotag.h"
#include "core/songs/audiotaglist.h"
#include "core/util/orvanexutils.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/generatedlibrary.h"
#include "support/guievents.h"
#include "support/localtestwindow.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "support/testmediaplayer.h"
#include "support/wavbytes.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

// A move with the left button held, in the coordinates of w.
void DragTo(QWidget* w, QPoint to)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(to), w->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

class TtestMainWindow : public TlocalTestWindow<TfrmMain>
{
public:
    bool PartyPlayOption(TpartyPlayOption option) const override { return locked.count(option) > 0; }

    std::set<TpartyPlayOption> locked;
};

class FrmMainTest : public ::testing::Test
{
protected:
    void SetUp() override { window_ = CreateMainWindow<TtestMainWindow>(); }
    void TearDown() override
    {
        window_.reset();
        ReleaseTaggerLoader();
    }

    TtestMainWindow& Window() { return static_cast<TtestMainWindow&>(*window_); }
    TtestMediaPlayer& Player() { return *Window().player; }
    TaudioTagList& Queue() { return Window().GetJukebox().Queue(); }
    std::string Text(const char* label) { return platform::FromQString(Window().Label(label)->text()); }

    void Start(const std::function<void(TIniFile&)>& write = {})
    {
        if (write) {
            TIniFile ini(Window().GetSettingsFile());
            write(ini);
            std::filesystem::create_directories(std::filesystem::path(ini.FileName()).parent_path());
            ini.UpdateFile();
        }
        Window().LoadPreferences();
    }

    // The library filled with generated songs, announced as a load announces it.
    void Fill(int songs)
    {
        const TgeneratedLibrary generated({.Songs = songs, .Artists = 4, .Albums = 6}, 1);
        TaudioTagList& global = Window().GetJukeboxList().GlobalList();
        global.BeginUpdate();
        for (const TaudioTag* song : generated.GlobalList().Items())
            global.AddCopy(song);
        global.EndUpdate();
    }

    void QueueSongs(int count)
    {
        const TaudioTagList& global = Window().GetJukeboxList().GlobalList();
        for (int i = 0; i < count; ++i)
            Queue().AddCopy(global.GetItem(i));
    }

    std::vector<std::string> QueueFiles()
    {
        std::vector<std::string> files;
        for (const TaudioTag* song : Queue().Items())
            files.push_back(song->Filename());
        return files;
    }

    TempDir home_;
    ScopedEnv homeEnv_{"ORVANE_HOME", home_.Path() + "/"};
    TempDir music_;
    TfakePrompts prompts_;
    TfakeDialogs dialogs_;
    TmainWindowPtr window_;
};

} // namespace

TEST_F(FrmMainTest, APlayingWavSongFillsTheNowPlayingDetailsAndNoSongEmptiesThem)
{
    Start();
    TaggerLoader().SetSupportLevel(2);
    TaggerLoader().SetPluginFolder(platform::TagPluginsFolder());
    ASSERT_GE(TaggerLoader().GetCount(), 1) << "the shipped WAV reader";
    const std::string file = music_.Write("Band/First/Opening.wav", wavbytes::Pcm(44100, 2, 16, 44100 * 3));
    TaudioTagList songs;
    songs.SetOwnsObjects(true);
    const TaudioTag* song = songs.AddFile(file);
    ASSERT_NE(song, nullptr);

    Player().DoPlaybackStart(song);
    EXPECT_EQ(Text("lblTrack"), song->Title());
    EXPECT_EQ(Text("lblArtist"), song->Artist());
    EXPECT_EQ(Text("lblDuration"), "0:03");
    EXPECT_EQ(Text("lblMode"), "Stereo");
    EXPECT_EQ(Text("lblBitrate"), std::to_string(song->BitRate()) + "kbps");
    EXPECT_EQ(Text("lblSampleRate"), "44.1kHz");
    EXPECT_EQ(Text("lblFileType"), "WAV");

    Player().DoPlaybackStart(nullptr);
    for (const char* label : {"lblTrack", "lblArtist", "lblAlbum", "lblDuration", "lblMode", "lblBitrate",
                              "lblSampleRate", "lblFileType"})
        EXPECT_EQ(Text(label), "") << label;
}

TEST_F(FrmMainTest, TheCountPanelsFollowTheLibraryTheQueueAndTheActivePlaylist)
{
    Start();
    EXPECT_EQ(Text("lblActiveList"), "[none]");
    // Each label takes its font from the "Other" set by its tag, and follows the set's changes.
    TtagFonts& fonts = Window().OtherFonts();
    TFontDesc values = fonts.AlbumFont();
    values.Size += 3;
    fonts.SetFont(TtagFonts::fkAlbum, values);
    EXPECT_EQ(Window().Label("lblQueueCount")->font(), ToQFont(values));
    EXPECT_EQ(Window().Label("lblTrack")->font(), ToQFont(fonts.TitleFont()));
    EXPECT_EQ(Window().Label("lblTrack")->FontColor(), fonts.TitleFont().Color);
    Fill(60);
    const TcustomJukeboxList& library = Window().GetJukeboxList();
    EXPECT_EQ(Text("lblGlobalCount"), "60");
    EXPECT_EQ(Text("lblGlobalDuration"), SecondsToHMS(library.GlobalList().TotalDuration()));
    EXPECT_EQ(Text("lblArtistCount"), std::to_string(library.Artists().Count()));
    EXPECT_EQ(Text("lblAlbumCount"), std::to_string(library.Albums().Count()));

    QueueSongs(3);
    EXPECT_EQ(Text("lblQueueCount"), "3");
    EXPECT_EQ(Text("lblQueueDuration"), SecondsToMS(static_cast<int>(Queue().TotalDuration())));
    Queue().Delete(0);
    EXPECT_EQ(Text("lblQueueCount"), "2");

    auto* party = new TaudioTagList;
    party->SetTitle("Party Mix");
    for (int i = 0; i < 4; ++i)
        party->AddCopy(library.GlobalList().GetItem(i));
    Window().GetJukeboxList().Playlists().Add(party);
    Window().GetJukebox().SetActivePreloadedList(party);
    EXPECT_EQ(Text("lblActiveList"), "Party Mix");
    EXPECT_EQ(Text("lblPlaylistCount"), "4");
    EXPECT_EQ(Text("lblPlaylistDuration"), SecondsToHMS(party->TotalDuration()));
    Window().GetJukebox().SetActivePreloadedList(nullptr);
    EXPECT_EQ(Text("lblActiveList"), "[none]");
    EXPECT_EQ(Text("lblPlaylistCount"), "0");
    EXPECT_EQ(Text("lblPlaylistDuration"), "0:00:00");
}

TEST_F(FrmMainTest, ThePositionBarFollowsThePlayerAndSeeksThroughTheGate)
{
    Start();
    TorvaneScrollBar& bar = *Window().TrackPositionBar();
    Player().DoTimeChange(65'000, 200'000);
    EXPECT_EQ(bar.Max(), 200'000);
    EXPECT_EQ(bar.Value(), 65'000);
    EXPECT_EQ(Text("lblDuration"), "3:20");
    EXPECT_EQ(Player().CountCalls("SetPosition 65000"), 0u) << "following the player is no seek";

    bar.SetValue(120'000);
    EXPECT_EQ(Player().CountCalls("SetPosition 120000"), 1u);

    // A length the player does not know gives the least range, never a negative one.
    Player().DoTimeChange(5'000, 0xFFFFFFFFu);
    EXPECT_EQ(bar.Max(), 1);
    EXPECT_EQ(bar.Value(), 0);
    EXPECT_EQ(Text("lblDuration"), "0:00");

    Player().DoTimeChange(65'000, 200'000);
    Player().DoStateChange(mpsStopped);
    EXPECT_EQ(bar.Value(), 0);

    // Party play forbidding track searching leaves the song where it was.
    Window().locked = {TpartyPlayOption::TrackSearching};
    Window().SetPartyPlayEnabled(true);
    EXPECT_FALSE(bar.isEnabled());
    bar.SetValue(30'000);
    EXPECT_EQ(Player().CountCalls("SetPosition 30000"), 0u);
}

TEST_F(FrmMainTest, TheVolumeBarIsLoudestAtTheTopMovesEveryWayAndPartyPlayDisablesBothBars)
{
    Start();
    TorvaneScrollBar& volume = *Window().VolumeBar();
    EXPECT_EQ(volume.Max(), 255);
    Player().DoVolumeChange(200);
    EXPECT_EQ(volume.Value(), 55);
    // Arrows held, the thumb dragged and the wheel each lower and raise the volume.
    const QPoint at(volume.width() / 2, 4);
    const auto hold = [&volume, at](QWidget* part) {
        QTest::mousePress(part, Qt::LeftButton, {}, at);
        volume.RepeatTick();
        QTest::mouseRelease(part, Qt::LeftButton, {}, at);
    };
    hold(volume.DownButton());
    EXPECT_EQ(Player().Volume, 199);
    hold(volume.UpButton());
    EXPECT_EQ(Player().Volume, 200);
    for (const int pixels : {3, -6}) {
        const int before = Player().Volume;
        QTest::mousePress(volume.Thumb(), Qt::LeftButton, {}, at);
        DragTo(volume.Thumb(), at + QPoint(0, pixels));
        QTest::mouseRelease(volume.Thumb(), Qt::LeftButton, {}, at + QPoint(0, pixels));
        EXPECT_EQ(Player().Volume<before, pixels> 0) << pixels;
    }
    Player().DoVolumeChange(200);
    Wheel(&volume, -120);
    EXPECT_LT(Player().Volume, 200);
    Wheel(&volume, 120);
    EXPECT_EQ(Player().Volume, 200);
    volume.SetValue(0);
    EXPECT_EQ(Player().Volume, 255);
    volume.SetValue(255);
    EXPECT_EQ(Player().Volume, 0);

    Window().SetPartyPlayEnabled(true);
    EXPECT_FALSE(volume.isEnabled());
    EXPECT_FALSE(Window().TrackPositionBar()->isEnabled());
    Wheel(&volume, 120);
    EXPECT_EQ(Player().Volume, 0);
    Window().SetPartyPlayEnabled(false);
    EXPECT_TRUE(volume.isEnabled());
    EXPECT_TRUE(Window().TrackPositionBar()->isEnabled());
}

TEST_F(FrmMainTest, MoveToTakesTheSelectedEntryWhereThePopupSays)
{
    Start();
    Fill(20);
    ThtmlListBox& list = *Window().QueueList();
    QueueSongs(1);
    list.SetItemIndex(0);
    list.SetSelected(0, true);
    Window().actnQueueMoveTo->trigger();
    EXPECT_TRUE(dialogs_.asked.empty()) << "one entry has nowhere to go";

    QueueSongs(4);
    std::vector<std::string> order = QueueFiles();
    list.clearSelection();
    Window().actnQueueMoveTo->trigger();
    EXPECT_TRUE(dialogs_.asked.empty()) << "nothing selected";

    list.SetItemIndex(2);
    list.SetSelected(2, true);
    dialogs_.queuePositionAnswers.push_back(0);
    // The button runs the command, as the menu does.
    TorvaneButton* button = Window().QueueMoveToButton();
    const QPoint centre = button->rect().center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, centre, button->mapToGlobal(centre), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &event);
    }
    ASSERT_EQ(dialogs_.asked.size(), 1u);
    EXPECT_EQ(dialogs_.asked[0].kind, "queue position");
    EXPECT_EQ(dialogs_.asked[0].detail.substr(0, 7), "0..4 2 ");
    std::rotate(order.begin(), order.begin() + 2, order.begin() + 3);
    EXPECT_EQ(QueueFiles(), order);
    EXPECT_EQ(list.ItemIndex(), 0);
    EXPECT_TRUE(list.Selected(0));

    // Party play with the queue controls disabled does not even ask.
    Window().locked = {TpartyPlayOption::QueueControls};
    Window().SetPartyPlayEnabled(true);
    list.SetItemIndex(3);
    list.SetSelected(3, true);
    Window().QueueMoveTo();
    EXPECT_EQ(dialogs_.asked.size(), 1u);
    EXPECT_EQ(QueueFiles(), order);
}

TEST_F(FrmMainTest, TheClockStyleIsTwoValuedAndTheViewSettingsRoundTrip)
{
    Start([](TIniFile& ini) { ini.WriteInteger("General", "ClockStyle", 7); });
    TdigitalClock2& clock = *Window().Clock();
    EXPECT_EQ(clock.ClockStyle(), TclockStyle::cs12hr);
    clock.OnClick(&clock);
    EXPECT_EQ(clock.ClockStyle(), TclockStyle::cs24hr);

    Window().SetQueueControlsVisible(false);
    Window().SetShowCoverArt(false);
    Window().SetShowDetailsWhenCoverPresent(false);
    TIniFile ini(Window().GetSettingsFile());
    Window().SaveSettings(ini);
    ini.UpdateFile();
    EXPECT_EQ(ini.ReadInteger("General", "ClockStyle", -1), 1);
    EXPECT_FALSE(ini.ReadBool("QueueControls", "Visible", true));
    EXPECT_FALSE(ini.ReadBool("Preferences", "ShowCoverArt", true));
    EXPECT_TRUE(ini.ReadBool("Preferences", "ShowQueueDetails", false));
    EXPECT_FALSE(ini.ReadBool("Preferences", "ShowDetailsWhenCoverPresent", true));

    window_.reset();
    window_ = CreateMainWindow<TtestMainWindow>();
    Start();
    EXPECT_EQ(Window().Clock()->ClockStyle(), TclockStyle::cs24hr);
    EXPECT_FALSE(Window().GetQueueControlsVisible());
    EXPECT_FALSE(Window().actnViewQueueControls->isChecked());
    EXPECT_FALSE(Window().GetShowCoverArt());
    EXPECT_TRUE(Window().GetShowQueueDetails());
    EXPECT_FALSE(Window().GetShowDetailsWhenCoverPresent());
}
