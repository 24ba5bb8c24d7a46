// A program run of the media search window for the tests: loads the library of a data folder, then runs a
// "Full ReScan" of one media folder with "Scan All" and kills itself (SIGKILL, nothing cleaned up) at the
// given progress step. Arguments: plug-in folder, data folder, media folder, step.
#include "app/dialogs/frmmusicsearch.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/plugins/taggerloader.h"

#include <QApplication>
#include <QCheckBox>

#include <csignal>
#include <string>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 5)
        return 2;
    TaggerLoader().SetSupportLevel(2);
    TaggerLoader().SetPluginFolder(argv[1]);
    TlocalJukeboxList library;
    library.SetDataFolder(argv[2]);
    library.SetAutoSaveGlobal(true);
    library.LoadGlobalList();
    library.MediaFolders().Add(argv[3]);

    TfrmMusicSearch form(library);
    const int killAt = std::stoi(argv[4]);
    form.ProcessMessages = [killAt, step = 0]() mutable {
        if (++step == killAt)
            std::raise(SIGKILL);
    };
    form.findChild<QCheckBox*>("cbFullScan")->setChecked(true);
    form.RunScan(TscanScope::All);
    return 0;
}
