// orvane-standin: takes Winamp's place. Owns the window of class "Winamp v1.x" (or /CLASS=name) and
// answers Winamp's remote-control messages. A second start hands its files to the first and ends:
//   orvane-standin /add FILE...   appends the files (playlist files contribute their entries)
//   orvane-standin FILE...        replaces the playlist with the files and plays
//   orvane-standin                nothing more when one already runs
// --silent (or ORVANE_STANDIN_SILENT=1) plays without a device; --speed=F (or ORVANE_STANDIN_SPEED=F) runs
// the silent clock F times faster than real time. --log=FILE (or ORVANE_STANDIN_LOG=FILE) appends what it
// plays to FILE, one line each ("play FILE", "pause", "resume", "stop", "close", "volume N").
#include "standinplayer.h"

#include "platform/error.h"
#include "platform/messagewindow.h"
#include "platform/textcompare.h"
#include "platform/winampipc.h"
#include "platform/windowmessages.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using namespace platform;

namespace {

struct TOptions
{
    std::string className = winamp::kWindowClass;
    bool add = false;
    std::vector<std::string> files;
    bool silent = false;
    double speed = 1.0;
    std::string logFile;
};

std::string Absolute(const std::string& fileName)
{
    std::error_code ec;
    const auto path = std::filesystem::absolute(fileName, ec);
    return ec ? fileName : path.lexically_normal().string();
}

bool TrueText(const char* text)
{
    return text && *text && std::string(text) != "0";
}

TOptions ReadOptions(int argc, char** argv)
{
    TOptions options;
    options.silent = TrueText(std::getenv("ORVANE_STANDIN_SILENT"));
    if (const char* speed = std::getenv("ORVANE_STANDIN_SPEED"))
        options.speed = std::atof(speed);
    if (const char* log = std::getenv("ORVANE_STANDIN_LOG"))
        options.logFile = log;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (SameText(argument, "/add"))
            options.add = true;
        else if (StartsText("/class=", argument))
            options.className = argument.substr(7);
        else if (argument == "--silent")
            options.silent = true;
        else if (argument.compare(0, 8, "--speed=") == 0)
            options.speed = std::atof(argument.c_str() + 8);
        else if (argument.compare(0, 6, "--log=") == 0)
            options.logFile = argument.substr(6);
        else if (argument.empty() || argument.compare(0, 2, "--") == 0)
            continue;
        // Winamp's other switches (/NEW, /PLAY...) mean nothing here; a name with a folder is a file.
        else if (argument[0] != '/' || argument.find('/', 1) != std::string::npos ||
                 std::filesystem::exists(argument))
            options.files.push_back(Absolute(argument));
    }
    if (!(options.speed > 0))
        options.speed = 1.0;
    return options;
}

// Hands the files to the running instance; false when it did not take them all.
bool HandOver(TWindowHandle window, const TOptions& options)
{
    if (options.files.empty())
        return true;
    if (!options.add)
        SendMessage(window, WM_USER, 0, winamp::IpcClearPlaylist);
    bool taken = true;
    for (const std::string& file : options.files)
        taken = SendCopyData(window, winamp::IpcPlayFile, file) == 1 && taken;
    if (!options.add)
        SendMessage(window, WM_USER, 0, winamp::IpcStartPlay);
    return taken;
}

int signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const TOptions options = ReadOptions(argc, argv);

    if (const TWindowHandle running = FindWindowByClass(options.className))
        return HandOver(running, options) ? 0 : 2;
    std::unique_ptr<TMessageWindow> window;
    try {
        window = std::make_unique<TMessageWindow>(options.className);
    } catch (const EOrvaneError& error) {
        // Another instance may have opened the window in the meantime.
        if (const TWindowHandle running = FindWindowByClass(options.className))
            return HandOver(running, options) ? 0 : 2;
        std::fprintf(stderr, "orvane-standin: %s\n", error.what());
        return 1;
    }

    TstandinPlayer player(std::make_unique<TsoundOutput>(options.silent, options.speed));
    window->OnMessage = [&player](std::uint32_t msg, std::intptr_t w, std::intptr_t l) {
        return player.HandleMessage(msg, w, l);
    };
    window->OnCopyData = [&player](std::intptr_t tag, const std::string& data) {
        return player.HandleCopyData(tag, data);
    };
    // The answer to the close command goes out before the loop ends.
    std::ofstream log;
    if (!options.logFile.empty()) {
        log.open(options.logFile, std::ios::app);
        player.OnReport = [&log](const std::string& line) { log << line << std::endl; };
    }
    player.OnClose = [] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); };
    for (const std::string& file : options.files)
        player.Playlist().Append(file);
    if (!options.add && !options.files.empty())
        player.Play();

    // Ended by a signal, the window still closes and removes its socket.
    std::unique_ptr<QSocketNotifier> signalNotifier;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0) {
        signalNotifier = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
        QObject::connect(signalNotifier.get(), &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        struct sigaction action
        {
        };
        action.sa_handler = OnSignal;
        ::sigaction(SIGTERM, &action, nullptr);
        ::sigaction(SIGINT, &action, nullptr);
        ::sigaction(SIGHUP, &action, nullptr);
    }
    return app.exec();
}
