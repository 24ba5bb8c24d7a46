#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <unordered_map>

class QWidget;

// Help commands as the framework hands them to help handlers.
constexpr std::uint16_t HELP_CONTEXT = 0x0001;
constexpr std::uint16_t HELP_QUIT = 0x0002;
constexpr std::uint16_t HELP_CONTEXTPOPUP = 0x0008;
constexpr std::uint16_t HELP_FINDER = 0x000B;

// A help handler: gets the command and its data, returns its result, and clears callHelp when no other
// handler (and no built-in help) is to run after it.
using THelpEvent = std::function<bool(std::uint16_t command, std::intptr_t data, bool& callHelp)>;

// The framework's help requests: F1 (or the HelpContents key) over a widget asks for the help context of
// the nearest widget up its parents that has one; in a window with a handler of its own, F1 without a
// context asks for context 0 (the default topic). A request goes to its window's handler, then, while
// callHelp is still set, to the application's. There is no built-in help engine behind them.
class TapplicationHelp : public QObject
{
    Q_OBJECT

public:
    // The one instance; it watches the application's key presses from its first use on.
    static TapplicationHelp& Instance();

    // The application's handler.
    THelpEvent OnHelp;
    // A window's own handler; an empty one removes it.
    void SetFormHelp(QWidget* form, THelpEvent handler);
    THelpEvent FormHelp(const QWidget* form) const;

    // The help context number of a widget (0: none).
    static void SetHelpContext(QWidget* widget, int context);
    static int HelpContextOf(const QWidget* widget);

    // Runs a request raised in the window of `from` (may be null: the application's handler only).
    bool HelpCommand(QWidget* from, std::uint16_t command, std::intptr_t data);
    bool HelpContext(QWidget* from, int context) { return HelpCommand(from, HELP_CONTEXT, context); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TapplicationHelp();

    std::unordered_map<const QObject*, THelpEvent> formHelp_;
};
