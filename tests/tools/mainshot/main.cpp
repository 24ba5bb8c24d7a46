// The finished main window over a generated library with the Default skin: an album queued, its first song
// playing a minute in, with its cover and the now-playing and count details beside the queue. A test tool;
// `--screenshot main.png` saves the window and quits, without it the window shows until closed.

#include "app/windows/frmmain.h"
#include "controls/htmllistbox.h"
#include "controls/noscrolltreeview.h"
#include "controls/qtcolor.h"
#include "controls/treesinkmodel.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/songs/audiotaglist.h"
#include "platform/qtstring.h"
#include "support/generatedlibrary.h"
#include "support/localtestwindow.h"
#include "support/testmediaplayer.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>

namespace {

using TshotWindow = TlocalTestWindow<TfrmMain>;

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

// A record sleeve for the cover-art folder, named the way the cover finder looks for it.
void WriteCover(const QString& folder, const TaudioTag& song)
{
    QImage cover(300, 300, QImage::Format_RGB32);
    QPainter p(&cover);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient ground(QPointF(90, 80), 320);
    ground.setColorAt(0, QColor(0xE8, 0x9A, 0x3C));
    ground.setColorAt(1, QColor(0x5A, 0x18, 0x40));
    p.fillRect(cover.rect(), ground);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 24));
    p.drawEllipse(QPointF(170, 170), 110, 110);
    p.setBrush(QColor(0xF0, 0xE0, 0xB0));
    p.drawEllipse(QPointF(170, 170), 34, 34);
    p.end();
    const QString name = platform::ToQString(song.Artist() + " - " + song.Album()) + ".bmp";
    cover.save(QDir(folder).filePath(name), "BMP");
}

} // namespace

int main(int argc, char** argv)
{
    const bool shot = argc == 3 && std::strcmp(argv[1], "--screenshot") == 0;
    // The shipped Default skin of this build.
    ::setenv("ORVANE_BIN_DIR", ORVANE_DEFAULT_BIN_DIR, 0);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    InstallPaletteColorResolver();
    QTemporaryDir home;
    QTemporaryDir covers;
    ::setenv("ORVANE_HOME", (home.path() + "/").toLocal8Bit().constData(), 1);

    TmainWindowPtr made = CreateMainWindow<TshotWindow>();
    auto& window = static_cast<TshotWindow&>(*made);
    const TgeneratedLibrary generated({.Songs = 2000, .Artists = 120, .Albums = 200});
    TaudioTagList& global = window.GetJukeboxList().GlobalList();
    global.BeginUpdate();
    for (const TaudioTag* song : generated.GlobalList().Items())
        global.AddCopy(song);
    global.EndUpdate();
    window.LoadPreferences();
    window.SetDisplayMode(TfrmJukeboxApp::kInitialDisplayMode);
    window.SetCoverArtFolder(platform::FromQString(covers.path()));
    window.SetFullScreen(false);
    window.setGeometry(0, 0, 1180, 760);
    window.show();

    const TtreeNode album = FirstAlbum(window.TreeModel(), {});
    window.Tree()->expand(window.TreeModel().IndexOf(window.TreeModel().Parent(album)));
    window.SelectNode(album);
    window.QueueSelectedAlbum();
    // The player reports its own copy of the song, as a real player does: the queue's entry goes when it
    // starts.
    const std::unique_ptr<TaudioTag> copy = window.GetJukebox().Queue().GetItem(0)->Clone();
    const TaudioTag& playing = *copy;
    WriteCover(covers.path(), playing);
    window.player->DoPlaybackStart(&playing);
    window.player->DoStateChange(mpsPlaying);
    window.player->DoVolumeChange(180);
    window.player->DoTimeChange(64'000, playing.Duration() * 1000);
    window.QueueList()->SetSelected(2, true);
    if (!shot)
        return QApplication::exec();
    QApplication::processEvents();
    return window.grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
