#include "app/windows/frmscreensaver.h"

#include "app/qt/services/activitymonitor.h"
#include "app/windows/screensaverhost.h"
#include "controls/imagecolorpanel.h"
#include "controls/qtfont.h"
#include "controls/scrollbanner3.h"
#include "core/captions/tagfonts.h"
#include "core/timers/idledetector.h"
#include "core/timers/threadedtimer.h"
#include "support/tempdir.h"
#include "support/testpictures.h"
#include "support/testsongs.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QScreen>
#include <QTest>

#include <memory>
#include <string>

namespace {

const std::string kRedTitle = "<font color=#ff0000>Orvane Jukebox";

class TfakeHost : public TscreenSaverHost
{
public:
    TfakeHost()
    {
        TFontDesc title;
        title.Name = "DejaVu Sans";
        title.Size = 18;
        title.Color = clYellow;
        fonts.SetTitleFont(title);
        fonts.SetArtistFont(title);
    }

    const TtagFonts& ScreenSaverFonts() const override { return fonts; }
    std::string AlbumArtFolder() const override { return covers.Path(); }

    TtagFonts fonts;
    TempDir covers;
};

class ScreenSaverTest : public ::testing::Test
{
protected:
    ScreenSaverTest() { saver.SetJukebox(&host); }

    // Shown and exposed, as the main window shows it.
    void Show()
    {
        saver.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&saver));
    }

    QSize CoverSize() const { return saver.ImagePanel()->Image().Graphic().size(); }

    TfakeHost host;
    TempDir songs;
    TfrmScreenSaver saver;
};

} // namespace

// Each song brings its caption in the screensaver fonts and its own cover, embedded picture first; a song
// without one leaves the screen without a cover rather than with the last song's. No song, or no main
// window, shows the red title and keeps the picture.
TEST_F(ScreenSaverTest, CaptionAndCoverFollowEachSong)
{
    TfrmScreenSaver unlinked;
    const auto bare = Song("Bea Wolf", "Low <Tide>", "Plain", 3);
    unlinked.SetSong(bare.get());
    EXPECT_EQ(unlinked.Banner()->Caption(), kRedTitle);

    auto embedded = Song("Ann Arbor", "Low Tide", "Shore");
    embedded->SetFilename(songs.Write(
        "tide.mp3", MakeId3WithPicture("image/jpeg", MakeJpeg(40, 30, 0xC02020), std::string(64, '\0'))));
    host.covers.Write("Ann Arbor - Shore.jpg", MakeJpeg(20, 60, 0x2020C0));
    saver.SetSong(embedded.get());
    EXPECT_EQ(saver.Banner()->Caption(), host.fonts.SongCaption(*embedded, tdfArtistTitleAlbumTrack));
    EXPECT_EQ(saver.Banner()->font().family(), ToQFont(host.fonts.TitleFont()).family());
    EXPECT_EQ(CoverSize(), QSize(40, 30));

    auto fromFolder = Song("Ann Arbor", "High Tide", "Shore");
    fromFolder->SetFilename(songs.Write("high.mp3", std::string(64, '\0')));
    saver.SetSong(fromFolder.get());
    EXPECT_EQ(CoverSize(), QSize(20, 60));
    saver.SetSong(nullptr);
    EXPECT_EQ(saver.Banner()->Caption(), kRedTitle);
    EXPECT_EQ(CoverSize(), QSize(20, 60));

    saver.SetSong(bare.get());
    EXPECT_TRUE(saver.ImagePanel()->Image().Empty());
}

