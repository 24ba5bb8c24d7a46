#include "app/skins/skinfolder.h"

#include "app/skins/pixelfont.h"
#include "app/skins/skincomponents.h"
#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "controls/qtcolor.h"
#include "controls/skindraw.h"
#include "core/captions/tagfonts.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "support/fakeprompts.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <filesystem>

#include <sys/stat.h>

namespace {

QImage Grey(int w, int h, int level = 128)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(level, level, level));
    return image;
}

void WriteBmp(const std::string& file, const QImage& image)
{
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    ASSERT_TRUE(image.save(platform::ToQString(file), "BMP"));
}

bool SameImage(const QImage& a, const QImage& b)
{
    return To24Bit(a) == To24Bit(b);
}

// A window's worth of skinnable controls made by the test, in a user and a shipped folder of its own.
struct SkinFolder : ::testing::Test
{
    TempDir dir;
    ScopedEnv home{"ORVANE_HOME", dir.File("home")};
    ScopedEnv bin{"ORVANE_BIN_DIR", dir.File("bin")};
    QWidget window;
    TorvaneButton* exit = Make<TorvaneButton>("obtnExit");
    TorvaneButton* maximize = Make<TorvaneButton>("obtnMaximize");
    TorvanePanel* title = Make<TorvanePanel>("opnlTitle");
    TorvaneScrollBar* bar = Make<TorvaneScrollBar>("sbTrackList");
    TorvaneMultiButton* controls = Make<TorvaneMultiButton>("ombtnControls");
    QWidget* plain = Make<QWidget>("pnlBody");
    TtagFonts trackFonts;
    TskinComponents components;
    TskinFolder skin{components};

    template <class T>
    T* Make(const char* name)
    {
        auto* control = new T(&window);
        control->setObjectName(name);
        return control;
    }

    void SetUp() override
    {
        maximize->SetIsCheckButton(true);
        components.SetWindow(&window);
        components.AddChildren(&window);
        components.Add(plain);
        trackFonts.SetNiceName("Track List");
        trackFonts.SetColorNiceName("Track List");
        trackFonts.SetFontNiceName(TtagFonts::fkTitle, "Track Title");
        trackFonts.SetFontNiceName(TtagFonts::fkArtist, "Artist");
        components.AddFontSet(&trackFonts);
        skin.ProcessMessages = nullptr;
    }

    std::string UserSkin(const std::string& name) const
    {
        return dir.File("home/Skins/" + name + "/skin.osk");
    }
    std::string ShippedSkin(const std::string& name) const
    {
        return dir.File("bin/Skins/" + name + "/skin.osk");
    }
};

constexpr const char* kSavedSkin = "[Colors]\r\n"
                                   "ButtonColor=#102030\r\n"
                                   "PanelColor=#A0B0C0\r\n"
                                   "\r\n"
                                   "[TrackList]\r\n"
                                   "ArtistColor=#FF0000\r\n"
                                   "ArtistSize=14\r\n"
                                   "ArtistName=No Such Family\r\n"
                                   "ArtistBold=1\r\n"
                                   "ArtistItalic=0\r\n"
                                   "TrackTitleColor=#00FF00\r\n"
                                   "TrackTitleSize=8\r\n"
                                   "TrackTitleName=Arial\r\n"
                                   "TrackTitleBold=0\r\n"
                                   "TrackTitleItalic=1\r\n"
                                   "TrackList=#000080\r\n";

} // namespace

