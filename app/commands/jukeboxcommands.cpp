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
    for (std::size_t i = 0; i < kJukeboxCommandCount; ++i) {
        const auto command = static_cast<TjukeboxCommand>(i);
        const std::string name(TpartyPlayGate::ActionName(command));
        QAction* action = actions.Find(platform::ToQString(name));
        if (!action)
            throw EOrvaneError("The command " + name + " has no action.");
        entries_[i].action = action;
        connect(action, &QAction::triggered, this, [this, command] { Triggered(command); });
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

bool TjukeboxCommands::Allowed(TjukeboxCommand command) const
{
    if (busy_.Busy() && !TpartyPlayGate::RunsWhileBusy(command))
        return false;
    return !gate_ || gate_().AllowsCommand(command);
}

bool TjukeboxCommands::Run(TjukeboxCommand command)
{
    const Tentry& entry = Entry(command);
    bool ran = false;
    if (entry.work && entry.available && Allowed(command))
        ran = Guarded(entry.work);
    Guarded([&] { SyncCheck(entry); });
    return ran;
}

void TjukeboxCommands::Triggered(TjukeboxCommand command)
{
    // A checkable action has already flipped its mark; the work flips the state itself, through its
    // setter, so the mark goes back first and then follows the state.
    if (const Tentry& entry = Entry(command); entry.action->isCheckable()) {
        const QSignalBlocker block(entry.action);
        entry.action->setChecked(!entry.action->isChecked());
    }
    Run(command);
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
    Entry(command).available = available;
    ApplyLocks();
}

void TjukeboxCommands::ApplyLocks()
{
    const TpartyPlayGate gate = gate_ ? gate_() : TpartyPlayGate();
    for (std::size_t i = 0; i < kJukeboxCommandCount; ++i) {
        const auto command = static_cast<TjukeboxCommand>(i);
        entries_[i].action->setEnabled(entries_[i].available && gate.AllowsCommand(command));
    }
    for (const Textra& extra : extras_)
        extra.action->setEnabled(extra.available && gate.Allows(extra.option));
}

void TjukeboxCommands::Add(QAction* action, TpartyPlayOption option, bool runsWhileBusy,
                           std::function<void()> work)
{
    if (!action || Extra(action))
        throw EOrvaneError("A command is added once, with its action.");
    extras_.push_back({action, option, runsWhileBusy, std::move(work), action->isEnabled()});
    connect(action, &QAction::triggered, this, [this, action] { Run(action); });
    ApplyLocks();
}

const TjukeboxCommands::Textra* TjukeboxCommands::Extra(const QAction* action) const
{
    for (const Textra& extra : extras_)
        if (extra.action == action)
            return &extra;
    return nullptr;
}

bool TjukeboxCommands::ExtraAllowed(const Textra& extra) const
{
    if (busy_.Busy() && !extra.runsWhileBusy)
        return false;
    return !gate_ || gate_().Allows(extra.option);
}

bool TjukeboxCommands::Allowed(const QAction* action) const
{
    const Textra* extra = Extra(action);
    return extra && ExtraAllowed(*extra);
}

bool TjukeboxCommands::Run(QAction* action)
{
    const Textra* extra = Extra(action);
    if (!extra || !extra->work || !extra->available || !ExtraAllowed(*extra))
        return false;
    // The work may add commands: a copy runs.
    const std::function<void()> work = extra->work;
    return Guarded(work);
}

void TjukeboxCommands::SetAvailable(QAction* action, bool available)
{
    // Only this action: it follows a selection, and the others keep whatever state they are in.
    for (Textra& extra : extras_)
        if (extra.action == action) {
            extra.available = available;
            extra.action->setEnabled(available && (!gate_ || gate_().Allows(extra.option)));
        }
}

bool TjukeboxCommands::RunGated(TpartyPlayOption option, bool runsWhileBusy,
                                const std::function<void()>& work)
{
    if (busy_.Busy() && !runsWhileBusy)
        return false;
    if (gate_ && !gate_().Allows(option))
        return false;
    return Guarded(work);
}

bool TjukeboxCommands::IsCommandShortcut(QObject* watched, QEvent* event) const
{
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (const Tentry& entry : entries_)
        if (!entry.action->shortcut().isEmpty() && entry.action->shortcut() == pressed)
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
