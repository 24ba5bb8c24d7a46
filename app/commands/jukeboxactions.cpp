#include "app/commands/jukeboxactions.h"

#include "platform/qtstring.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

TjukeboxActions::TjukeboxActions(QWidget* window)
{
    actnFileQueueFile = Make(window, "actnFileQueueFile", "&Queue File ...", "Queue a file", "Ctrl+Q");
    actnFileRefreshCDs =
        Make(window, "actnFileRefreshCDs", "&Refresh/Scan CDs", "Refresh the current CD information", "F5");
    actnFileScanFolders = Make(window, "actnFileScanFolders", "&Scan Folders",
                               "Scan your media folders for new and modified media.", "Ctrl+Shift+F5");
    actnFileInformation = Make(window, "actnFileInformation", "&Information", nullptr, "Ctrl+I");
    actnFileExit = Make(window, "actnFileExit", "E&xit", "Exit the program", "Ctrl+Alt+X");
    actnSettingsMusicFolders =
        Make(window, "actnSettingsMusicFolders", "&Media Folders", "Configure your Media Folders");
    actnSettingsGeneral = Make(window, "actnSettingsGeneral", "&General", "General Settings and Preferences");
    actnSettingsAlarmClock =
        Make(window, "actnSettingsAlarmClock", "Alarm &Clock", "Configure the Alarm Clock");
    actnSettingsAutoPlay =
        Make(window, "actnSettingsAutoPlay", "A&uto Play on Startup", nullptr, nullptr, true);
    actnSettingsAlwaysOnTop = Make(window, "actnSettingsAlwaysOnTop", "Always on &Top",
                                   "Toggle 'Always on Top' mode", "Ctrl+Alt+A", true);
    actnSettingsPlayer =
        Make(window, "actnSettingsPlayer", "&Audio Player", "Configure your Audio Player Settings");
    actnSettingsPlugins = Make(window, "actnSettingsPlugins", "&Plugins", "Configure Plugins");
    actnSettingsShowTimeRemaining = Make(window, "actnSettingsShowTimeRemaining", "Show Time &Remaining",
                                         "Toggle between Time Elapsed/Remaining modes.", nullptr, true);
    actnControlPlay = Make(window, "actnControlPlay", "&Play", "Play", "Ctrl+P");
    actnControlNext = Make(window, "actnControlNext", "&Next", "Next/Skip", "Ctrl+N");
    actnControlPause = Make(window, "actnControlPause", "P&ause", "Pause", "Ctrl+A");
    actnControlStop = Make(window, "actnControlStop", "&Stop", "Stop", "Ctrl+S");
    actnRandomPlayEnabled =
        Make(window, "actnRandomPlayEnabled", "&Enabled", "Enable/Disable Global Random Play", nullptr, true);
    actnRandomPlayFilters =
        Make(window, "actnRandomPlayFilters", "&Set Filters", "Configure Global Random Play Filters");
    actnQueueAlbum = Make(window, "actnQueueAlbum", "Queue Al&bum", "Choose an Album to add to the Queue");
    actnQueueRandomize =
        Make(window, "actnQueueRandomize", "&Randomize", "Randomize the contents of the Queue");
    actnQueueClear = Make(window, "actnQueueClear", "&Clear", "Clear all tracks from the Queue.");
    actnStackerConfigure =
        Make(window, "actnStackerConfigure", "&Configure", "Configure the Stacker", "Ctrl+K");
    actnStackerEnabled =
        Make(window, "actnStackerEnabled", "&Enabled", "Enable/Disable the Stacker", "Ctrl+Alt+K", true);
    actnStackerLoadCartridge = Make(window, "actnStackerLoadCartridge", "&Load Cartridge",
                                    "Load a Cartridge File into the Stacker.");
    actnStackerAddCartridge = Make(window, "actnStackerAddCartridge", "&Add Cartridge",
                                   "Add a Cartridge file to the contents of the Stacker");
    actnStackerSaveCartridge =
        Make(window, "actnStackerSaveCartridge", "&Save Cartridge", "Save the stacker to a Cartridge file.");
    actnPlaylistsShow = Make(window, "actnPlaylistsShow", "Show &Playlist", "Show the current playlist.");
    actnPlaylistsShowEditor =
        Make(window, "actnPlaylistsShowEditor", "Show Playlist &Editor", "Show the Playlist Editor");
    actnPlaylistEnabled =
        Make(window, "actnPlaylistEnabled", "&Deactivate", "Deactivate the Active Playlist");
    actnPartyPlayEnabled =
        Make(window, "actnPartyPlayEnabled", "&Enabled", "Enable/Disable Party Play Mode", nullptr, true);
    actnPartyPlayConfigure =
        Make(window, "actnPartyPlayConfigure", "&Configure", "Configure Party Play Mode");
    actnReportsRun = Make(window, "actnReportsRun", "&Run Report", "Run a Report on your media collection");
    actnReportsShowHistory =
        Make(window, "actnReportsShowHistory", "&History Log", "Show the Track History Log");
    actnSearch = Make(window, "actnSearch", "&Search", "Search for a track based on its title.", "Ctrl+F");
    actnViewKeyboards = Make(window, "actnViewKeyboards", "On Screen &Keyboards",
                             "Enable/Disable On Screen Keyboards", nullptr, true);
    actnViewMinimize = Make(window, "actnViewMinimize", "Minimi&ze", "Minimize");
    actnHelpHelp = Make(window, "actnHelpHelp", "&Help", "Help");
    actnHelpTips = Make(window, "actnHelpTips", "&Tips", "Show the Tips Window");
    actnHelpAbout = Make(window, "actnHelpAbout", "&About", "About");

    // The concrete main window shows it.
    actnViewMinimize->setVisible(false);
    // Enabled only while an active playlist exists.
    actnPlaylistEnabled->setEnabled(false);
}