TEST_F(SkinFolder, ColoursAndFontsRoundTripThroughTheBytesOfTheFile)
{
    TFontDesc artist = PixelFont("No Such Family", 19, clRed, {TFontStyle::fsBold});
    trackFonts.SetArtistFont(artist);
    trackFonts.SetTitleFont(PixelFont("Arial", 11, clLime, {TFontStyle::fsItalic}));
    trackFonts.SetColor(RGBColor(0, 0, 0x80));
    skin.ApplySkinColors(RGBColor(0x10, 0x20, 0x30), RGBColor(0xA0, 0xB0, 0xC0));
    const std::string file = UserSkin("Mine");
    skin.SaveSkin(file, false);
    EXPECT_EQ(TempDir::Read(file), kSavedSkin);

    // Loaded back onto changed controls and fonts, everything returns; a section of its own stays on save.
    trackFonts.SetArtistFont(TFontDesc());
    trackFonts.SetColor(clWhite);
    skin.ApplySkinColors(clWhite, clWhite);
    int changes = 0;
    trackFonts.OnChange = [&](TtagFonts*) { ++changes; };
    dir.Write("home/Skins/Mine/skin.osk", std::string("[Info]\r\nTitle=Mine\r\n\r\n") + kSavedSkin);
    skin.LoadSkinFile(file);
    EXPECT_EQ(skin.CurrentSkinFile(), file);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(trackFonts.ArtistFont(), artist);
    EXPECT_EQ(trackFonts.Color(), RGBColor(0, 0, 0x80));
    EXPECT_EQ(exit->Color(), RGBColor(0x10, 0x20, 0x30));
    EXPECT_EQ(exit->OuterColor(), RGBColor(0xA0, 0xB0, 0xC0));
    EXPECT_EQ(bar->ScrollerColor(), RGBColor(0x10, 0x20, 0x30));
    EXPECT_EQ(bar->BackColor(), RGBColor(0xA0, 0xB0, 0xC0));
    EXPECT_EQ(controls->OuterColor(), RGBColor(0xA0, 0xB0, 0xC0));
    EXPECT_EQ(title->PanelColor(), RGBColor(0xA0, 0xB0, 0xC0));
    EXPECT_EQ(FromQColor(plain->palette().color(QPalette::Window)), RGBColor(0xA0, 0xB0, 0xC0));
    skin.SaveCurrentSkin();
    EXPECT_EQ(TempDir::Read(file), std::string("[Info]\r\nTitle=Mine\r\n\r\n") + kSavedSkin);
}

TEST_F(SkinFolder, AMissingFileOrKeyFallsBackToTheExitButtonAndBlackFonts)
{
    exit->SetColor(RGBColor(1, 2, 3));
    exit->SetOuterColor(RGBColor(4, 5, 6));
    trackFonts.SetColor(clWhite);
    skin.LoadSkinFile("");
    EXPECT_EQ(skin.CurrentSkinFile(), UserSkin("Default"));
    EXPECT_EQ(skin.PanelColor(), RGBColor(4, 5, 6));
    EXPECT_EQ(title->PanelColor(), RGBColor(4, 5, 6));
    EXPECT_EQ(trackFonts.Color(), clBlack);

    // A colour that is not six hexadecimal digits is named and the colour in use stays (black text on
    // black would hide everything).
    skin.ApplySkinColors(RGBColor(1, 2, 3), RGBColor(4, 5, 6));
    trackFonts.SetTitleFont(PixelFont("Arial", 11, clLime));
    dir.Write("home/Skins/Odd/skin.osk", "[Colors]\r\nButtonColor=#12345\r\nPanelColor=zz0000\r\n"
                                         "[TrackList]\r\nTrackTitleColor=nonsense\r\nTrackList=#00FF00\r\n");
    TfakePrompts prompts;
    skin.LoadSkinFile(UserSkin("Odd"));
    EXPECT_EQ(skin.ButtonColor(), RGBColor(1, 2, 3));
    EXPECT_EQ(skin.PanelColor(), RGBColor(4, 5, 6));
    EXPECT_EQ(trackFonts.TitleFont().Color, clLime);
    EXPECT_EQ(trackFonts.Color(), clLime);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    for (const char* named : {"ButtonColor=#12345", "PanelColor=zz0000", "TrackTitleColor=nonsense"})
        EXPECT_NE(prompts.boxes[0].text.find(named), std::string::npos) << named;
}

