// The skinned main window over a generated library with the Default skin: a letter of the tree open, an album
// selected and queued. A test tool; `--screenshot windowed.png fullscreen.png [scaled.png]` saves the window
// in both modes (and, given a third file, windowed again with a copy of the Default skin drawn half as large
// again, in other banner fonts) and quits, without it the window shows until closed.

#include "app/windows/frmskinnedjukeboxapp.h"
#include "controls/htmllistbox.h"
#include "controls/noscrolltreeview.h"
#include "controls/qtcolor.h"
#include "controls/treesinkmodel.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/songs/audiotaglist.h"
#include "support/generatedlibrary.h"
#include "support/localtestwindow.h"
#include "support/scaledskin.h"
#include "support/testmediaplayer.h"

#include <QApplication>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>

namespace {

using TshotWindow = TlocalTestWindow<TfrmSkinnedJukeboxApp>;

TtreeNode FirstAlbum(const TtreeSinkModel& model, TtreeNode under)
{
    for (int i = 0; i < model.ChildCount(under); ++i) {
        const TtreeNode node = model.Child(under, i);
        if (model.Kind(node) == tnkAlbum && model.Data(node)->ArtistCount() == 1)
            return node;
        if (const TtreeNode found = FirstAlbum(model, node))
            return found;
    }
    return {};
}

bool Save(QWidget& window, const char* file)
{
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(file));
}

} // namespace

int main(int argc, char** argv)
{
    const bool shots = (argc == 4 || argc == 5) && std::strcmp(argv[1], "--screenshot") == 0;
    // The shipped Default skin of this build.
    ::setenv("ORVANE_BIN_DIR", ORVANE_DEFAULT_BIN_DIR, 0);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    InstallPaletteColorResolver();
    QTemporaryDir home;
    ::setenv("ORVANE_HOME", (home.path() + "/").toLocal8Bit().constData(), 1);

    TmainWindowPtr made = CreateMainWindow<TshotWindow>();
    auto& window = static_cast<TfrmSkinnedJukeboxApp&>(*made);
    const TgeneratedLibrary generated({.Songs = 2000, .Artists = 120, .Albums = 200});
    TaudioTagList& global = window.GetJukeboxList().GlobalList();
    global.BeginUpdate();
    for (const TaudioTag* song : generated.GlobalList().Items())
        global.AddCopy(song);
    global.EndUpdate();
    window.LoadPreferences();
    window.SetDisplayMode(TfrmJukeboxApp::kInitialDisplayMode);
    window.show();

    const TtreeNode album = FirstAlbum(window.TreeModel(), {});
    window.Tree()->expand(window.TreeModel().IndexOf(window.TreeModel().Parent(album)));
    window.SelectNode(album);
    window.QueueSelectedAlbum();
    window.TrackList()->SetSelected(1, true);
    window.PlaybackStarted(window.GetJukebox().Queue().GetItem(0));
    if (!shots)
        return QApplication::exec();
    window.SetFullScreen(false);
    window.setGeometry(40, 40, 640, 463); // the design size, smaller than the offscreen screen
    if (!Save(window, argv[2]))
        return 1;
    window.SetFullScreen(true);
    if (!Save(window, argv[3]))
        return 1;
    if (argc == 5) {
        window.SetFullScreen(false);
        window.LoadSkinFile(ScaledDefaultSkin("Scaled", 3, 2));
        window.setGeometry(40, 40, 800, 600);
        if (!Save(window, argv[4]))
            return 1;
    }
    return 0;
}
