#pragma once

#include <QString>

#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// The main window's commands: one QAction each, owned by and added to the window so that their shortcuts
// work with the menu bar hidden, and the main menu that carries them.
class TjukeboxActions
{
public:
    // Makes every action as a child of window and adds it to the window.
    explicit TjukeboxActions(QWidget* window);
    TjukeboxActions(const TjukeboxActions&) = delete;
    TjukeboxActions& operator=(const TjukeboxActions&) = delete;

    // Every action, in the order of the command table.
    const std::vector<QAction*>& All() const { return all_; }
    // The action of that object name; nullptr when there is none.
    QAction* Find(const QString& name) const;

    // Fills the menu bar with the main menu: File, Settings, Control, Random Play, Queue, Stacker,
    // Playlists, Party Play, Reports, View, Help.
    void BuildMainMenu(QMenuBar* menuBar) const;

    // A hint as the program shows it: the status tip holds the hint, the tool tip adds the shortcut.
    static void SetHint(QAction* action, const QString& hint);
    static QString Hint(const QAction* action);

    QAction* actnFileQueueFile;
    QAction* actnFileRefreshCDs;
    QAction* actnFileScanFolders;
    QAction* actnFileInformation;
    QAction* actnFileExit;
    QAction* actnSettingsMusicFolders;
    QAction* actnSettingsGeneral;
    QAction* actnSettingsAlarmClock;
    QAction* actnSettingsAutoPlay;
    QAction* actnSettingsAlwaysOnTop;
    QAction* actnSettingsPlayer;
    QAction* actnSettingsPlugins;
    QAction* actnSettingsShowTimeRemaining;
    QAction* actnControlPlay;
    QAction* actnControlNext;
    QAction* actnControlPause;
    QAction* actnControlStop;
    QAction* actnRandomPlayEnabled;
    QAction* actnRandomPlayFilters;
    QAction* actnQueueAlbum;
    QAction* actnQueueRandomize;
    QAction* actnQueueClear;
    QAction* actnStackerConfigure;
    QAction* actnStackerEnabled;
    QAction* actnStackerLoadCartridge;
    QAction* actnStackerAddCartridge;
    QAction* actnStackerSaveCartridge;
    QAction* actnPlaylistsShow;
    QAction* actnPlaylistsShowEditor;
    QAction* actnPlaylistEnabled;
    QAction* actnPartyPlayEnabled;
    QAction* actnPartyPlayConfigure;
    QAction* actnReportsRun;
    QAction* actnReportsShowHistory;
    QAction* actnSearch;
    QAction* actnViewKeyboards;
    QAction* actnViewMinimize;
    QAction* actnHelpHelp;
    QAction* actnHelpTips;
    QAction* actnHelpAbout;

private:
    QAction* Make(QWidget* window, const char* name, const char* caption, const char* hint,
                  const char* shortcut = nullptr, bool checkable = false);
    QMenu* AddMenu(QMenuBar* menuBar, const char* name, const char* title,
                   const std::vector<QAction*>& items) const;

    std::vector<QAction*> all_;
};
