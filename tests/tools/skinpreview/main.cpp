// The shipped Default skin on a rough copy of the main window's frame: title bar with its buttons, the
// song title, the transport and stacker panels, the three lists with their bars and scroll bars. A test
// tool; `--screenshot file.png` saves the window and quits, `--skins-dialog colors.png skins.png` saves the
// two pages of the Skins dialog on that window and quits.

#include "app/dialogs/frmjukeboxskin.h"
#include "app/dialogs/skinshost.h"
#include "app/skins/pixelfont.h"
#include "app/skins/skincomponents.h"
#include "app/skins/skinfolder.h"
#include "controls/alignlayout.h"
#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "core/captions/tagfonts.h"
#include "platform/folders.h"

#include <QApplication>
#include <QListWidget>
#include <QStyleFactory>
#include <QTabWidget>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

class TpreviewWindow : public QWidget
{
public:
    TpreviewWindow()
    {
        resize(640, 420);
        setAutoFillBackground(true);
        Panel(this, "opnlBodyTop", TAlign::alTop, 6);
        Panel(this, "opnlBodyBottom", TAlign::alBottom, 6);
        Panel(this, "opnlBodyLeft", TAlign::alLeft, 6);
        Panel(this, "opnlBodyRight", TAlign::alRight, 6);
        auto* body = new QWidget(this);
        TalignLayout::SetAlign(body, TAlign::alClient);

        auto* title = Panel(body, "opnlTitle", TAlign::alTop, 24);
        for (const char* name : {"obtnExit", "obtnMaximize", "obtnMinimize", "obtnHelp", "obtnMenu"})
            Button(title, name, std::strcmp(name, "obtnMaximize") == 0);
        auto* song = Panel(body, "opnlSongTitle", TAlign::alTop, 40);
        song->setContentsMargins(8, 8, 8, 8);
        auto* controls = Panel(body, "opnlControls", TAlign::alTop, 60);
        controls->setContentsMargins(8, 8, 8, 8);
        auto* multi = Add<TorvaneMultiButton>(controls, "ombtnControls");
        multi->resize(44, 44);
        multi->move(10, 8);
        auto* stacker = Panel(body, "opnlStacker", TAlign::alTop, 36);
        stacker->setContentsMargins(8, 7, 8, 7);
        Button(stacker, "obtnStackerConfigure", false);
        Button(stacker, "obtnStackerPower", true);
        auto* queue = List(body, "QueueList", "opnlQueueLeft", TAlign::alBottom);
        queue->resize(queue->width(), 110);
        auto* tracks = List(body, "TrackList", "opnlTrackListLeft", TAlign::alRight);
        tracks->resize(300, tracks->height());
        List(body, "JukeboxList", "pnlJukeboxListLeft", TAlign::alClient);
        components_.SetWindow(this);
        components_.AddChildren(this);
        AddFonts("Jukebox List", {{TtagFonts::fkArtist, "Artist"},
                                  {TtagFonts::fkAlbum, "Album"},
                                  {TtagFonts::fkTitle, "Details"},
                                  {TtagFonts::fkIndex, "Root Font"}});
        AddFonts("Track List", {{TtagFonts::fkArtist, "Artist"},
                                {TtagFonts::fkTitle, "Track Title"},
                                {TtagFonts::fkIndex, "Track Number"},
                                {TtagFonts::fkDuration, "Duration"},
                                {TtagFonts::fkCharacter, "Characters"}});
        AddFonts("Queue List", {{TtagFonts::fkArtist, "Artist"},
                                {TtagFonts::fkTitle, "Track Title"},
                                {TtagFonts::fkIndex, "Play Index"},
                                {TtagFonts::fkDuration, "Duration"},
                                {TtagFonts::fkCharacter, "Characters"}});
    }

    TskinComponents& Components() { return components_; }

private:
    template <class T>
    static T* Add(QWidget* parent, const char* name)
    {
        auto* control = new T(parent);
        control->setObjectName(name);
        return control;
    }

    static TorvanePanel* Panel(QWidget* parent, const std::string& name, TAlign align, int size)
    {
        auto* panel = Add<TorvanePanel>(parent, name.c_str());
        panel->SetIsSkinned(true);
        panel->resize(size, size);
        TalignLayout::SetAlign(panel, align);
        return panel;
    }

