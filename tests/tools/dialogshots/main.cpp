// The small windows of the program's start: the splash, the about box and the information window over a
// generated library. A test tool; `--screenshots folder` saves splash.png, about.png and information.png
// there and quits, without it the windows show one after the other.

#include "app/dialogs/frmjukeboxinfo.h"
#include "app/dialogs/frmojabout.h"
#include "controls/qtcolor.h"
#include "core/jukebox/localjukebox.h"
#include "support/generatedlibrary.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

std::unique_ptr<TaudioTagList> Cartridge(const TaudioTagList& from, const std::string& title, int first,
                                         int songs)
{
    auto list = std::make_unique<TaudioTagList>();
    list->SetTitle(title);
    for (int i = first; i < first + songs && i < from.Count(); ++i)
        list->AddCopy(from.GetItem(i));
    return list;
}

// A library with something in every part of the summary.
void FillJukebox(TgeneratedLibrary& library, TlocalJukebox& jukebox)
{
    jukebox.SetJukeboxList(&library);
    const TaudioTagList& global = library.GlobalList();
    for (int i = 0; i < 12; ++i)
        jukebox.Queue().AddCopy(global.GetItem(i * 7));
    jukebox.Stacker().Add(Cartridge(global, "Sunday Morning", 40, 25).release());
    jukebox.Stacker().Add(Cartridge(global, "Road Trip", 90, 60).release());
    jukebox.SetActivePreloadedList(library.AddPlaylist("Party Mix", 48));
}

// Runs work on the modal window once the modal loop is up.
void WhenModal(std::function<void(QWidget*)> work)
{
    QTimer::singleShot(50, [work = std::move(work)]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget())
            work(modal);
        else
            WhenModal(std::move(work));
    });
}

void FireSplashTimer(TfrmAbout& about)
{
    QMetaObject::invokeMethod(about.SplashTimer(), "timeout");
}

bool SaveAll(const QString& folder, TfrmOJAbout& about, TfrmJukeboxInfo& info)
{
    const QDir dir(folder);
    if (!dir.mkpath("."))
        return false;
    bool saved = true;
    about.ShowSplash();
    QApplication::processEvents();
    saved = about.grab().save(dir.filePath("splash.png")) && saved;
    FireSplashTimer(about);

    WhenModal([&](QWidget* shown) {
        saved = shown->grab().save(dir.filePath("about.png")) && saved;
        about.reject();
    });
    about.ShowAboutBox();

    info.show();
    QApplication::processEvents();
    saved = info.grab().save(dir.filePath("information.png")) && saved;
    info.hide();
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    InstallPaletteColorResolver();
    const QStringList args = app.arguments();
    const int at = int(args.indexOf("--screenshots"));
    const QString folder = at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();

    TlibraryShape shape;
    shape.Songs = 640;
    shape.Artists = 36;
    shape.Albums = 70;
    TgeneratedLibrary library(shape);
    TlocalJukebox jukebox;
    FillJukebox(library, jukebox);

    TfrmOJAbout about;
    TfrmJukeboxInfo info;
    info.FillInfo(library, &jukebox);
    if (!folder.isEmpty())
        return SaveAll(folder, about, info) ? 0 : 1;

    about.ShowSplash();
    QObject::connect(&about, &QDialog::finished, &about, [&] {
        QObject::disconnect(&about, &QDialog::finished, nullptr, nullptr);
        QTimer::singleShot(0, [&] {
            about.ShowAboutBox();
            info.exec();
            QApplication::quit();
        });
    });
    return app.exec();
}
