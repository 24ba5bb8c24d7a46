#pragma once

#include "core/jukebox/partyplaygate.h"

#include <QObject>

#include <functional>
#include <vector>

class QAction;
class QWidget;
class TbusyGuard;
class TjukeboxActions;

// The main window's command table: each command's action, work and party-play rule, and the one way to
// run a command. The menu, its popup copy, a shortcut, a button of another window, the keyboard windows,
// drag and drop and the window's gated operations all come through Run, which holds the busy flag, the
// party-play gate and the exception boundary: the one place the gate is asked. A command that party play
// locks is also disabled on screen (a disabled action's shortcut does not fire either), and enabled again
// on unlock.
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
    // A command a descendant window adds (the browser's queue commands, not toggles): its action, the
    // party-play option that locks it and whether it may run while a long operation is under way. From
    // then on it is a command like the table's own, run by its action or by name of its action.
    void Add(QAction* action, TpartyPlayOption option, bool runsWhileBusy, std::function<void()> work);

    // May the command run now (not refused by the busy flag or party play)? An action that is no command
    // may not.
    bool Allowed(TjukeboxCommand command) const;
    bool Allowed(const QAction* action) const;
    // Runs the command's work when allowed, inside the exception boundary; true when the work ran to its
    // end. An unbound or unavailable command does nothing.
    bool Run(TjukeboxCommand command);
    bool Run(QAction* action);
    // Work of no command of its own (a drop onto the queue, a volume bar), under the same rule: runs when
    // not refused by the busy flag or the option; true when it ran to its end.
    bool RunGated(TpartyPlayOption option, bool runsWhileBusy, const std::function<void()>& work);

    // Whether the command makes sense at all now (Deactivate without an active playlist, a queue command
    // without a selection); its action is enabled when available and not locked.
    void SetAvailable(TjukeboxCommand command, bool available);
    void SetAvailable(QAction* action, bool available);
    // Enables and disables the actions after party play or its options changed.
    void ApplyLocks();
    // Sets every toggle's check mark from its state, without running anything.
    void SyncChecks();

protected:
    // A command's shortcut wins over the focused control's own use of the key (Ctrl+A is Pause, never
    // select-all, inside the window).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Tentry
    {
        QAction* action = nullptr; // link
        TpartyPlayOption option = TpartyPlayOption::None;
        bool runsWhileBusy = false;
        std::function<void()> work;
        std::function<bool()> state;
        bool available = true;
    };

    Tentry& Entry(TjukeboxCommand command) { return entries_[static_cast<std::size_t>(command)]; }
    const Tentry& Entry(TjukeboxCommand command) const { return entries_[static_cast<std::size_t>(command)]; }
    // The entry's place in the table; -1 for an action that is no command.
    int IndexOf(const QAction* action) const;
    bool Allows(TpartyPlayOption option, bool runsWhileBusy) const;
    bool Run(std::size_t index);
    void Triggered(std::size_t index);
    void Enable(const Tentry& entry, const TpartyPlayGate& gate) const;
    void SyncCheck(const Tentry& entry) const;
    bool IsCommandShortcut(QObject* watched, QEvent* event) const;

    QWidget* window_; // link
    TbusyGuard& busy_;
    TgateSource gate_;
    // The table's commands in their order, then the added ones.
    std::vector<Tentry> entries_;
};