// Shown, it covers the screen with the cursor hidden and the banner scrolling; a close stops it all, and a
// second close is refused. A key or a click closes it, mouse moves do not.
TEST_F(ScreenSaverTest, ShowCoversTheScreenUntilAKeyOrAClick)
{
    EXPECT_FALSE(saver.close());
    Show();
    EXPECT_TRUE(saver.Showing());
    EXPECT_EQ(saver.geometry(), saver.screen()->geometry());
    EXPECT_EQ(saver.cursor().shape(), Qt::BlankCursor);
    EXPECT_TRUE(saver.AnimateTimer()->Enabled());
    EXPECT_EQ(saver.ImagePanel()->geometry(), saver.rect());

    // A song starting meanwhile shows at once, still scrolling.
    const auto song = Song("Ann Arbor", "Low Tide");
    saver.SetSong(song.get());
    EXPECT_EQ(saver.Banner()->Caption(), host.fonts.SongCaption(*song, tdfArtistTitleAlbumTrack));
    EXPECT_TRUE(saver.Showing());

    EXPECT_TRUE(saver.close());
    EXPECT_FALSE(saver.Showing());
    EXPECT_FALSE(saver.AnimateTimer()->Enabled());
    EXPECT_FALSE(saver.Banner()->ScrollEnabled());
    EXPECT_EQ(saver.cursor().shape(), Qt::ArrowCursor);
    // The close query of a closed screensaver refuses.
    QCloseEvent again;
    QCoreApplication::sendEvent(&saver, &again);
    EXPECT_FALSE(again.isAccepted());

    Show();
    QWindow* window = saver.windowHandle();
    for (int i = 0; i < 4; ++i)
        QTest::mouseMove(window, QPoint(100 + i, 100));
    EXPECT_TRUE(saver.Showing());
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(103, 100));
    EXPECT_FALSE(saver.Showing());
    EXPECT_FALSE(saver.isVisible());

    Show();
    QTest::keyClick(window, Qt::Key_Space);
    EXPECT_FALSE(saver.isVisible());
    EXPECT_EQ(saver.cursor().shape(), Qt::ArrowCursor);
}

// The banner's random height stays on the screen, and at the top of one no taller than the banner.
TEST_F(ScreenSaverTest, BannerPlacementStaysOnSmallScreens)
{
    Show();
    const struct
    {
        QSize screen;
        int range;
    } cases[] = {{{300, 20}, 0}, {{300, 41}, 0}, {{12, 100}, 59}, {{0, 0}, 0}, {{640, 42}, 1}};
    for (const auto& c : cases) {
        saver.resize(640, 480);
        saver.AnimateTick();
        saver.resize(c.screen);
        EXPECT_EQ(saver.BannerRange(), c.range) << c.screen.width() << "x" << c.screen.height();
        EXPECT_LE(saver.Banner()->y(), c.range);
        for (int i = 0; i < 200; ++i) {
            saver.AnimateTick();
            const QRect banner = saver.Banner()->geometry();
            ASSERT_GE(banner.top(), 0);
            ASSERT_LE(banner.top(), std::max(0, c.range - 1));
            ASSERT_EQ(banner.left(), 0);
            ASSERT_EQ(banner.width(), c.screen.width());
            ASSERT_EQ(banner.height(), TfrmScreenSaver::kBannerHeight);
        }
    }
}

// The main window's idle tick: quiet ticks open it, jitter keeps it up, a click closes it.
TEST_F(ScreenSaverTest, IdleTickOpensAndClosesTheScreenSaver)
{
    TactivityMonitor monitor;
    monitor.Install();
    TidleDetector detector;

    monitor.AddActivity(3);
    ScreenSaverIdleTick(detector, monitor, nullptr, true);
    EXPECT_EQ(monitor.Count(), 0u);
    EXPECT_EQ(detector.IdleTime(), 0u);

    int ticks = 0;
    while (!saver.isVisible() && ticks < 100) {
        ScreenSaverIdleTick(detector, monitor, &saver, true);
        ++ticks;
    }
    EXPECT_EQ(ticks, 13);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&saver));
    EXPECT_TRUE(saver.Showing());

    for (int i = 0; i < 4; ++i)
        QTest::mouseMove(saver.windowHandle(), QPoint(50 + i, 60));
    EXPECT_EQ(monitor.Count(), 4u);
    ScreenSaverIdleTick(detector, monitor, &saver, true);
    EXPECT_TRUE(saver.Showing());

    monitor.AddActivity(TactivityMonitor::kMouseWeight);
    ScreenSaverIdleTick(detector, monitor, &saver, true);
    EXPECT_FALSE(saver.isVisible());
    EXPECT_EQ(detector.IdleTime(), 0u);
}

TEST(ScreenSaverForm, OneForTheWholeRun)
{
    EXPECT_EQ(FindScreenSaverForm(), nullptr);
    TfrmScreenSaver* form = GetScreenSaverForm();
    EXPECT_EQ(GetScreenSaverForm(), form);
    EXPECT_EQ(FindScreenSaverForm(), form);
}
