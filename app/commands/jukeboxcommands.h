#pragma once

#include "core/jukebox/partyplaygate.h"

#include <QObject>

#include <array>
#include <functional>
#include <vector>

class QAction;
class QWidget;
class TbusyGuard;
class TjukeboxActions;

// The main window's command table: each command's action and work, and the one way to run a command.
// The menu, its popup copy, a shortcut, a button of another window, the keyboard windows and drag and
// drop all come through Run, which holds the busy flag, the party-play gate and the exception boundary.
// A command that party play locks is also disabled on screen (a disabled action's shortcut does not fire
// either), and enabled again on unlock.
class TjukeboxCommands : public QObject
{
public:
    using TgateSource = std::function<TpartyPlayGate()>;

    // Links the window's actions (each must exist) and busy flag; gate tells party play's state now.
    TjukeboxCommands(QWidget* window, const TjukeboxActions& actions, TbusyGuard& busy, TgateSource gate);

    // Gives a command its work; state, for a toggle, is what its check mark shows (read back after every
    // run, so a refused or failed toggle leaves the mark true to the state).
    void Bind(TjukeboxCommand command, std::function<void()> work, std::function<bool()> state = {});
    bool Bound(TjukeboxCommand command) const;
    QAction* Action(TjukeboxCommand command) const;

    // May the command run now (not refused by the busy flag or party play)?
    bool Allowed(TjukeboxCommand command) const;
    // Runs the command's work when allowed, inside the exception boundary; true when the work ran to its
    // end. An unbound command does nothing.
    bool Run(TjukeboxCommand command);

    // Whether the command makes sense at all now (Deactivate without an active playlist); the action is
    // enabled when available and not locked.
    void SetAvailable(TjukeboxCommand command, bool available);
    // Enables and disables the actions after party play or its options changed.
    void ApplyLocks();
    // Sets every toggle's check mark from its state, without running anything.
    void SyncChecks();

    // A command a descendant window adds (the browser's queue commands): its action, the party-play option
    // that locks it and whether it may run while a long operation is under way. It runs through Run like
    // the table's own, from its action and from any other route (a double click, a drop).
    void Add(QAction* action, TpartyPlayOption option, bool runsWhileBusy, std::function<void()> work);
    bool Run(QAction* action);
    bool Allowed(const QAction* action) const;
    void SetAvailable(QAction* action, bool available);
    // Work of no action of its own (a drop onto the queue), under the same rule: runs when not refused by
    // the busy flag or the option; true when it ran to its end.
    bool RunGated(TpartyPlayOption option, bool runsWhileBusy, const std::function<void()>& work);

protected:
    // A command's shortcut wins over the focused control's own use of the key (Ctrl+A is Pause, never
    // select-all, inside the window).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Tentry
    {
        QAction* action = nullptr; // link
        std::function<void()> work;
        std::function<bool()> state;
        bool available = true;
    };

    struct Textra
    {
        QAction* action = nullptr; // link
        TpartyPlayOption option = TpartyPlayOption::None;
        bool runsWhileBusy = false;
        std::function<void()> work;
        bool available = true;
    };

    Tentry& Entry(TjukeboxCommand command) { return entries_[static_cast<std::size_t>(command)]; }
    const Tentry& Entry(TjukeboxCommand command) const { return entries_[static_cast<std::size_t>(command)]; }
    void Triggered(TjukeboxCommand command);
    void SyncCheck(const Tentry& entry) const;
    bool IsCommandShortcut(QObject* watched, QEvent* event) const;
    const Textra* Extra(const QAction* action) const;
    bool ExtraAllowed(const Textra& extra) const;

    QWidget* window_; // link
    TbusyGuard& busy_;
    TgateSource gate_;
    std::array<Tentry, kJukeboxCommandCount> entries_;
    std::vector<Textra> extras_;
};