TEST_F(SkinFolder, BitmapsRoundTripAndSizeTheirControls)
{
    maximize->SetSkinBitmap(Grey(100, 20, 140));
    exit->SetSkinBitmap(Grey(99, 20, 120));
    title->SetBitmapTopLeft(Grey(10, 24));
    title->SetBitmapTopCenter(Grey(4, 24, 100));
    bar->SetUpButtonSkin(Grey(48, 16, 90));
    bar->SetBackBitmap(Grey(14, 8, 70));
    skin.SaveSkin(UserSkin("Export"), true);
    const TIniFile ini(UserSkin("Export"));
    EXPECT_EQ(ini.ReadString("obtnExit", "Image", ""), "obtnExit_Image.bmp");
    EXPECT_EQ(ini.ReadString("opnlTitle", "tcImage", ""), "opnlTitle_tcImage.bmp");
    EXPECT_EQ(ini.ReadString("sbTrackList", "BackImage", ""), "sbTrackList_BackImage.bmp");
    // Empty bitmaps give neither a key nor a file.
    EXPECT_FALSE(ini.ValueExists("opnlTitle", "ccImage"));
    EXPECT_FALSE(ini.SectionExists("ombtnControls"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("home/Skins/Export/opnlTitle_ccImage.bmp")));

    QWidget other;
    auto* exit2 = new TorvaneButton(&other);
    exit2->setObjectName("obtnExit");
    auto* max2 = new TorvaneButton(&other);
    max2->setObjectName("obtnMaximize");
    max2->SetIsCheckButton(true);
    auto* bar2 = new TorvaneScrollBar(&other);
    bar2->setObjectName("sbTrackList");
    auto* multi2 = new TorvaneMultiButton(&other);
    multi2->setObjectName("ombtnControls");
    const QImage keep = Grey(40, 10, 60);
    multi2->SetSkinBitmap(keep);
    multi2->resize(77, 10);
    TskinComponents registry;
    registry.AddChildren(&other);
    TskinFolder loader(registry);
    loader.ProcessMessages = nullptr;
    loader.LoadSkinFile(UserSkin("Export"));
    EXPECT_TRUE(SameImage(exit2->SkinBitmap(), Grey(99, 20, 120)));
    EXPECT_EQ(exit2->width(), 33);
    EXPECT_EQ(max2->width(), 20);
    EXPECT_TRUE(SameImage(bar2->UpButtonSkin(), Grey(48, 16, 90)));
    EXPECT_EQ(bar2->width(), 14);
    EXPECT_TRUE(SameImage(multi2->SkinBitmap(), keep));
    EXPECT_EQ(multi2->width(), 77);
}

TEST_F(SkinFolder, AnUnreadableBitmapEndsOnlyItsOwnControl)
{
    const std::string folder = dir.File("home/Skins/Broken");
    WriteBmp(folder + "/up.bmp", Grey(48, 16, 90));
    WriteBmp(folder + "/thumb.bmp", Grey(48, 16, 200));
    WriteBmp(folder + "/exit.bmp", Grey(30, 10, 110));
    dir.Write("home/Skins/Broken/down.bmp", "BM not a bitmap");
    dir.Write("home/Skins/Broken/skin.osk", "[sbTrackList]\r\nUpImage=up.bmp\r\nDownImage=down.bmp\r\n"
                                            "ThumbImage=thumb.bmp\r\n[obtnExit]\r\nImage=missing.bmp\r\n"
                                            "[obtnMaximize]\r\nImage=EXIT.Bmp\r\n");
    exit->resize(41, 10);
    skin.LoadSkinFile(UserSkin("Broken"));
    EXPECT_TRUE(SameImage(bar->UpButtonSkin(), Grey(48, 16, 90)));
    EXPECT_FALSE(SameImage(bar->ScrollButtonSkin(), Grey(48, 16, 200)));
    EXPECT_TRUE(exit->SkinBitmap().isNull());
    EXPECT_EQ(exit->width(), 41);
    // A skin made where file names ignore case finds its bitmaps here too.
    EXPECT_TRUE(SameImage(maximize->SkinBitmap(), Grey(30, 10, 110)));
}

