// Writes the Default skin that ships with the program: the grey skin drawn in code (controls/greyskin.h),
// one bitmap per skinnable control of the main window, saved with the program's own skin writer so that
// the files are exactly what the program reads. Run at build time: makedefaultskin <skin folder>.

#include "app/skins/pixelfont.h"
#include "app/skins/skincomponents.h"
#include "app/skins/skinfolder.h"
#include "controls/greyskin.h"
#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "core/captions/tagfonts.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"

#include <QApplication>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using greyskin::Symbol;

constexpr TColor kButtonColor = RGBColor(0x3C, 0x6E, 0x9F);
constexpr TColor kPanelColor = RGBColor(0x34, 0x38, 0x40);
constexpr int kVolumeThumbLength = 12;

struct TfontEntry
{
    TtagFonts::FontKind Kind;
    const char* NiceName;
    TFontDesc Font;
};

// The main window's font sets as the skin file names them: section, colour key, background, fonts.
struct TfontSetEntry
{
    const char* NiceName;
    const char* ColorNiceName; // empty: the set writes no colour key
    TColor Color;
    std::vector<TfontEntry> Fonts;
};

std::vector<TfontSetEntry> FontSets()
{
    using K = TtagFonts;
    const TFontStyles bold{TFontStyle::fsBold};
    const auto arial = [](int px, TColor c, TFontStyles s = {}) { return PixelFont("Arial", px, c, s); };
    const TColor white = clWhite;
    const TColor gold = RGBColor(0xFF, 0xD0, 0x80);
    const TColor sky = RGBColor(0xA0, 0xC8, 0xFF);
    const TColor grey = RGBColor(0xA0, 0xA0, 0xA0);
    const TColor dim = RGBColor(0x80, 0x80, 0x80);
    const auto saver = [](int r, int g, int b) { return PixelFont("Arial Black", 27, RGBColor(r, g, b)); };
    return {
        {"Jukebox List",
         "Jukebox List",
         clBlack,
         {{K::fkArtist, "Artist", arial(13, gold, bold)},
          {K::fkAlbum, "Album", arial(13, white)},
          {K::fkDuration, "Details", arial(11, grey)},
          {K::fkIndex, "Root Font", arial(13, sky, bold)}}},
        {"Track List",
         "Track List",
         clBlack,
         {{K::fkArtist, "Artist", arial(13, gold)},
          {K::fkTitle, "Track Title", arial(13, white)},
          {K::fkCharacter, "Characters", arial(13, dim)},
          {K::fkDuration, "Duration", arial(13, sky)},
          {K::fkIndex, "Track Number", arial(13, grey)}}},
        {"Queue List",
         "Queue List",
         clBlack,
         {{K::fkArtist, "Artist", arial(13, gold)},
          {K::fkTitle, "Track Title", arial(13, white)},
          {K::fkCharacter, "Characters", arial(13, dim)},
          {K::fkDuration, "Duration", arial(13, sky)},
          {K::fkIndex, "Play Index", arial(13, grey)}}},
        {"Song Title Banner",
         "Song Title Banner",
         clBlack,
         {{K::fkArtist, "Artist", arial(19, gold, bold)},
          {K::fkAlbum, "Album", arial(19, sky)},
          {K::fkTitle, "Track Title", arial(19, white, bold)},
          {K::fkCharacter, "Characters", arial(19, dim)},
          {K::fkIndex, "Track Number", arial(19, grey)}}},
        {"Other",
         "Timer/Clock",
         clBlack,
         {{K::fkTitle, "Track Details Values & Clock", arial(13, white)},
          {K::fkIndex, "Track Details Titles", arial(13, gold)},
          {K::fkArtist, "Queue Details Titles", arial(13, sky, bold)},
          {K::fkAlbum, "Queue Details Values", arial(11, white)},
          {K::fkCharacter, "Timer", arial(19, white)},
          {K::fkDuration, "Toolbar", arial(13, white)}}},
        // The screensaver's set lives in the skin too, so its fonts follow the skin like every other set.
        {"Screen Saver",
         "",
         clBlack,
         {{K::fkArtist, "Artist", saver(0x81, 0xFE, 0xDC)},
          {K::fkAlbum, "Album", saver(0x80, 0x80, 0xFF)},
          {K::fkTitle, "Title", saver(0x86, 0xFF, 0x80)},
          {K::fkCharacter, "Characters", saver(0xFF, 0x80, 0xEC)},
          {K::fkIndex, "Track Number", saver(0xBC, 0x80, 0xFF)}}},
    };
}

