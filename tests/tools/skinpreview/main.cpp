// The shipped Default skin on a rough copy of the main window's frame: title bar with its buttons, the
// song title, the transport and stacker panels, the three lists with their bars and scroll bars. A test
// tool; `--screenshot file.png` saves the window and quits.

#include "app/skins/skincomponents.h"
#include "app/skins/skinfolder.h"
#include "controls/alignlayout.h"
#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "platform/folders.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdlib>
#include <cstring>
#include <string>

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

    TskinComponents components_;
};

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
    return QApplication::exec();
}
