// The media search window scanning the demo songs through the WAV plug-in. A test tool;
// `--screenshot file.png` saves the window half-way through the scan and quits, without it the window
// shows modally over a fresh library.

#include "app/dialogs/frmmusicsearch.h"
#include "app/qt/helpers/demolibrary.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/plugins/taggerloader.h"
#include "platform/folders.h"
#include "platform/qtstring.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QListWidget>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

// A plug-in folder of its own, so the shipped one gets no settings file.
bool LoadWavPlugin(const QTemporaryDir& plugins)
{
    const QString shipped = platform::ToQString(platform::ShippedFolder() + "TagPlugins/TAG_Pelmora.so");
    if (!QFile::copy(shipped, plugins.filePath("TAG_Pelmora.so")))
        return false;
    TaggerLoader().SetSupportLevel(2);
    TaggerLoader().SetPluginFolder(platform::FromQString(plugins.path()));
    return TaggerLoader().GetCount() > 0;
}

// Saves the window once the scan is a few steps in.
bool ScanAndShoot(TfrmMusicSearch& form, const QString& file)
{
    bool saved = false;
    form.ProcessMessages = [&, step = 0]() mutable {
        QCoreApplication::processEvents();
        if (++step == 1)
            saved = form.grab().save(file);
    };
    form.findChild<QCheckBox*>("cbCloseWhenDone")->setChecked(false);
    form.show();
    QCoreApplication::processEvents();
    form.ScanAll();
    return saved;
}

// The demo songs once more, all in one folder, so the scan of that folder takes several progress steps.
void WriteOneBigFolder(const QString& music)
{
    const QString folder = music + "/All Songs";
    QDir().mkpath(folder);
    int track = 0;
    QDirIterator songs(music, {"*.wav"}, QDir::Files, QDirIterator::Subdirectories);
    while (songs.hasNext()) {
        const QFileInfo song(songs.next());
        if (song.absolutePath() != folder)
            QFile::copy(song.filePath(), folder + QString::asprintf("/%02d - ", ++track) + song.fileName());
    }
}

} // namespace

int main(int argc, char** argv)
{
    // The plug-in is this build's, unless told otherwise.
    ::setenv("ORVANE_BIN_DIR", ORVANE_DEFAULT_BIN_DIR, 0);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    const QStringList args = app.arguments();
    const int at = int(args.indexOf("--screenshot"));
    const QString file = at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();

    QTemporaryDir plugins;
    QTemporaryDir work;
    if (!plugins.isValid() || !work.isValid() || !LoadWavPlugin(plugins))
        return 1;
    const std::string music = platform::FromQString(work.filePath("Music"));
    demolibrary::WriteSongs(music);
    WriteOneBigFolder(platform::ToQString(music));
    int rc = 0;
    {
        TlocalJukeboxList library;
        library.SetDataFolder(platform::FromQString(work.filePath("Data")));
        library.MediaFolders().Add(music);
        library.MediaFolders().Add(music + "/Aurora Lane");
        TfrmMusicSearch form(library);
        form.findChild<QCheckBox*>("cbRemoveMissing")->setChecked(true);
        form.findChild<QListWidget*>("clbFolders")->item(0)->setCheckState(Qt::Checked);
        if (!file.isEmpty()) {
            QDir().mkpath(QFileInfo(file).absolutePath());
            rc = ScanAndShoot(form, file) ? 0 : 1;
        } else {
            form.exec();
        }
    }
    ReleaseTaggerLoader();
    return rc;
}
