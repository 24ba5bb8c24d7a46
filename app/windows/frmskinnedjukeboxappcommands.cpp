// The skinned window's commands: the transport's Play and Next, the skinned window's own bindings in the
// command table (and the progress window of the skin's loops), and what party play holds on the window:
// full screen, the title buttons, the queue controls and the menu button.
#include "app/windows/frmskinnedjukeboxapp.h"

#include "app/commands/jukeboxcommands.h"
#include "app/dialogs/frmchoosecd.h"
#include "app/dialogs/frmprogress.h"
#include "app/skins/skinfolder.h"
#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "core/jukebox/localjukeboxlist.h"
#include "platform/scopeguard.h"

#include <QAction>
#include <QCoreApplication>
#include <QLayout>
#include <QMenu>
#include <QShortcut>

// ---- Transport

void TfrmSkinnedJukeboxApp::ControlsPlay()
{
    ombtnControls->setEnabled(false);
    const platform::TScopeExit enable([this] { ombtnControls->setEnabled(true); });
    QCoreApplication::processEvents();
    Play(false);
}

void TfrmSkinnedJukeboxApp::ControlsNext()
{
    ombtnControls->setEnabled(false);
    const platform::TScopeExit enable([this] { ombtnControls->setEnabled(true); });
    QCoreApplication::processEvents();
    PlayNext(true);
}

// ---- Party play

void TfrmSkinnedJukeboxApp::ApplyPartyPlayState()
{
    TfrmJukeboxApp::ApplyPartyPlayState();
    const bool party = IsPartyPlay();
    // The title buttons follow their actions; the layout packs the visible ones from the right edge. Party
    // play hides them, and its end gives each its own visibility back (Minimize is not in every window).
    const std::array<QAction*, kTitleActions> titleActions{alMain.actnFileExit, actnViewFullScreen,
                                                           alMain.actnViewMinimize, alMain.actnHelpHelp};
    if (party) {
        if (!partyFullScreen_) {
            savedFullScreen_ = fullScreen_;
            savedQueueControlsVisible_ = GetQueueControlsVisible();
            for (std::size_t i = 0; i < titleActions.size(); ++i)
                savedTitleVisible_[i] = titleActions[i]->isVisible();
        }
        partyFullScreen_ = true;
        SetQueueControlsVisible(savedQueueControlsVisible_ &&
                                !PartyPlayOption(TpartyPlayOption::QueueControls));
        SetFullScreen(true);
        for (QAction* action : titleActions)
            action->setVisible(false);
    } else if (partyFullScreen_) {
        partyFullScreen_ = false;
        SetQueueControlsVisible(savedQueueControlsVisible_);
        SetFullScreen(savedFullScreen_);
        for (std::size_t i = 0; i < titleActions.size(); ++i)
            titleActions[i]->setVisible(savedTitleVisible_[i]);
    }
    // A hidden action's shortcut is off with it: while party play lets the program close, Exit's shortcut
    // still runs the command.
    if (!partyExit_) {
        partyExit_ = new QShortcut(alMain.actnFileExit->shortcut(), this);
        connect(partyExit_, &QShortcut::activated, this,
                [this] { Commands().Run(TjukeboxCommand::FileExit); });
    }
    partyExit_->setEnabled(party && !alMain.actnFileExit->isVisible() &&
                           !PartyPlayOption(TpartyPlayOption::ApplicationClose));
    opnlTitle->layout()->activate();
    obtnMenu->SetHint(party ? alMain.actnPartyPlayEnabled->toolTip() : QStringLiteral("Main Menu"));
}

void TfrmSkinnedJukeboxApp::MenuButtonClick()
{
    if (IsPartyPlay())
        alMain.actnPartyPlayEnabled->trigger();
    else
        PopupMenu()->popup(obtnMenu->mapToGlobal(QPoint(0, obtnMenu->height())));
}

// ---- Bindings

void TfrmSkinnedJukeboxApp::BindSkinCommands()
{
    using C = TjukeboxCommand;
    // Play and Next from the menu or the keyboard hold the transport off as its buttons do.
    Commands().Bind(C::ControlPlay, [this] { ControlsPlay(); });
    Commands().Bind(C::ControlNext, [this] { ControlsNext(); });
    Commands().Bind(C::QueueAlbum, [this] { QueueAlbumWithSkin(); });
    // The progress window follows the skin's loops while a skin loads, applies or is written.
    skinFolder_->OnSkinProcessStart = [this](const std::string& caption) {
        if (TfrmProgress* progress = ProgressWindow())
            progress->ListProcessStart(caption);
    };
    skinFolder_->OnSkinProcess = [this](int index, int count) {
        if (TfrmProgress* progress = ProgressWindow())
            progress->ListProcess(static_cast<std::uint32_t>(index + 1), static_cast<std::uint32_t>(count));
    };
    skinFolder_->OnSkinProcessFinished = [this] {
        if (TfrmProgress* progress = ProgressWindow())
            progress->ListProcessFinished();
    };
}

void TfrmSkinnedJukeboxApp::QueueAlbumWithSkin()
{
    // The chooser in the skin's tree look: the jukebox tree set's artist font and its colour.
    const TtagFonts& fonts = JukeboxListFonts();
    const TFontDesc font = fonts.ArtistFont();
    TaudioTagAlbum* album = nullptr;
    if (ChooseAlbum(&GetJukeboxList(), album, &font, fonts.Color(), this) && album)
        GetLocalJukeboxList().QueueList(*album, true);
}
