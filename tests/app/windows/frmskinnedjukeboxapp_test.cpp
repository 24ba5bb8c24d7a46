// The skinned main window: its frame and skin, full screen and the geometry settings, driven headless with
// the recording player and the shipped Default skin.
#include "app/windows/frmskinnedjukeboxapp.h"

#include "app/dialogs/frmchoosecd.h"
#include "app/dialogs/frmjukeboxskin.h"
#include "app/dialogs/frmprogress.h"
#include "app/skins/pixelfont.h"
#include "app/skins/skinfolder.h"
#include "app/windows/menutoolbutton.h"
#include "controls/daskelbitmap.h"
#include "controls/daskellabel.h"
#include "controls/digitaldisplay.h"
#include "controls/htmllistbox.h"
#include "controls/noscrolltreeview.h"
#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "controls/qtcolor.h"
#include "controls/qtfont.h"
#include "controls/scrollbanner3.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/songs/audiotag.h"
#include "core/songs/audiotaglist.h"
#include "core/util/promptservice.h"
#include "markup/color.h"
#include "markup/htmlcolor.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "support/fakeprompts.h"
#include "support/generatedlibrary.h"
#include "support/guievents.h"
#include "support/localtestwindow.h"
#include "support/scaledskin.h"
#include "support/tempdir.h"
#include "support/testmediaplayer.h"
#include "support/testpictures.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>

namespace {

class TtestSkinnedWindow : public TlocalTestWindow<TfrmSkinnedJukeboxApp>
{
public:
    bool PartyPlayOption(TpartyPlayOption option) const override { return locked.count(option) > 0; }

    std::set<TpartyPlayOption> locked;
};

QRect ScreenRect()
{
    return QGuiApplication::primaryScreen()->geometry();
}

// Pixels of a rendered control clearly leaning to red.
int ReddishPixels(QWidget* control)
{
    const QImage image = control->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > c.green() + 60 && c.red() > c.blue() + 60)
                ++count;
        }
    return count;
}

void Click(QWidget* target, QPoint at = {4, 4})
{
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
}