TEST_F(SkinFolder, BitmapAndExportNamesStayInsideTheirSkinFolder)
{
    WriteBmp(dir.File("home/Skins/outside.bmp"), Grey(30, 10, 90));
    WriteBmp(dir.File("home/Skins/Evil/sub/inside.bmp"), Grey(30, 10, 90));
    dir.Write("home/Skins/Evil/skin.osk", "[obtnExit]\r\nImage=../outside.bmp\r\n[obtnMaximize]\r\nImage=" +
                                              dir.File("home/Skins/outside.bmp") +
                                              "\r\n[ombtnControls]\r\nImage=sub/inside.bmp\r\n"
                                              "[opnlTitle]\r\ntlImage=..\r\ntcImage=sub\\inside.bmp\r\n");
    skin.LoadSkinFile(UserSkin("Evil"));
    EXPECT_TRUE(exit->SkinBitmap().isNull());
    EXPECT_TRUE(maximize->SkinBitmap().isNull());
    EXPECT_TRUE(controls->SkinBitmap().isNull());
    EXPECT_TRUE(title->BitmapTopLeft().isNull());
    EXPECT_TRUE(title->BitmapTopCenter().isNull());

    for (const char* name : {"", ".", "..", "../Up", "a/b", "/tmp/abs", "a\\b"})
        EXPECT_EQ(skin.ExportSkin(name), TskinExportResult::Refused) << name;
    EXPECT_FALSE(std::filesystem::exists(dir.File("home/Up")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("home/Skins/a")));

    // An existing skin, the user's or a shipped one, is replaced only when the user agrees.
    dir.Write("bin/Skins/Night/skin.osk", "[Info]\r\nTitle=Shipped Night\r\n");
    const std::string own = dir.Write("home/Skins/Evil/skin.osk", "[Info]\r\nTitle=Mine\r\n");
    TfakePrompts prompts;
    EXPECT_EQ(skin.ExportSkin("Evil"), TskinExportResult::Declined);
    EXPECT_EQ(skin.ExportSkin("Night"), TskinExportResult::Declined);
    ASSERT_EQ(prompts.boxes.size(), 2u);
    EXPECT_EQ(prompts.boxes[0].buttons, TmessageButtons::YesNo);
    EXPECT_EQ(TempDir::Read(own), "[Info]\r\nTitle=Mine\r\n");
    EXPECT_FALSE(std::filesystem::exists(UserSkin("Night")));
    prompts.answers.push_back(TmessageResult::Yes);
    exit->SetSkinBitmap(Grey(30, 10, 90));
    EXPECT_EQ(skin.ExportSkin("Evil"), TskinExportResult::Exported);
    // What the export does not write stays: the information and a section of the skin's own.
    dir.Write("home/Skins/Evil/skin.osk", "[Info]\r\nTitle=Mine\r\n[Hand]\r\nMade=1\r\n");
    prompts.answers.push_back(TmessageResult::Yes);
    EXPECT_EQ(skin.ExportSkin("Evil"), TskinExportResult::Exported);
    const TIniFile replaced(own);
    EXPECT_EQ(replaced.ReadString("Info", "Title", ""), "Mine");
    EXPECT_EQ(replaced.ReadString("Hand", "Made", ""), "1");
    EXPECT_EQ(replaced.ReadString("obtnExit", "Image", ""), "obtnExit_Image.bmp");
    EXPECT_EQ(skin.ExportSkin("Fresh"), TskinExportResult::Exported);
    EXPECT_EQ(prompts.boxes.size(), 4u);
}

TEST_F(SkinFolder, ASkinColourReachesTheControlsPixels)
{
    title->SetIsSkinned(true);
    title->resize(40, 24);
    exit->SetIsSkinned(true);
    const std::string folder = dir.File("home/Skins/Red");
    WriteBmp(folder + "/title.bmp", Grey(40, 24));
    QImage button = Grey(3 * 20, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 40; x < 60; ++x)
            button.setPixelColor(x, y, Qt::white); // the mask: all of the button
    WriteBmp(folder + "/exit.bmp", button);
    dir.Write("home/Skins/Red/skin.osk",
              "[Colors]\r\nButtonColor=#1E50C8\r\nPanelColor=#C81E3C\r\n"
              "[opnlTitle]\r\ntlImage=title.bmp\r\n[obtnExit]\r\nImage=exit.bmp\r\n");
    skin.LoadSkinFile(UserSkin("Red"));
    EXPECT_EQ(title->size(), QSize(40, 24));
    const QImage panelPixels = title->grab().toImage();
    EXPECT_EQ(QColor(panelPixels.pixel(20, 12)), QColor(0xC8, 0x1E, 0x3C));
    exit->resize(20, 20);
    const QImage buttonPixels = exit->grab().toImage();
    EXPECT_EQ(QColor(buttonPixels.pixel(10, 10)), QColor(0x1E, 0x50, 0xC8));
}