// The controls of the main window, named as the skin file names them, each holding its Default bitmaps.
class TdefaultSkinControls
{
public:
    TdefaultSkinControls()
    {
        components_.SetWindow(&window_);
        Title("opnlTitle");
        HorizontalBar("opnlBodyTop", 6, true);
        VerticalBar("opnlBodyLeft", 6, 1);
        VerticalBar("opnlBodyRight", 6, 2);
        HorizontalBar("opnlBodyBottom", 6, false);
        for (const char* name :
             {"opnlSongTitle", "opnlControls", "opnlStacker", "opnlCoverArt", "opnlQueueControls"})
            Frame(name);
        for (const char* list : {"JukeboxList", "TrackList", "QueueList"}) {
            HorizontalBar(std::string("opnl") + list + "Top", 8, true);
            HorizontalBar(std::string("opnl") + list + "Bottom", 8, false);
        }
        for (const char* name : {"pnlJukeboxListLeft", "opnlTrackListLeft", "opnlQueueLeft"})
            VerticalBar(name, 4, 1);
        Button("obtnExit", false, 18, 18, Symbol::Close);
        Button("obtnMenu", false, 18, 18, Symbol::Menu);
        Button("obtnHelp", false, 18, 18, Symbol::Help);
        Button("obtnMinimize", false, 18, 18, Symbol::Minimize);
        Button("obtnMaximize", true, 30, 18, Symbol::Maximize);
        Button("obtnStackerConfigure", false, 22, 22, Symbol::Configure);
        Button("obtnStackerPower", true, 32, 22, Symbol::Power);
        Button("obtnQueueMoveUp", false, 22, 22, Symbol::MoveUp);
        Button("obtnQueueMoveDown", false, 22, 22, Symbol::MoveDown);
        Button("obtnQueueMoveTo", false, 22, 22, Symbol::MoveTo);
        Button("obtnQueueDelete", false, 22, 22, Symbol::Delete);
        Button("obtnQueueRandomize", false, 22, 22, Symbol::Shuffle);
        Button("obtnQueueClear", false, 22, 22, Symbol::Close);
        auto* controls = Add<TorvaneMultiButton>("ombtnControls");
        controls->SetSkinBitmap(greyskin::MultiButton(176, 44));
        for (const char* name : {"sbJukeboxList", "sbTrackList", "sbQueueList"})
            ScrollBar(name, true);
        // The volume bar is only as high as the time display: a list bar's thumb would cover its arrows
        // and leave it no room to move.
        ScrollBar("sbVolume", true, kVolumeThumbLength);
        ScrollBar("sbTrackPosition", false);
        for (const TfontSetEntry& entry : FontSets())
            FontSet(entry);
    }

    TskinComponents& Components() { return components_; }

private:
    template <class T>
    T* Add(const std::string& name)
    {
        auto* control = new T(&window_);
        control->setObjectName(platform::ToQString(name));
        components_.Add(control);
        return control;
    }

    void Title(const std::string& name)
    {
        auto* panel = Add<TorvanePanel>(name);
        panel->SetBitmapTopLeft(greyskin::TitleEnd(20, 24, true));
        panel->SetBitmapTopCenter(greyskin::TitleCentre(4, 24));
        panel->SetBitmapTopRight(greyskin::TitleEnd(20, 24, false));
    }

    // A frame's top (corners 0 and 1) or bottom (corners 2 and 3) as a bar.
    void HorizontalBar(const std::string& name, int thickness, bool top)
    {
        auto* panel = Add<TorvanePanel>(name);
        panel->SetBitmapTopLeft(greyskin::PanelCorner(thickness, top ? 0 : 2));
        panel->SetBitmapTopCenter(greyskin::PanelEdge(8, thickness, top ? 0 : 3));
        panel->SetBitmapTopRight(greyskin::PanelCorner(thickness, top ? 1 : 3));
    }

