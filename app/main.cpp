// The program's main routine and its only composition root: the application object, the single-instance
// gate, the Qt-side services the core asks through, the windows, the message loop and the shutdown.
#include "app/dialogs/frmojabout.h"
#include "app/dialogs/frmpartyplay.h"
#include "app/dialogs/frmplaylist.h"
#include "app/dialogs/frmplugins.h"
#include "app/dialogs/frmprogress.h"
#include "app/dialogs/frmqueuemoveto.h"
#include "app/dialogs/frmreports.h"
#include "app/dialogs/frmwinampconfig.h"
#include "app/keyboard/frmkeyboard.h"
#include "app/qt/services/closesignals.h"
#include "app/qt/services/exceptionboundary.h"
#include "app/qt/services/focuskeeper.h"
#include "app/qt/services/qtdialogservice.h"
#include "app/qt/services/qtpromptservice.h"
#include "app/windows/frmojb.h"
#include "app/windows/frmplaylisteditor.h"
#include "app/windows/frmscreensaver.h"
#include "app/windows/frmstackerlist.h"
#include "controls/qtcolor.h"
#include "core/plugins/taggerloader.h"
#include "core/util/promptservice.h"
#include "platform/freememory.h"
#include "platform/qtstring.h"
#include "platform/singleinstance.h"

#include <QMessageBox>
#include <QMetaObject>

#include <cstdio>
#include <memory>

namespace {

// Brings the running copy's window to the front when another copy starts.
void ActivateWindow(QWidget* window)
{
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

int RunMainWindow(TorvaneApplication& app, platform::TsingleInstance& gate)
{
    // SIGTERM, SIGINT and SIGHUP are the system's close command; one that comes while the window is being
    // made closes it as soon as it exists.
    TfrmOJB* main = nullptr;
    bool closeAsked = false;
    const TcloseSignals closeSignals([&main, &closeAsked] {
        if (main)
            main->CloseFromSystem();
        else
            closeAsked = true;
    });
    TmainWindowPtr window;
    if (!Guarded([&] { window = CreateMainWindow<TfrmOJB>(); }))
        return 1;
    main = static_cast<TfrmOJB*>(window.get());
    main->SetSingleInstance(&gate);
    InstallWinampConfigDialog(main);
    // The windows that live for the whole run, in this order after the main window. The about form
    // outlives it; the others are its children and go with it. It links itself to them (and to the
    // party-play window and the screensaver) at its start-up step and lets go in its destruction step.
    const auto about = std::make_unique<TfrmOJAbout>();
    main->SetAboutForm(about.get());
    main->SetProgressWindow(new TfrmProgress(main, &main->Busy()));
    main->SetPlaylistEditor(new TfrmPlaylistEditor(main->GetLocalJukeboxList(), main));
    main->SetStackerWindow(new TfrmStackerList(main));
    main->SetPlaylistWindow(new TfrmPlaylist(main));
    main->SetReportsWindow(new TfrmReports(main));
    main->SetPartyPlayForm(GetPartyPlayForm());
    main->SetScreenSaverForm(GetScreenSaverForm());

    gate.OnActivate = [main] { ActivateWindow(main); };
    const TfocusKeeper focusKeeper(main);
    // The message loop ends once the main window has closed; queued, so that a close during the start-up
    // step still ends the loop that starts after it.
    main->OnClosed = [](TfrmJukebox*) {
        // exit, not quit: quit asks every window to close first, and the splash and the progress window
        // refuse.
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    };

    if (closeAsked)
        main->CloseFromSystem();
    if (main->OwnsSingleInstance() && !main->Closing()) {
        Guarded([main] { main->LoadPreferences(); });
        main->show();
        main->repaint();
        Guarded([main] { main->Startup(); });
    }
    // The start-up benchmark's mark: the library is loaded and the tree filled; the program then ends
    // without entering the loop.
    const bool exitWhenStarted = !qEnvironmentVariableIsEmpty("ORVANE_EXIT_WHEN_STARTED");
    if (exitWhenStarted) {
        std::fputs("started\n", stdout);
        std::fflush(stdout);
    }
    // A close that came while the start-up step let messages run has already ended the window; the exit
    // it queued may have been taken by a nested loop, so the loop is not entered then.
    const int result = main->Closing() || exitWhenStarted ? 0 : app.exec();
    gate.OnActivate = nullptr;
    main = nullptr;
    window.reset();
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    platform::ShareOneHeap();
    TorvaneApplication app(argc, argv);
    InstallPaletteColorResolver();
    SetApplicationTitle("Orvane Jukebox");
    QApplication::setApplicationName(platform::ToQString(ApplicationTitle()));
    QApplication::setQuitOnLastWindowClosed(false);

    // One copy per user: a second one raises the first and ends before it makes anything, so it neither
    // starts a player (which would empty the running copy's playlist) nor touches the settings.
    platform::TsingleInstance gate(ApplicationTitle());
    if (gate.Failed()) {
        // Not another copy: something keeps this one from starting, which the user is told of.
        const std::string text = ApplicationTitle() + " cannot start: " + gate.Failure();
        std::fprintf(stderr, "%s\n", text.c_str());
        QMessageBox::critical(nullptr, platform::ToQString(ApplicationTitle()), platform::ToQString(text));
        return 1;
    }
    if (!gate.Owns()) {
        gate.ActivateRunning();
        return 0;
    }

    InstallQtPromptService();
    TqtDialogService::SetQueuePositionDialog(
        [](QWidget* parent, int lowest, int highest, int current, int left, int top) {
            return AskQueuePosition(lowest, highest, current, left, top, parent);
        });
    InstallPluginsDialog();
    // The windows that exist before the main window: the shared on-screen keyboard, the party-play
    // options and the screensaver (all freed as the application ends).
    GetKeyboardForm();
    CreatePartyPlayForm();
    GetScreenSaverForm();
    const int result = RunMainWindow(app, gate);
    ReleaseTaggerLoader();
    return result;
}