void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, target->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Presses at `from`, moves by `by` and lets go, the way a hand drags.
void Drag(QWidget* target, QPoint from, QPoint by)
{
    const QPoint global = target->mapToGlobal(from);
    const auto send = [target](QEvent::Type type, QPoint local, QPoint screen, Qt::MouseButtons buttons) {
        QMouseEvent event(type, local, screen, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    send(QEvent::MouseButtonPress, from, global, Qt::LeftButton);
    send(QEvent::MouseMove, from + by / 2, global + by / 2, Qt::LeftButton);
    send(QEvent::MouseMove, from + by, global + by, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, from + by, global + by, Qt::NoButton);
}

struct TfontsSeen
{
    std::string family;
    QColor base;
};

std::unique_ptr<TaudioTag> Song(const std::string& name)
{
    auto song = std::make_unique<TaudioTag>();
    song->SetFilename("/music/" + name + ".wav");
    song->SetArtist("Artist");
    song->SetTitle(name);
    song->SetDuration(60);
    return song;
}

class FrmSkinnedJukeboxAppTest : public ::testing::Test
{
protected:
    void SetUp() override { window_ = CreateMainWindow<TtestSkinnedWindow>(); }

    TtestSkinnedWindow& Window() { return static_cast<TtestSkinnedWindow&>(*window_); }

    // Loads the preferences from a settings file the test writes first.
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

    static void Windowed(TIniFile& ini, int left, int top, int width, int height)
    {
        ini.WriteBool("Geometry", "FullScreen", false);
        ini.WriteInteger("Geometry", "Left", left);
        ini.WriteInteger("Geometry", "Top", top);
        ini.WriteInteger("Geometry", "Width", width);
        ini.WriteInteger("Geometry", "Height", height);
    }

    template <class T>
    T* Child(const char* name)
    {
        return Window().findChild<T*>(platform::ToQString(name));
    }

    TmainWindowPtr window_;
};

TEST_F(FrmSkinnedJukeboxAppTest, TheWindowIsBorderlessAndItsSkinnableControlsAreRegistered)
{
    EXPECT_TRUE(Window().windowFlags().testFlag(Qt::FramelessWindowHint));
    for (const char* name :
         {"opnlTitle", "obtnExit", "obtnMenu", "obtnHelp", "obtnMinimize", "obtnMaximize", "opnlBodyTop",
          "opnlBodyLeft", "opnlBodyRight", "opnlBodyBottom", "opnlControls", "ombtnControls", "sbJukeboxList",
          "sbTrackList", "sbQueueList", "opnlJukeboxListTop", "opnlTrackListBottom", "opnlQueueLeft",
          "pnlJukeboxListLeft"})
        EXPECT_NE(Window().SkinComponents().Find(name), nullptr) << name;
    ASSERT_EQ(Window().SkinComponents().FontSets().size(), 6u);
    EXPECT_EQ(Window().SkinComponents().FontSets()[4]->NiceName(), "Other");
    EXPECT_EQ(Window().actnViewFullScreen->text(), "&Full Screen");
    QStringList captions;
    for (const QToolButton* button : Child<QToolBar>("tbMain")->findChildren<QToolButton*>())
        if (button->objectName().startsWith("tb"))
            captions << button->text();
    EXPECT_EQ(platform::FromQString(captions.join("|")),
              "&File|&Settings|&Control|&Random Play|&Queue|Stac&ker|&Playlists|"
              "Party Pla&y|R&eports|&View|&Help");
    EXPECT_EQ(platform::FromQString(Window().actnViewFullScreen->toolTip()).find("Screena"),
              std::string::npos);
}

TEST_F(FrmSkinnedJukeboxAppTest, TheDefaultSkinReachesTheTitleFramesButtonsAndBars)
{
    Start();
    EXPECT_FALSE(Window().TitlePanel()->BitmapTopCenter().isNull());
    EXPECT_FALSE(Child<TorvanePanel>("opnlBodyLeft")->BitmapLeftCenter().isNull() &&
                 Child<TorvanePanel>("opnlBodyLeft")->Bitmap().isNull());
    EXPECT_FALSE(Child<TorvaneButton>("obtnExit")->SkinBitmap().isNull());
    EXPECT_FALSE(Window().ControlsButton()->SkinBitmap().isNull());
    EXPECT_FALSE(Window().TrackListBar()->BackBitmap().isNull());
    // The panels draw the skin, not their plain face: the title's shading runs down its middle.
    const QImage title = Window().TitlePanel()->grab().toImage();
    std::set<QRgb> shades;
    for (int y = 0; y < title.height(); ++y)
        shades.insert(title.pixel(title.width() / 2, y));
    EXPECT_GT(shades.size(), 4u);
    // The bars take the skin's width inside their layouts.
    QCoreApplication::processEvents();
    EXPECT_EQ(Window().TrackListBar()->width(), Window().TrackListBar()->BackBitmap().width());
    EXPECT_EQ(Window().OtherFonts().CharacterFont().Name, "Arial");
    // Every font set follows the skin file, the window's own "Other" set included.
    EXPECT_EQ(Window().TrackListFonts().ArtistFont().Color, HtmlToColor("#FFD080"));
    EXPECT_EQ(Window().OtherFonts().AlbumFont().Size,
              TIniFile(Window().GetSkinFile()).ReadInteger("Other", "QueueDetailsValuesSize", -1));
}

TEST_F(FrmSkinnedJukeboxAppTest, ASkinColourReachesTheTitleButtonsPixels)
{
    Start();
    auto* exit = Child<TorvaneButton>("obtnExit");
    Window().ApplySkinColors(clBlue, clBlue);
    EXPECT_EQ(ReddishPixels(exit), 0);
    Window().ApplySkinColors(clRed, clRed);
    EXPECT_GT(ReddishPixels(exit), 0);
    EXPECT_EQ(Window().SkinFolder().ButtonColor(), clRed);
}

TEST_F(FrmSkinnedJukeboxAppTest, TheFirstStartIsFullScreenAndLeavingItCentresTheDesignBounds)
{
    Start();
    const QRect screen = ScreenRect();
    EXPECT_TRUE(Window().GetFullScreen());
    EXPECT_TRUE(Window().actnViewFullScreen->isChecked());
    EXPECT_TRUE(Child<TorvaneButton>("obtnMaximize")->Checked());
    EXPECT_EQ(Window().geometry(), screen);
    Window().actnViewFullScreen->trigger();
    EXPECT_FALSE(Window().GetFullScreen());
    EXPECT_FALSE(Child<TorvaneButton>("obtnMaximize")->Checked());
    EXPECT_EQ(Window().geometry(), QRect((screen.width() - 800) / 2, (screen.height() - 600) / 2, 800, 600));
}

TEST_F(FrmSkinnedJukeboxAppTest, AWindowedStartIsCentredWithoutAStoredPlace)
{
    const QRect screen = ScreenRect();
    Start([](TIniFile& ini) {
        ini.WriteBool("Geometry", "FullScreen", false);
        ini.WriteInteger("Geometry", "Width", 500);
        ini.WriteInteger("Geometry", "Height", 400);
    });
    EXPECT_FALSE(Window().GetFullScreen());
    EXPECT_EQ(Window().geometry(), QRect((screen.width() - 500) / 2, (screen.height() - 400) / 2, 500, 400));
}

TEST_F(FrmSkinnedJukeboxAppTest, FullScreenReturnsToTheStoredBoundsAndSavingKeepsThem)
{
    Start([](TIniFile& ini) {
        Windowed(ini, 20, 30, 500, 400);
        ini.WriteBool("Geometry", "FullScreen", true);
    });
    ASSERT_TRUE(Window().GetFullScreen());
    TIniFile saved(Window().GetSettingsFile());
    Window().SetFullScreen(true);
    Window().SaveSettings(saved);
    EXPECT_TRUE(saved.ReadBool("Geometry", "FullScreen", false));
    EXPECT_EQ(saved.ReadInteger("Geometry", "Left", -1), 20);
    EXPECT_EQ(saved.ReadInteger("Geometry", "Width", -1), 500);
    // Saving ends full screen at the stored bounds.
    EXPECT_FALSE(Window().GetFullScreen());
    EXPECT_EQ(Window().geometry(), QRect(20, 30, 500, 400));
}

TEST_F(FrmSkinnedJukeboxAppTest, APlaceOffEveryScreenComesBackOnScreen)
{
    const QRect screen = ScreenRect();
    Start([](TIniFile& ini) { Windowed(ini, 9000, -5000, 500, 400); });
    const QRect placed = Window().geometry();
    EXPECT_EQ(placed.size(), QSize(500, 400));
    EXPECT_TRUE(screen.contains(placed.topLeft())) << placed.x() << "," << placed.y();
    // A place that is on screen stays where it is.
    EXPECT_EQ(TfrmSkinnedJukeboxApp::OnScreen(QRect(10, 10, 300, 200)), QRect(10, 10, 300, 200));
    // Too large for the screen: it shrinks to fit.
    const QRect huge = TfrmSkinnedJukeboxApp::OnScreen(QRect(-20000, 0, 20000, 20000));
    EXPECT_TRUE(screen.contains(huge));
}

TEST_F(FrmSkinnedJukeboxAppTest, TheSkinWrittenAtExitIsTheUsersCopyWithTheColoursInUse)
{
    Start();
    const std::string shipped = Window().GetSkinFile();
    ASSERT_TRUE(std::filesystem::exists(shipped)) << shipped;
    const std::string shippedText = TIniFile(shipped).ToText();
    Window().ApplySkinColors(clRed, clLime);
    Window().SavePreferences();
    const std::string written = Window().GetSkinFile();
    EXPECT_EQ(written.rfind(TskinFolder::GetSkinsFolder(), 0), 0u) << written;
    const TIniFile copy(written);
    EXPECT_EQ(HtmlToColor(copy.ReadString("Colors", "ButtonColor", "")), clRed);
    EXPECT_EQ(HtmlToColor(copy.ReadString("Colors", "PanelColor", "")), clLime);
    if (written != shipped) {
        EXPECT_EQ(TIniFile(shipped).ToText(), shippedText);
    }
    const TIniFile settings(Window().GetSettingsFile());
    EXPECT_FALSE(settings.ReadString("Skins", "SkinFile", "").empty());
}

TEST_F(FrmSkinnedJukeboxAppTest, TheBannerShowsThePlayingSongAndTheTitleWhenStopped)
{
    Start();
    const TgeneratedLibrary generated({.Songs = 3, .Artists = 1, .Albums = 1}, 1);
    const TaudioTag& song = *generated.GlobalList().Items()[0];
    Window().PlaybackStarted(&song);
    TScrollBanner3& banner = *Window().SongTitleBanner();
    EXPECT_EQ(banner.Caption(), Window().SongTitleFonts().SongCaption(song, tdfArtistTitleAlbumTrack));
    Window().PlayerStateChanged(mpsPlaying);
    EXPECT_EQ(Window().ControlsButton()->ButtonChecked(), 1);
    Window().PlayerStateChanged(mpsPaused);
    EXPECT_EQ(Window().ControlsButton()->ButtonChecked(), 3);
    Window().TimeDisplay()->SetSeconds(42);
    Window().PlaybackStarted(nullptr);
    EXPECT_EQ(Window().ControlsButton()->ButtonChecked(), 4);
    EXPECT_EQ(banner.Caption(),
              Window().SongTitleFonts().FontMarkup(TtagFonts::fkTitle) + ApplicationTitle());
    EXPECT_EQ(Window().TimeDisplay()->Seconds(), 0);
    // The skin's banner colour reaches the banner.
    EXPECT_EQ(banner.Color(), Window().SongTitleFonts().Color());
}

TEST_F(FrmSkinnedJukeboxAppTest, ClicksSwitchTheTimeDisplayTheScrollingAndRunAbout)
{
    Start();
    Window().SetShowTimeRemaining(false);
    Window().TimeChanged(65'400, 200'000);
    EXPECT_EQ(Window().TimeDisplay()->Seconds(), 65);
    Click(Window().TimeDisplay());
    EXPECT_TRUE(Window().GetShowTimeRemaining());
    Window().TimeChanged(65'400, 200'000);
    EXPECT_EQ(Window().TimeDisplay()->Seconds(), -134);
    Window().TimeChanged(300'000, 200'000);
    EXPECT_EQ(Window().TimeDisplay()->Seconds(), 0);

    EXPECT_FALSE(Window().GetScrollSongTitle());
    Click(Window().SongTitleBanner());
    EXPECT_TRUE(Window().GetScrollSongTitle());
    EXPECT_TRUE(Window().actnSettingsScrollSongTitle->isChecked());
    EXPECT_TRUE(Window().SongTitleBanner()->ScrollEnabled());
    EXPECT_EQ(platform::FromQString(Window().actnSettingsScrollSongTitle->toolTip()).find("Enabled/"),
              std::string::npos);

    int abouts = 0;
    QObject::connect(Window().Actions().actnHelpAbout, &QAction::triggered, [&abouts] { ++abouts; });
    Click(Window().TitlePanel());
    EXPECT_EQ(abouts, 1);
}

TEST_F(FrmSkinnedJukeboxAppTest, TheSongTitleScrollingIsASetting)
{
    Start([](TIniFile& ini) { ini.WriteBool("SongTitle", "Scroll", true); });
    EXPECT_TRUE(Window().GetScrollSongTitle());
    Window().SetScrollSongTitle(false);
    TIniFile saved(Window().GetSettingsFile());
    Window().SaveSettings(saved);
    EXPECT_FALSE(saved.ReadBool("SongTitle", "Scroll", true));
    EXPECT_TRUE(saved.ValueExists("Geometry", "FullScreen"));
}

TEST_F(FrmSkinnedJukeboxAppTest, DraggingTheTitleMovesTheWindowButNotInFullScreen)
{
    Start([](TIniFile& ini) { Windowed(ini, 20, 30, 500, 400); });
    Window().show();
    int abouts = 0;
    QObject::connect(Window().Actions().actnHelpAbout, &QAction::triggered, [&abouts] { ++abouts; });
    Drag(Window().TitlePanel(), {40, 10}, {50, 40});
    EXPECT_EQ(Window().geometry(), QRect(70, 70, 500, 400));
    EXPECT_EQ(abouts, 0) << "a drag is no click";

    Window().SetFullScreen(true);
    const QRect full = Window().geometry();
    Drag(Window().TitlePanel(), {40, 10}, {50, 40});
    EXPECT_EQ(Window().geometry(), full);
}

TEST_F(FrmSkinnedJukeboxAppTest, TheGripAtTheBottomRightSizesTheWindow)
{
    Start([](TIniFile& ini) { Windowed(ini, 20, 30, 500, 400); });
    Window().show();
    TorvanePanel* right = Window().BodyRight();
    const QPoint corner(right->width() - 1, right->height() - 1);
    const QPoint near = corner - QPoint(4, 4);
    EXPECT_TRUE(TfrmSkinnedJukeboxApp::InGrip(right, near));
    EXPECT_FALSE(TfrmSkinnedJukeboxApp::InGrip(right, QPoint(right->width() - 1, right->height() - 15)));

    TorvanePanel* bottom = Window().BodyBottom();
    const QPoint bottomNear(bottom->width() - 5, bottom->height() - 5);
    Mouse(bottom, QEvent::MouseMove, bottomNear, Qt::NoButton);
    EXPECT_EQ(bottom->cursor().shape(), Qt::SizeFDiagCursor);
    Mouse(bottom, QEvent::MouseMove, QPoint(bottom->width() - 15, bottom->height() - 5), Qt::NoButton);
    EXPECT_EQ(bottom->cursor().shape(), Qt::ArrowCursor);

    Drag(bottom, bottomNear, {30, 20});
    EXPECT_EQ(Window().geometry(), QRect(20, 30, 530, 420));
    Drag(bottom, QPoint(bottom->width() - 15, bottom->height() - 5), {30, 20});
    EXPECT_EQ(Window().geometry(), QRect(20, 30, 530, 420)) << "15 pixels away is no grip";

    Window().SetFullScreen(true);
    Mouse(bottom, QEvent::MouseMove, bottomNear, Qt::NoButton);
    EXPECT_EQ(bottom->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(FrmSkinnedJukeboxAppTest, TheQueuesOwnBarFollowsTheListBothWays)
{
    Start([](TIniFile& ini) { Windowed(ini, 0, 0, 600, 500); });
    Window().show();
    const TgeneratedLibrary generated({.Songs = 120, .Artists = 4, .Albums = 6}, 2);
    TaudioTagList& queue = Window().GetJukebox().Queue();
    queue.BeginUpdate();
    for (const TaudioTag* song : generated.GlobalList().Items())
        queue.AddCopy(song);
    queue.EndUpdate();
    QApplication::processEvents();
    ThtmlListBox* list = Window().QueueList();
    TorvaneScrollBar* bar = Window().QueueListBar();
    QScrollBar* native = list->verticalScrollBar();
    ASSERT_GT(native->maximum(), 0) << "the queue must need scrolling";
    EXPECT_EQ(bar->Max(), native->maximum());
    EXPECT_EQ(bar->LargeStep(), std::max(1, native->pageStep() - 1));

    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(list, &end);
    ASSERT_GT(native->value(), 0);
    EXPECT_EQ(bar->Value(), native->value());

    bar->SetValue(3);
    EXPECT_EQ(native->value(), 3);
    EXPECT_EQ(bar->Value(), 3);
    EXPECT_EQ(native->isVisible(), false);
}

TEST_F(FrmSkinnedJukeboxAppTest, PartyPlayForcesFullScreenAndHidesTheTitleButtons)
{
    Start([](TIniFile& ini) { Windowed(ini, 20, 30, 500, 400); });
    Window().show();
    const std::array<const char*, 4> titleButtons{"obtnExit", "obtnMaximize", "obtnMinimize", "obtnHelp"};
    std::map<std::string, bool> hiddenBefore;
    for (const char* name : titleButtons)
        hiddenBefore[name] = Child<TorvaneButton>(name)->isHidden();
    // Minimize comes with the concrete window only.
    EXPECT_TRUE(hiddenBefore["obtnMinimize"]);
    Window().SetPartyPlayEnabled(true);
    EXPECT_TRUE(Window().GetFullScreen());
    for (const char* name : titleButtons)
        EXPECT_TRUE(Child<TorvaneButton>(name)->isHidden()) << name;
    auto* menu = Child<TorvaneButton>("obtnMenu");
    EXPECT_FALSE(menu->isHidden());
    // The visible button sits at the right edge of the title.
    EXPECT_GT(menu->geometry().right(), Window().TitlePanel()->width() - 30);

    TIniFile saved(Window().GetSettingsFile());
    Window().SaveSettings(saved);
    EXPECT_FALSE(saved.ReadBool("Geometry", "FullScreen", true)) << "party play's full screen is not stored";
    Window().SetPartyPlayEnabled(true);

    Window().SetPartyPlayEnabled(false);
    EXPECT_FALSE(Window().GetFullScreen());
    EXPECT_EQ(Window().geometry(), QRect(20, 30, 500, 400));
    for (const char* name : titleButtons)
        EXPECT_EQ(Child<TorvaneButton>(name)->isHidden(), hiddenBefore[name]) << name;
}

TEST_F(FrmSkinnedJukeboxAppTest, TheSkinsCommandOpensTheDialogOnTheWindowsSetsAndTransportReenables)
{
    Start();
    TskinsHost* seen = nullptr;
    std::size_t sets = 0;
    WhenModal([&](QWidget* modal) {
        if (auto* dialog = qobject_cast<TfrmJukeboxSkin*>(modal)) {
            seen = dialog->JukeboxApp();
            sets = static_cast<std::size_t>(dialog->RecordCount());
        }
        modal->close();
    });
    Window().actnSettingsSkins->trigger();
    EXPECT_EQ(seen, static_cast<TskinsHost*>(&Window()));
    EXPECT_EQ(sets, Window().SkinFontSets().size());

    Window().ControlsPlay();
    EXPECT_TRUE(Window().ControlsButton()->isEnabled());
    Window().ControlsNext();
    EXPECT_TRUE(Window().ControlsButton()->isEnabled());
}

TEST_F(FrmSkinnedJukeboxAppTest, TheStackerTitleAndPowerButtonFollowTheStacker)
{
    Start();
    Window().SetStackerEnabled(true);
    EXPECT_TRUE(Window().StackerPower()->Checked());
    Window().StackerChanged();
    EXPECT_EQ(platform::FromQString(Window().StackerTitle()->text()), Window().GetStackerTitle());
    EXPECT_FALSE(Window().GetStackerTitle().empty());
    Window().SetStackerEnabled(false);
    EXPECT_FALSE(Window().StackerPower()->Checked());
    EXPECT_EQ(platform::FromQString(Window().StackerTitle()->text()), "");
}

} // namespace

TEST_F(FrmSkinnedJukeboxAppTest, TheCoverPanelFollowsCoverArtQueueDetailsAndThePlayingSongsPicture)
{
    Start();
    TempDir covers;
    covers.Write("Quartet - Time Out.jpg", MakeJpeg(40, 40, 0x2040C0));
    Window().SetCoverArtFolder(covers.Path());
    TaudioTag withCover;
    withCover.SetFilename(covers.File("music/one.wav"));
    withCover.SetArtist("Quartet");
    withCover.SetAlbum("Time Out");
    TaudioTag without;
    without.SetFilename(covers.File("music/two.wav"));
    without.SetArtist("Trio");
    without.SetAlbum("Elsewhere");
    QWidget* details = Window().CoverDetails();
    QWidget* right = Child<QWidget>("pnlQueueRight");

    EXPECT_TRUE(Window().GetShowQueueDetails());
    Window().PlaybackStarted(&withCover);
    EXPECT_TRUE(Window().CoverLoaded());
    EXPECT_EQ(Window().CoverArt()->Picture().Width(), 40);
    EXPECT_FALSE(details->isHidden()) << "details show over a cover by default";
    Window().actnViewShowDetailsWhenCoverPresent->trigger();
    EXPECT_TRUE(details->isHidden());

    // A song without a cover clears the last one, and the details come back in its place.
    Window().PlaybackStarted(&without);
    EXPECT_FALSE(Window().CoverLoaded());
    EXPECT_FALSE(details->isHidden());

    Window().PlaybackStarted(&withCover);
    Window().actnViewCoverArt->trigger();
    EXPECT_TRUE(Window().CoverArt()->isHidden());
    EXPECT_FALSE(details->isHidden()) << "without cover art the details always show";
    Window().actnViewQueueDetails->trigger();
    EXPECT_TRUE(right->isHidden()) << "neither cover art nor details";
    Window().actnViewCoverArt->trigger();
    EXPECT_FALSE(right->isHidden());
    EXPECT_TRUE(details->isHidden());
}

TEST_F(FrmSkinnedJukeboxAppTest, TheQueueControlsRunTheQueueCommandsAndPartyPlayCanHideThem)
{
    TfakePrompts prompts;
    Start();
    const TgeneratedLibrary generated({.Songs = 3, .Artists = 1, .Albums = 1}, 1);
    TaudioTagList& queue = Window().GetJukebox().Queue();
    for (const TaudioTag* song : generated.GlobalList().Items())
        queue.AddCopy(song);
    auto* clear = Child<TorvaneButton>("obtnQueueClear");
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(Child<TorvaneButton>("obtnQueueMoveTo"), Window().QueueMoveToButton());
    EXPECT_TRUE(Window().GetQueueControlsVisible());

    // Party play with the queue controls disabled: the panel goes and the table refuses the command.
    Window().locked = {TpartyPlayOption::QueueControls};
    Window().SetPartyPlayEnabled(true);
    EXPECT_FALSE(Window().GetQueueControlsVisible());
    clear->OnClick(clear);
    EXPECT_TRUE(prompts.boxes.empty());
    EXPECT_EQ(queue.Count(), 3);
    TIniFile saved(Window().GetSettingsFile());
    Window().SaveSettings(saved);
    EXPECT_TRUE(saved.ReadBool("QueueControls", "Visible", false)) << "party play's choice is not stored";
    Window().SetPartyPlayEnabled(false);
    EXPECT_TRUE(Window().GetQueueControlsVisible());

    prompts.answers.push_back(TmessageResult::Ok);
    clear->OnClick(clear);
    EXPECT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(queue.Count(), 0);
}

TEST_F(FrmSkinnedJukeboxAppTest, ThePaneSizesAreSetOnceTheWindowShowsAndSavedFromIt)
{
    Start([](TIniFile& ini) {
        Windowed(ini, 20, 30, 900, 700);
        ini.WriteInteger("Geometry", "TrackListWidth", 320);
        ini.WriteInteger("Geometry", "QueueListHeight", 150);
        ini.WriteInteger("Geometry", "QueueDetailsWidth", 260);
    });
    Window().show();
    QApplication::processEvents();
    EXPECT_EQ(Child<QSplitter>("tsLists")->sizes().value(1), 320);
    EXPECT_EQ(Child<QSplitter>("tsQueue")->sizes().value(1), 150);
    EXPECT_EQ(Child<QSplitter>("tsQueueList")->sizes().value(1), 260);

    QSplitter& lists = *Child<QSplitter>("tsLists");
    lists.setSizes({lists.sizes().value(0) + lists.sizes().value(1) - 300, 300});
    TIniFile saved(Window().GetSettingsFile());
    Window().SaveSettings(saved);
    EXPECT_EQ(saved.ReadInteger("Geometry", "TrackListWidth", -1), 300);
    EXPECT_EQ(saved.ReadInteger("Geometry", "QueueListHeight", -1), 150);
    EXPECT_EQ(saved.ReadInteger("Geometry", "QueueDetailsWidth", -1), 260);
}

TEST_F(FrmSkinnedJukeboxAppTest, APressedMenuButtonIsDrawnSunkenWithItsCaption)
{
    Start();
    auto* button = Child<TmenuToolButton>("tbFile1");
    ASSERT_NE(button, nullptr);
    button->resize(60, 22);
    button->SetColor(clGray);
    const QImage flat = button->Render();
    EXPECT_EQ(flat.pixelColor(0, 0), flat.pixelColor(59, 21)) << "no edge while neither hot nor down";
    button->setDown(true);
    const QImage pressed = button->Render();
    EXPECT_LT(pressed.pixelColor(0, 0).lightness(), pressed.pixelColor(59, 21).lightness());
    int black = 0;
    for (int x = 0; x < 60; ++x)
        for (int y = 1; y < 21; ++y)
            black += pressed.pixelColor(x, y) == QColor(Qt::black) ? 1 : 0;
    EXPECT_GT(black, 0) << "the caption's shadow";
}

TEST_F(FrmSkinnedJukeboxAppTest, ASkinDrawnToAnotherSizeSizesTheWindowsOwnControls)
{
    Start();
    // Larger, then smaller than the Default skin: the window's fixed controls follow both ways.
    for (const std::pair<int, int>& scale : {std::pair{3, 2}, std::pair{2, 3}}) {
        const int num = scale.first;
        const int den = scale.second;
        TfakePrompts prompts;
        Window().LoadSkinFile(ScaledDefaultSkin("Scaled" + std::to_string(num), num, den));
        QCoreApplication::processEvents();
        EXPECT_TRUE(prompts.boxes.empty());
        const auto scaled = [num, den](int length) { return length * num / den; };
        for (const auto& [name, frames, width, height] :
             {std::tuple{"obtnExit", 3, 18, 18}, std::tuple{"obtnMaximize", 5, 30, 18},
              std::tuple{"obtnStackerPower", 5, 32, 22}, std::tuple{"obtnQueueClear", 3, 22, 22}}) {
            auto* button = Child<TorvaneButton>(name);
            const QImage& bitmap = button->SkinBitmap();
            EXPECT_EQ(bitmap.size(), QSize(scaled(frames * width), scaled(height))) << name;
            EXPECT_EQ(button->size(), QSize(bitmap.width() / frames, bitmap.height())) << name;
        }
        EXPECT_EQ(Window().ControlsButton()->size(), QSize(scaled(176), scaled(44)));
        EXPECT_EQ(Window().TitlePanel()->height(), scaled(24));
        EXPECT_EQ(Child<TorvanePanel>("opnlBodyTop")->height(), scaled(6));
        EXPECT_EQ(Child<TorvanePanel>("opnlBodyLeft")->width(), scaled(6));
        EXPECT_EQ(Child<TorvanePanel>("opnlTrackListTop")->height(), scaled(8));
        EXPECT_EQ(Window().TrackListBar()->width(), scaled(16));
        EXPECT_EQ(Window().QueueControlsPanel()->width(), 2 * scaled(22) + 10);
        // The banner takes the skin's fonts.
        EXPECT_EQ(Window().SongTitleFonts().TitleFont().Name, "Courier New");
        EXPECT_EQ(Window().SongTitleFonts().TitleFont().Color, HtmlToColor("#FF4000"));
    }
}

TEST_F(FrmSkinnedJukeboxAppTest, TheBannersFontsAreNamedInTheSkinAndShowAtOnce)
{
    Start();
    TtagFonts& fonts = Window().SongTitleFonts();
    const TIniFile defaults(Window().GetSkinFile());
    EXPECT_EQ(fonts.TitleFontNiceName(), "Track Title");
    EXPECT_EQ(fonts.ArtistFont().Color,
              HtmlToColor(defaults.ReadString("SongTitleBanner", "ArtistColor", "")));
    EXPECT_TRUE(fonts.ArtistFont().Bold());
    Window().GetJukebox().Queue().Add(Song("one").release());
    ASSERT_NE(Window().player->PreparedTag(), nullptr);
    Window().player->StartPrepared();
    TScrollBanner3& banner = *Window().SongTitleBanner();
    const std::string before = banner.Caption();
    ASSERT_NE(before.find("one"), std::string::npos);
    const TFontDesc big = PixelFont("Courier New", 40, clRed);
    fonts.SetTitleFont(big);
    EXPECT_NE(banner.Caption(), before);
    EXPECT_NE(banner.Caption().find("one"), std::string::npos);
    EXPECT_GE(banner.height(), QFontMetrics(ToQFont(big)).height());
    // Saved with the skin, under the banner's own keys.
    Window().SaveCurrentSkin();
    const TIniFile saved(Window().GetSkinFile());
    EXPECT_EQ(saved.ReadString("SongTitleBanner", "TrackTitleName", ""), "Courier New");
    EXPECT_EQ(saved.ReadInteger("SongTitleBanner", "TrackTitleSize", 0), big.Size);
}

TEST_F(FrmSkinnedJukeboxAppTest, PlayNextAndQueueAlbumFromTheMenuTakeTheSkinnedWindowsWay)
{
    Start();
    // Play and Next from the menu hold the transport off while they run.
    for (QAction* action : {Window().Actions().actnControlPlay, Window().Actions().actnControlNext}) {
        bool enabledMeanwhile = true;
        QTimer::singleShot(0, &Window(), [&] { enabledMeanwhile = Window().ControlsButton()->isEnabled(); });
        action->trigger();
        EXPECT_FALSE(enabledMeanwhile) << platform::FromQString(action->objectName());
        EXPECT_TRUE(Window().ControlsButton()->isEnabled());
    }
    // Queue Album's chooser has the tree's font and colour from the skin.
    TfontsSeen seen;
    WhenModal([&](QWidget* modal) {
        if (auto* chooser = qobject_cast<TfrmChooseCD*>(modal)) {
            seen.family = platform::FromQString(chooser->Tree()->font().family());
            seen.base = chooser->Tree()->palette().color(QPalette::Base);
        }
        modal->close();
    });
    Window().Actions().actnQueueAlbum->trigger();
    EXPECT_EQ(seen.family, platform::FromQString(ToQFont(Window().JukeboxListFonts().ArtistFont()).family()));
    EXPECT_EQ(seen.base, ToQColor(Window().JukeboxListFonts().Color()));
    EXPECT_NE(seen.base, QColor(Qt::white));
}

// The transport's four buttons are routes into the command table like the menu: party play locks them.
TEST_F(FrmSkinnedJukeboxAppTest, TheTransportButtonsRunTheirCommandsAndPartyPlayLocksThem)
{
    Start();
    TorvaneMultiButton* transport = Window().ControlsButton();
    for (const bool party : {false, true}) {
        Window().locked = {TpartyPlayOption::NextControl, TpartyPlayOption::PauseControl,
                           TpartyPlayOption::StopControl};
        Window().SetPartyPlayEnabled(party);
        Window().player->Calls.clear();
        for (const TNotifyEvent& click : {transport->OnButton1Click, transport->OnButton2Click,
                                          transport->OnButton3Click, transport->OnButton4Click})
            click(transport);
        for (const char* call : {"Next", "Pause", "Stop"})
            EXPECT_EQ(Window().player->CountCalls(call), party ? 0u : 1u) << call;
        EXPECT_EQ(Window().player->CountCalls("Play"), 1u);
    }
}

TEST_F(FrmSkinnedJukeboxAppTest, AProgressWindowShowsWhileASkinLoadsAndIsExported)
{
    auto* progress = new TfrmProgress(&Window(), &Window().Busy());
    Window().SetProgressWindow(progress);
    Start();
    std::set<std::string> captions;
    Window().SkinFolder().ProcessMessages = [&] {
        if (progress->isVisible())
            captions.insert(progress->Caption());
    };
    Window().LoadSkinFile(Window().GetSkinFile());
    EXPECT_EQ(captions, (std::set<std::string>{"Loading Skin Images...", "Applying Skin..."}));
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(progress->Maximum(), Window().SkinComponents().Count());
    EXPECT_EQ(Window().SkinFolder().ExportSkin("Copy"), TskinExportResult::Exported);
    EXPECT_EQ(captions.count("Saving Skin Images..."), 1u);
    EXPECT_FALSE(progress->isVisible());
}