    static void Button(QWidget* parent, const char* name, bool check)
    {
        auto* button = Add<TorvaneButton>(parent, name);
        button->SetIsSkinned(true);
        button->SetIsCheckButton(check);
        button->resize(22, 22);
        TalignLayout::SetAlign(button, TAlign::alRight);
    }

    // A list's clipping panel: top and bottom bars, the left bar, its scroll bar and a black list.
    static QWidget* List(QWidget* parent, const std::string& list, const char* left, TAlign align)
    {
        auto* clip = new QWidget(parent);
        TalignLayout::SetAlign(clip, align);
        Panel(clip, "opnl" + list + "Top", TAlign::alTop, 8);
        Panel(clip, "opnl" + list + "Bottom", TAlign::alBottom, 8);
        Panel(clip, left, TAlign::alLeft, 4);
        auto* bar = Add<TorvaneScrollBar>(clip, ("sb" + list).c_str());
        bar->SetMax(10);
        bar->resize(16, 100);
        TalignLayout::SetAlign(bar, TAlign::alRight);
        auto* view = new QWidget(clip);
        view->setAutoFillBackground(true);
        view->setPalette(QPalette(Qt::black));
        TalignLayout::SetAlign(view, TAlign::alClient);
        return clip;
    }

    void AddFonts(const std::string& name,
                  const std::vector<std::pair<TtagFonts::FontKind, std::string>>& fonts)
    {
        auto& set = *fontSets_.emplace_back(std::make_unique<TtagFonts>());
        set.SetNiceName(name);
        set.SetColorNiceName(name);
        for (const auto& [kind, niceName] : fonts) {
            set.SetFontNiceName(kind, niceName);
            set.SetFont(kind, PixelFont("Arial", 15, kind == TtagFonts::fkArtist ? clYellow : clWhite));
        }
        components_.AddFontSet(&set);
    }

    TskinComponents components_;
    std::vector<std::unique_ptr<TtagFonts>> fontSets_;
};

// The preview window as the Skins dialog sees it.
class TpreviewHost : public TskinsHost
{
public:
    TpreviewHost(TpreviewWindow& window, TskinFolder& skin, std::vector<TtagFonts*> fontSets)
        : window_(window), skin_(skin), fontSets_(std::move(fontSets))
    {}
    TskinFolder& SkinFolder() override { return skin_; }
    std::vector<TtagFonts*> SkinFontSets() const override { return fontSets_; }
    QWidget* HostWindow() const override { return &window_; }

private:
    TpreviewWindow& window_;
    TskinFolder& skin_;
    std::vector<TtagFonts*> fontSets_;
};

// Both pages of the dialog, the colours and fonts first.
bool SaveSkinsDialog(TpreviewWindow& window, TskinFolder& skin, const char* colorsFile, const char* skinsFile)
{
    TpreviewHost host(window, skin, window.Components().FontSets());
    TfrmJukeboxSkin dialog(&window);
    dialog.SetJukeboxApp(&host);
    dialog.show();
    QApplication::processEvents();
    if (!dialog.grab().save(colorsFile))
        return false;
    dialog.findChild<QTabWidget*>("pcSkins")->setCurrentIndex(1);
    dialog.findChild<QListWidget*>("lbSkins")->setCurrentRow(0);
    QApplication::processEvents();
    return dialog.grab().save(skinsFile);
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("ORVANE_BIN_DIR", ORVANE_DEFAULT_BIN_DIR, 0);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    TpreviewWindow window;
    TskinFolder skin(window.Components());
    skin.ProcessMessages = nullptr;
    skin.LoadSkinFile(platform::ShippedSkinsFolder() + "/Default/skin.osk");
    window.show();
    QApplication::processEvents();
    if (argc == 3 && std::strcmp(argv[1], "--screenshot") == 0)
        return window.grab().save(argv[2]) ? 0 : 1;
    if (argc == 4 && std::strcmp(argv[1], "--skins-dialog") == 0)
        return SaveSkinsDialog(window, skin, argv[2], argv[3]) ? 0 : 1;
    return QApplication::exec();
}
