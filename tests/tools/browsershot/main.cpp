// The main window's library browser over a generated library: a letter of the tree open with an album
// selected, its songs in the track list and two albums queued. A test tool; `--screenshot file` saves the
// window there and quits, without it the window shows until closed.

#include "app/windows/frmjukeboxapp.h"
#include "controls/htmllistbox.h"
#include "controls/noscrolltreeview.h"
#include "controls/qtcolor.h"
#include "controls/treesinkmodel.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "support/generatedlibrary.h"
#include "support/localtestwindow.h"
#include "support/testmediaplayer.h"

#include <QApplication>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>

namespace {

class TshotWindow : public TlocalTestWindow<TfrmJukeboxApp>
{
public:
    std::unique_ptr<TcustomlocalJukeboxList> CreateJukeboxList() override
    {
        auto library = std::make_unique<TlocalJukeboxList>();
        library->SetLoadGenres(true);
        return library;
    }
};

TtreeNode NthAlbum(const TtreeSinkModel& model, TtreeNode under, int& skip)
{
    for (int i = 0; i < model.ChildCount(under); ++i) {
        const TtreeNode node = model.Child(under, i);
        if (model.Kind(node) == tnkAlbum && model.Data(node)->ArtistCount() == 1 && skip-- == 0)
            return node;
        if (const TtreeNode found = NthAlbum(model, node, skip))
            return found;
    }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    const char* screenshot = argc == 3 && std::strcmp(argv[1], "--screenshot") == 0 ? argv[2] : nullptr;
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    InstallPaletteColorResolver();
    QTemporaryDir home;
    ::setenv("ORVANE_HOME", (home.path() + "/").toLocal8Bit().constData(), 1);

    TmainWindowPtr window = CreateMainWindow<TshotWindow>();
    auto& browser = static_cast<TfrmJukeboxApp&>(*window);
    const TgeneratedLibrary generated({.Songs = 2000, .Artists = 120, .Albums = 200});
    TaudioTagList& global = browser.GetJukeboxList().GlobalList();
    global.BeginUpdate();
    for (const TaudioTag* song : generated.GlobalList().Items())
        global.AddCopy(song);
    global.EndUpdate();
    browser.LoadPreferences();
    browser.SetDisplayMode(TfrmJukeboxApp::kInitialDisplayMode);
    window->resize(1000, 700);
    window->show();

    int skip = 3;
    const TtreeNode queued = NthAlbum(browser.TreeModel(), {}, skip);
    browser.SelectNode(queued);
    browser.QueueSelectedAlbum();
    skip = 0;
    const TtreeNode album = NthAlbum(browser.TreeModel(), {}, skip);
    browser.Tree()->expand(browser.TreeModel().IndexOf(browser.TreeModel().Parent(album)));
    browser.SelectNode(album);
    browser.QueueSelectedAlbum();
    browser.TrackList()->SetSelected(1, true);
    QApplication::processEvents();
    if (screenshot)
        return window->grab().save(QString::fromLocal8Bit(screenshot)) ? 0 : 1;
    return QApplication::exec();
}
