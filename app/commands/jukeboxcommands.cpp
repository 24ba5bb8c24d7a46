#include "app/commands/jukeboxcommands.h"

#include "app/commands/jukeboxactions.h"
#include "app/qt/services/busyguard.h"
#include "app/qt/services/exceptionboundary.h"
#include "platform/error.h"
#include "platform/qtstring.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QSignalBlocker>
#include <QWidget>

#include <string>

TjukeboxCommands::TjukeboxCommands(QWidget* window, const TjukeboxActions& actions, TbusyGuard& busy,
                                   TgateSource gate)
    : QObject(window), window_(window), busy_(busy), gate_(std::move(gate))
{
    entries_.reserve(kJukeboxCommandCount);
    for (std::size_t i = 0; i < kJukeboxCommandCount; ++i) {
        const auto command = static_cast<TjukeboxCommand>(i);
        const std::string name(TpartyPlayGate::ActionName(command));
        QAction* action = actions.Find(platform::ToQString(name));
        if (!action)
            throw EOrvaneError("The command " + name + " has no action.");
        entries_.push_back({action,
                            TpartyPlayGate::OptionOf(command),
                            TpartyPlayGate::RunsWhileBusy(command),
                            {},
                            {},
                            true});
        connect(action, &QAction::triggered, this, [this, i] { Triggered(i); });
    }
    qApp->installEventFilter(this);
}

void TjukeboxCommands::Bind(TjukeboxCommand command, std::function<void()> work, std::function<bool()> state)
{
    Tentry& entry = Entry(command);
    entry.work = std::move(work);
    entry.state = std::move(state);
    SyncCheck(entry);
}

bool TjukeboxCommands::Bound(TjukeboxCommand command) const
{
    return static_cast<bool>(Entry(command).work);
}

QAction* TjukeboxCommands::Action(TjukeboxCommand command) const
{
    return Entry(command).action;
}

void TjukeboxCommands::Add(QAction* action, TpartyPlayOption option, bool runsWhileBusy,
                           std::function<void()> work)
{
    if (!action || IndexOf(action) >= 0)
        throw EOrvaneError("A command is added once, with its action.");
    const std::size_t index = entries_.size();
    entries_.push_back({action, option, runsWhileBusy, std::move(work), {}, action->isEnabled()});
    connect(action, &QAction::triggered, this, [this, index] { Triggered(index); });
    ApplyLocks();
}

int TjukeboxCommands::IndexOf(const QAction* action) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].action == action)
            return static_cast<int>(i);
    return -1;
}

bool TjukeboxCommands::Allows(TpartyPlayOption option, bool runsWhileBusy) const
{
    if (busy_.Busy() && !runsWhileBusy)
        return false;
    return !gate_ || gate_().Allows(option);
}

bool TjukeboxCommands::Allowed(TjukeboxCommand command) const
{
    const Tentry& entry = Entry(command);
    return Allows(entry.option, entry.runsWhileBusy);
}

bool TjukeboxCommands::Allowed(const QAction* action) const
{
    const int index = IndexOf(action);
    if (index < 0)
        return false;
    const Tentry& entry = entries_[static_cast<std::size_t>(index)];
    return Allows(entry.option, entry.runsWhileBusy);
}

bool TjukeboxCommands::Run(TjukeboxCommand command)
{
    return Run(static_cast<std::size_t>(command));
}

bool TjukeboxCommands::Run(QAction* action)
{
    const int index = IndexOf(action);
    return index >= 0 && Run(static_cast<std::size_t>(index));
}

bool TjukeboxCommands::Run(std::size_t index)
{
    bool ran = false;
    if (const Tentry& entry = entries_[index]; entry.work && entry.available) {
        // The work may add or rebind commands: a copy runs.
        const std::function<void()> work = entry.work;
        ran = RunGated(entry.option, entry.runsWhileBusy, work);
    }
    Guarded([&] { SyncCheck(entries_[index]); });
    return ran;
}

bool TjukeboxCommands::RunGated(TpartyPlayOption option, bool runsWhileBusy,
                                const std::function<void()>& work)
{
    return Allows(option, runsWhileBusy) && Guarded(work);
}

void TjukeboxCommands::Triggered(std::size_t index)
{
    // A checkable action has already flipped its mark; the work flips the state itself, through its
    // setter, so the mark goes back first and then follows the state.
    if (const Tentry& entry = entries_[index]; entry.action->isCheckable()) {
        const QSignalBlocker block(entry.action);
        entry.action->setChecked(!entry.action->isChecked());
    }
    Run(index);
}

void TjukeboxCommands::SyncCheck(const Tentry& entry) const
{
    if (!entry.state || !entry.action->isCheckable())
        return;
    const QSignalBlocker block(entry.action);
    entry.action->setChecked(entry.state());
}

void TjukeboxCommands::SyncChecks()
{
    for (const Tentry& entry : entries_)
        SyncCheck(entry);
}

void TjukeboxCommands::SetAvailable(TjukeboxCommand command, bool available)
{
    Tentry& entry = Entry(command);
    entry.available = available;
    Enable(entry, gate_ ? gate_() : TpartyPlayGate());
}

void TjukeboxCommands::SetAvailable(QAction* action, bool available)
{
    // Only this action: it follows a selection, and the others keep whatever state they are in.
    if (const int index = IndexOf(action); index >= 0) {
        Tentry& entry = entries_[static_cast<std::size_t>(index)];
        entry.available = available;
        Enable(entry, gate_ ? gate_() : TpartyPlayGate());
    }
}

void TjukeboxCommands::Enable(const Tentry& entry, const TpartyPlayGate& gate) const
{
    entry.action->setEnabled(entry.available && gate.Allows(entry.option));
}

void TjukeboxCommands::ApplyLocks()
{
    const TpartyPlayGate gate = gate_ ? gate_() : TpartyPlayGate();
    for (const Tentry& entry : entries_)
        Enable(entry, gate);
}

bool TjukeboxCommands::IsCommandShortcut(QObject* watched, QEvent* event) const
{
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    // The table's own commands; an added command's shortcut leaves the control its key.
    for (std::size_t i = 0; i < kJukeboxCommandCount; ++i)
        if (const QAction* action = entries_[i].action;
            !action->shortcut().isEmpty() && action->shortcut() == pressed)
            return true;
    return false;
}

bool TjukeboxCommands::eventFilter(QObject* watched, QEvent* event)
{
    // Not accepting the override lets the shortcut map have the key. The control never sees it, also
    // when the command is locked and its shortcut does not fire: the key press is then swallowed.
    if (event->type() == QEvent::ShortcutOverride && IsCommandShortcut(watched, event)) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::KeyPress && IsCommandShortcut(watched, event))
        return true;
    return QObject::eventFilter(watched, event);
}
