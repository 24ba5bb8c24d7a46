#pragma once

#include "platform/folders.h"
#include "platform/qtstring.h"
#include "platform/winampipc.h"
#include "platform/windowmessages.h"
#include "support/pumpevents.h"

#include <QProcess>
#include <QString>

#include <string>

// The stand-in player program of this build, run for one test: Start brings it up and answers its window,
// Finish waits for it to end (the player under test closes it) and kills it when it does not.
class TstandinProcess
{
public:
    TstandinProcess() = default;
    TstandinProcess(const TstandinProcess&) = delete;
    TstandinProcess& operator=(const TstandinProcess&) = delete;
    ~TstandinProcess() { Finish(); }

    // The program's window; 0 when it did not start or showed no window.
    platform::TWindowHandle Start()
    {
        const std::string program = platform::ShippedFolder() + platform::winamp::kStandinExecutable;
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(platform::ToQString(program), {});
        if (!process_.waitForStarted(5000))
            return 0;
        platform::TWindowHandle window = 0;
        PumpUntil(
            [&] { return (window = platform::FindWindowByClass(platform::winamp::kWindowClass)) != 0; });
        return window;
    }

    void Finish()
    {
        if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }

    QProcess& Process() { return process_; }

private:
    QProcess process_;
};