    void VerticalBar(const std::string& name, int thickness, int side)
    {
        auto* panel = Add<TorvanePanel>(name);
        panel->SetBitmapTopLeft(greyskin::PanelEdge(thickness, thickness, side));
        panel->SetBitmapLeftCenter(greyskin::PanelEdge(8, thickness, side));
        panel->SetBitmapBottomLeft(greyskin::PanelEdge(thickness, thickness, side));
    }

    void Frame(const std::string& name)
    {
        auto* panel = Add<TorvanePanel>(name);
        constexpr int kEdge = 8;
        panel->SetBitmapTopLeft(greyskin::PanelCorner(kEdge, 0));
        panel->SetBitmapTopRight(greyskin::PanelCorner(kEdge, 1));
        panel->SetBitmapBottomLeft(greyskin::PanelCorner(kEdge, 2));
        panel->SetBitmapBottomRight(greyskin::PanelCorner(kEdge, 3));
        panel->SetBitmapTopCenter(greyskin::PanelEdge(8, kEdge, 0));
        panel->SetBitmapLeftCenter(greyskin::PanelEdge(8, kEdge, 1));
        panel->SetBitmapRightCenter(greyskin::PanelEdge(8, kEdge, 2));
        panel->SetBitmapBottomCenter(greyskin::PanelEdge(8, kEdge, 3));
        panel->SetBitmapMiddle(greyskin::PanelMiddle(8));
    }

    void Button(const std::string& name, bool check, int w, int h, Symbol symbol)
    {
        auto* button = Add<TorvaneButton>(name);
        button->SetIsCheckButton(check);
        button->SetSkinBitmap(check ? greyskin::CheckButton(w, h, symbol)
                                    : greyskin::PushButton(w, h, symbol));
    }

    void ScrollBar(const std::string& name, bool vertical, int thumbLength = 36)
    {
        auto* bar = Add<TorvaneScrollBar>(name);
        bar->SetStyle(vertical ? TosbStyle::osbVertical : TosbStyle::osbHorizontal);
        bar->SetUpButtonSkin(greyskin::ScrollArrow(16, vertical ? 0 : 2));
        bar->SetDownButtonSkin(greyskin::ScrollArrow(16, vertical ? 1 : 3));
        bar->SetScrollButtonSkin(vertical ? greyskin::ScrollThumb(16, thumbLength)
                                          : greyskin::ScrollThumb(thumbLength, 16));
        bar->SetBackBitmap(vertical ? greyskin::ScrollTrack(16, 8) : greyskin::ScrollTrack(16, 16));
    }

    void FontSet(const TfontSetEntry& entry)
    {
        auto fonts = std::make_unique<TtagFonts>();
        fonts->SetNiceName(entry.NiceName);
        fonts->SetColorNiceName(entry.ColorNiceName);
        fonts->SetColor(entry.Color);
        for (const TfontEntry& font : entry.Fonts) {
            fonts->SetFontNiceName(font.Kind, font.NiceName);
            fonts->SetFont(font.Kind, font.Font);
        }
        components_.AddFontSet(fonts.get());
        fontSets_.push_back(std::move(fonts));
    }

    QWidget window_;
    TskinComponents components_;
    std::vector<std::unique_ptr<TtagFonts>> fontSets_;
};

// Leaves the folder without an older run's skin file and bitmaps.
void ClearSkinFolder(const std::filesystem::path& folder)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file(ec) &&
            (ext == ".bmp" || entry.path().filename() == TskinFolder::kSkinFileName))
            std::filesystem::remove(entry.path(), ec);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: makedefaultskin <skin folder>\n";
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    try {
        const std::filesystem::path folder(argv[1]);
        std::filesystem::create_directories(folder);
        ClearSkinFolder(folder);
        const std::string file = (folder / TskinFolder::kSkinFileName).string();
        {
            TIniFile info(file);
            info.WriteString("Info", "Title", TskinFolder::kDefaultSkinName);
            info.WriteString("Info", "Description",
                             "The skin that comes with the program: steel blue on slate.");
            info.WriteString("Info", "Creator", "Orvane Jukebox");
            info.UpdateFile();
        }
        TdefaultSkinControls controls;
        TskinFolder skin(controls.Components());
        skin.ProcessMessages = nullptr;
        skin.ApplySkinColors(kButtonColor, kPanelColor);
        skin.SaveSkin(file, true);
    } catch (const std::exception& e) {
        std::cerr << "makedefaultskin: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