TEST_F(SkinFolder, AShippedSkinIsCopiedToTheUserBeforeItIsFirstWritten)
{
    const std::string shipped =
        dir.Write("bin/Skins/Night/skin.osk", std::string("[Info]\r\nTitle=Night\r\n\r\n") + kSavedSkin +
                                                  "[obtnExit]\r\nImage=exit.bmp\r\n\r\n");
    WriteBmp(dir.File("bin/Skins/Night/exit.bmp"), Grey(30, 10, 90));
    const std::string shippedBytes = TempDir::Read(shipped);
    skin.LoadSkinFile(shipped);
    EXPECT_EQ(skin.CurrentSkinFile(), shipped);
    EXPECT_TRUE(SameImage(exit->SkinBitmap(), Grey(30, 10, 90)));

    // Values changed after the load are the ones written at exit, into the user's copy.
    skin.ApplySkinColors(RGBColor(1, 2, 3), RGBColor(4, 5, 6));
    trackFonts.SetTitleFont(PixelFont("Another Missing Family", 27, clBlue));
    skin.SaveCurrentSkin();
    EXPECT_EQ(TempDir::Read(shipped), shippedBytes);
    EXPECT_EQ(skin.CurrentSkinFile(), UserSkin("Night"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("home/Skins/Night/exit.bmp")));
    const TIniFile copy(UserSkin("Night"));
    EXPECT_EQ(copy.ReadString("Info", "Title", ""), "Night");
    EXPECT_EQ(copy.ReadString("Colors", "ButtonColor", ""), "#010203");
    EXPECT_EQ(copy.ReadString("TrackList", "TrackTitleName", ""), "Another Missing Family");
    EXPECT_EQ(copy.ReadInteger("TrackList", "TrackTitleSize", 0), 20);
    EXPECT_EQ(copy.ReadString("obtnExit", "Image", ""), "exit.bmp");

    // From then on the shipped skin's name loads the user's copy; the Default skin likewise.
    skin.LoadSkinFile(shipped);
    EXPECT_EQ(skin.CurrentSkinFile(), UserSkin("Night"));
    EXPECT_EQ(skin.ButtonColor(), RGBColor(1, 2, 3));
    dir.Write("bin/Skins/Default/skin.osk", "");
    EXPECT_EQ(TskinFolder::DefaultSkinFile(), ShippedSkin("Default"));
    dir.Write("home/Skins/Default/skin.osk", "");
    EXPECT_EQ(TskinFolder::DefaultSkinFile(), UserSkin("Default"));
}

TEST(PixelFont, PixelHeightsBecomePointsAtNinetySixDotsPerInch)
{
    EXPECT_EQ(PixelsToPoints(27), 20);
    EXPECT_EQ(PixelsToPoints(19), 14);
    EXPECT_EQ(PixelsToPoints(13), 10);
    EXPECT_EQ(PixelsToPoints(11), 8);
    EXPECT_EQ(PixelsToPoints(2), 2); // 1.5 rounds up
}

TEST_F(SkinFolder, AnExitDuringALoadDoesNotWriteTheHalfLoadedSkin)
{
    const std::string file = dir.Write("home/Skins/Slow/skin.osk", kSavedSkin);
    skin.ApplySkinColors(clWhite, clWhite);
    int runs = 0;
    skin.ProcessMessages = [&] {
        // The messages that run between two controls close the window and pick another skin.
        ++runs;
        skin.SaveCurrentSkin();
        skin.LoadSkinFile("");
    };
    skin.LoadSkinFile(file);
    EXPECT_GT(runs, 0);
    EXPECT_EQ(TempDir::Read(file), kSavedSkin);
    EXPECT_EQ(skin.CurrentSkinFile(), file);
    EXPECT_EQ(skin.ButtonColor(), RGBColor(0x10, 0x20, 0x30));
}