QAction* TjukeboxActions::Make(QWidget* window, const char* name, const char* caption, const char* hint,
                               const char* shortcut, bool checkable)
{
    auto* action = new QAction(platform::ToQString(caption), window);
    action->setObjectName(platform::ToQString(name));
    action->setCheckable(checkable);
    if (shortcut)
        action->setShortcut(QKeySequence(platform::ToQString(shortcut)));
    SetHint(action, hint ? platform::ToQString(hint) : QString());
    window->addAction(action);
    all_.push_back(action);
    return action;
}

QAction* TjukeboxActions::Find(const QString& name) const
{
    for (QAction* action : all_)
        if (action->objectName() == name)
            return action;
    return nullptr;
}

void TjukeboxActions::SetHint(QAction* action, const QString& hint)
{
    action->setStatusTip(hint);
    if (hint.isEmpty()) {
        action->setToolTip(QString());
        return;
    }
    // Hints show the command's shortcut after the text.
    const QKeySequence shortcut = action->shortcut();
    action->setToolTip(shortcut.isEmpty()
                           ? hint
                           : hint + QStringLiteral(" (") + shortcut.toString(QKeySequence::NativeText) +
                                 QStringLiteral(")"));
}

QString TjukeboxActions::Hint(const QAction* action)
{
    return action->statusTip();
}

QMenu* TjukeboxActions::AddMenu(QMenuBar* menuBar, const char* name, const char* title,
                                const std::vector<QAction*>& items) const
{
    QMenu* menu = menuBar->addMenu(platform::ToQString(title));
    menu->setObjectName(platform::ToQString(name));
    for (QAction* item : items) {
        if (item)
            menu->addAction(item);
        else
            menu->addSeparator();
    }
    return menu;
}

void TjukeboxActions::BuildMainMenu(QMenuBar* menuBar) const
{
    menuBar->clear();
    AddMenu(menuBar, "File1", "&File",
            {actnFileQueueFile, nullptr, actnFileRefreshCDs, actnFileScanFolders, nullptr,
             actnFileInformation, nullptr, actnFileExit});
    AddMenu(menuBar, "Settings1", "&Settings",
            {actnSettingsMusicFolders, actnSettingsGeneral, actnSettingsAlarmClock, nullptr,
             actnSettingsAutoPlay, actnSettingsAlwaysOnTop, nullptr, actnSettingsPlayer,
             actnSettingsPlugins});
    AddMenu(menuBar, "Control1", "&Control",
            {actnControlPlay, actnControlNext, actnControlPause, actnControlStop});
    AddMenu(menuBar, "RandomPlay1", "&Random Play", {actnRandomPlayEnabled, actnRandomPlayFilters});
    // The search has no other way in: it sits with the queue, which is what it feeds.
    AddMenu(menuBar, "Queue1", "&Queue", {actnQueueAlbum, actnSearch, actnQueueRandomize, actnQueueClear});
    AddMenu(menuBar, "Stacker1", "Stac&ker", {actnStackerConfigure, actnStackerEnabled});
    AddMenu(menuBar, "Playlists1", "&Playlists",
            {actnPlaylistsShow, actnPlaylistsShowEditor, nullptr, actnPlaylistEnabled});
    AddMenu(menuBar, "PartyPlay1", "Party Pla&y", {actnPartyPlayEnabled, actnPartyPlayConfigure});
    AddMenu(menuBar, "Reports1", "R&eports", {actnReportsRun, actnReportsShowHistory});
    AddMenu(menuBar, "View1", "&View", {actnViewKeyboards, actnViewMinimize});
    AddMenu(menuBar, "Help1", "&Help", {actnHelpHelp, actnHelpTips, nullptr, actnHelpAbout});
}
