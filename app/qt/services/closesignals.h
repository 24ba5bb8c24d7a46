#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (the terminal that started the program closing) as the system's close command:
// the handler writes to a pipe, and the GUI thread turns the byte into a call of OnClose (the main window's
// close, subject to its close query).
class TcloseSignals : public QObject
{
public:
    explicit TcloseSignals(std::function<void()> onClose, QObject* parent = nullptr);
    ~TcloseSignals() override;

private:
    void Drain();

    std::function<void()> onClose_;
    std::unique_ptr<QSocketNotifier> notifier_;
};