TEST_F(SkinFolder, FilesOutsideTheSkinsFoldersLinksAndSpecialFilesAreRefusedAndLeftUntouched)
{
    namespace fs = std::filesystem;
    TfakePrompts prompts;
    const std::string own = dir.Write("home/Skins/Own/skin.osk", kSavedSkin);
    skin.LoadSkinFile(own);
    ASSERT_EQ(skin.CurrentSkinFile(), own);
    // A file outside the Skins folders, named directly or through a link in a skin folder, is neither
    // loaded nor written at exit.
    const std::string notes = dir.Write("out/notes.txt", "[Colors]\r\nButtonColor=#FF0000\r\nmy lines\r\n");
    fs::create_directories(dir.File("home/Skins/Linked"));
    fs::create_symlink(notes, UserSkin("Linked"));
    for (const std::string& file : {notes, UserSkin("Linked")}) {
        skin.LoadSkinFile(file);
        EXPECT_EQ(skin.CurrentSkinFile(), own) << file;
        skin.SaveCurrentSkin();
    }
    EXPECT_EQ(TempDir::Read(notes), "[Colors]\r\nButtonColor=#FF0000\r\nmy lines\r\n");
    EXPECT_EQ(skin.ButtonColor(), RGBColor(0x10, 0x20, 0x30));
    EXPECT_EQ(prompts.boxes.size(), 2u);

    // A FIFO or an oversized file as the skin file is refused at once; a bitmap linked out of its folder
    // or a FIFO bitmap is passed over and named.
    fs::create_directories(dir.File("home/Skins/Fifo"));
    ASSERT_EQ(::mkfifo(UserSkin("Fifo").c_str(), 0600), 0);
    dir.Write("home/Skins/Huge/skin.osk", "[Colors]\r\n" + std::string(2 * 1024 * 1024, ';'));
    for (const char* name : {"Fifo", "Huge"}) {
        skin.LoadSkinFile(UserSkin(name));
        EXPECT_EQ(skin.CurrentSkinFile(), own) << name;
    }
    WriteBmp(dir.File("out/outside.bmp"), Grey(30, 10, 90));
    dir.Write("home/Skins/Links/skin.osk",
              "[obtnExit]\r\nImage=out.bmp\r\n[obtnMaximize]\r\nImage=pipe.bmp\r\n");
    fs::create_symlink(dir.File("out/outside.bmp"), dir.File("home/Skins/Links/out.bmp"));
    ASSERT_EQ(::mkfifo(dir.File("home/Skins/Links/pipe.bmp").c_str(), 0600), 0);
    prompts.boxes.clear();
    skin.LoadSkinFile(UserSkin("Links"));
    EXPECT_TRUE(exit->SkinBitmap().isNull());
    EXPECT_TRUE(maximize->SkinBitmap().isNull());
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_NE(prompts.boxes[0].text.find("obtnExit: out.bmp"), std::string::npos);
    EXPECT_NE(prompts.boxes[0].text.find("obtnMaximize: pipe.bmp"), std::string::npos);

    // An export never writes through a link in the skin's folder, nor into a folder linked elsewhere.
    prompts.answers = {TmessageResult::Yes};
    exit->SetSkinBitmap(Grey(30, 10, 90));
    const std::string target = dir.Write("out/target.bmp", "keep");
    fs::create_symlink(target, dir.File("home/Skins/Links/obtnExit_Image.bmp"));
    EXPECT_EQ(skin.ExportSkin("Links"), TskinExportResult::Exported);
    EXPECT_EQ(TempDir::Read(target), "keep");
    EXPECT_FALSE(fs::is_symlink(dir.File("home/Skins/Links/obtnExit_Image.bmp")));
    fs::create_directories(dir.File("out/elsewhere"));
    fs::create_directory_symlink(dir.File("out/elsewhere"), dir.File("home/Skins/Away"));
    EXPECT_EQ(skin.ExportSkin("Away"), TskinExportResult::Refused);
    EXPECT_TRUE(fs::is_empty(dir.File("out/elsewhere")));
}

