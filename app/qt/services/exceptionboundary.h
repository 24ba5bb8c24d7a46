#pragma once

#include <QApplication>

#include <exception>
#include <utility>

// Shows an exception as the framework's application handler would: a box captioned with the program's
// title holding the message; the program goes on.
void ShowException(const std::exception& error);
void ShowUnknownException();

// Runs work inside the exception boundary: nothing it throws leaves. True when it ran to its end.
template <typename F>
bool Guarded(F&& work) noexcept
{
    try {
        std::forward<F>(work)();
        return true;
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowUnknownException();
    }
    return false;
}

// The application object: every event handler, slot and timer tick runs inside the exception boundary.
class TorvaneApplication : public QApplication
{
public:
    TorvaneApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