TEST_F(SkinFolder, BrokenSkinsAreNamedAndTheControlsKeepTheirLook)
{
    TfakePrompts prompts;
    // Refused before any skin was loaded, the Default skin is loaded instead.
    dir.Write("home/Skins/Default/skin.osk", "[Colors]\r\nButtonColor=#010203\r\nPanelColor=#040506\r\n");
    dir.Write("home/Skins/Junk/skin.osk", "");
    skin.LoadSkinFile(UserSkin("Junk"));
    EXPECT_EQ(skin.CurrentSkinFile(), std::string());
    EXPECT_EQ(skin.ButtonColor(), RGBColor(1, 2, 3));
    const QImage before = Grey(40, 10, 60);
    controls->SetSkinBitmap(before);
    title->SetBitmapTopLeft(Grey(10, 24, 30));
    // An empty file and one of garbage keep the whole look, and the file stays the current one's.
    for (const std::string& bytes : {std::string(), std::string("\x01\x02garbage\r\nno=skin\r\n")}) {
        prompts.boxes.clear();
        dir.Write("home/Skins/Junk/skin.osk", bytes);
        skin.LoadSkinFile(UserSkin("Junk"));
        EXPECT_EQ(skin.ButtonColor(), RGBColor(1, 2, 3));
        EXPECT_NE(skin.CurrentSkinFile(), UserSkin("Junk"));
        ASSERT_EQ(prompts.boxes.size(), 1u);
        EXPECT_NE(prompts.boxes[0].text.find(UserSkin("Junk")), std::string::npos);
    }
    // A cut bitmap and a transport bitmap without the buttons' hit colours are refused by name.
    const std::string folder = dir.File("home/Skins/Cut");
    WriteBmp(folder + "/title.bmp", Grey(20, 24, 200));
    const std::string whole = TempDir::Read(folder + "/title.bmp");
    dir.Write("home/Skins/Cut/title.bmp", whole.substr(0, whole.size() / 2));
    WriteBmp(folder + "/multi.bmp", Grey(401, 30, 90));
    dir.Write("home/Skins/Cut/skin.osk",
              "[Colors]\r\nButtonColor=#0000FF\r\n[opnlTitle]\r\ntlImage=title.bmp\r\n"
              "[ombtnControls]\r\nImage=multi.bmp\r\n");
    prompts.boxes.clear();
    skin.LoadSkinFile(UserSkin("Cut"));
    EXPECT_EQ(skin.ButtonColor(), RGBColor(0, 0, 0xFF));
    EXPECT_TRUE(SameImage(title->BitmapTopLeft(), Grey(10, 24, 30)));
    EXPECT_TRUE(SameImage(controls->SkinBitmap(), before));
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_NE(prompts.boxes[0].text.find("opnlTitle: title.bmp"), std::string::npos);
    EXPECT_NE(prompts.boxes[0].text.find("ombtnControls: multi.bmp"), std::string::npos);
    // With its hit colours the transport bitmap is taken, the spare column dropped.
    QImage multi = Grey(401, 30, 90);
    const TColor hits[] = {clFuchsia, clBlue, clLime, clRed};
    for (int b = 0; b < 4; ++b)
        for (int x = 300 + 25 * b; x < 325 + 25 * b; ++x)
            multi.setPixelColor(x, 5, ToQColor(hits[b]));
    WriteBmp(folder + "/multi.bmp", multi);
    WriteBmp(folder + "/title.bmp", Grey(20, 24, 200));
    skin.LoadSkinFile(UserSkin("Cut"));
    EXPECT_EQ(controls->SkinBitmap().width(), 400);
    EXPECT_EQ(controls->size(), QSize(100, 30));
    EXPECT_TRUE(SameImage(title->BitmapTopLeft(), Grey(20, 24, 200)));
}

TEST_F(SkinFolder, AUsersCopyCutOrMissingFilesIsRepairedFromTheShippedSkin)
{
    const std::string shipped = dir.Write("bin/Skins/Night/skin.osk",
                                          std::string(kSavedSkin) + "[obtnExit]\r\nImage=exit.bmp\r\n"
                                                                    "[obtnMaximize]\r\nImage=max.bmp\r\n");
    WriteBmp(dir.File("bin/Skins/Night/exit.bmp"), Grey(30, 10, 90));
    WriteBmp(dir.File("bin/Skins/Night/max.bmp"), Grey(50, 10, 80));
    skin.LoadSkinFile(shipped);
    skin.ApplySkinColors(RGBColor(1, 2, 3), RGBColor(4, 5, 6));
    skin.SaveCurrentSkin();
    ASSERT_EQ(skin.CurrentSkinFile(), UserSkin("Night"));
    // A first close cut short: a bitmap cut, one missing, the skin file cut after its colours.
    const std::string exitBytes = TempDir::Read(dir.File("home/Skins/Night/exit.bmp"));
    dir.Write("home/Skins/Night/exit.bmp", exitBytes.substr(0, 20));
    std::filesystem::remove(dir.File("home/Skins/Night/max.bmp"));
    dir.Write("home/Skins/Night/skin.osk", "[Colors]\r\nButtonColor=#010203\r\nPanelColor=#040506\r\n");
    exit->SetSkinBitmap(QImage());
    skin.LoadSkinFile(shipped);
    EXPECT_EQ(skin.CurrentSkinFile(), UserSkin("Night"));
    EXPECT_TRUE(SameImage(exit->SkinBitmap(), Grey(30, 10, 90)));
    EXPECT_TRUE(SameImage(maximize->SkinBitmap(), Grey(50, 10, 80)));
    EXPECT_EQ(TempDir::Read(dir.File("home/Skins/Night/exit.bmp")), exitBytes);
    const TIniFile copy(UserSkin("Night"));
    EXPECT_EQ(copy.ReadString("Colors", "ButtonColor", ""), "#010203"); // the user's own stays
    EXPECT_EQ(copy.ReadString("obtnMaximize", "Image", ""), "max.bmp");
    EXPECT_EQ(skin.ButtonColor(), RGBColor(1, 2, 3));
}
