// The whole program's start on a generated home, as a user starts it: from launching OrvaneJukebox
// (offscreen, with a fresh home and runtime folder) until its library is loaded and its tree filled, which
// the program tells on its standard output when ORVANE_EXIT_WHEN_STARTED is set. The 100-song home is the
// baseline.
#include "benchlibrary.h"
#include "core/jukebox/localjukeboxlist.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct GeneratedHome
{
    std::string path;

    explicit GeneratedHome(int songs)
        : path((fs::temp_directory_path() /
                ("orvane-bench-home-" + std::to_string(::getpid()) + "-" + std::to_string(songs)))
                   .string())
    {
        fs::create_directories(path + "/runtime/orvane");
        fs::permissions(path + "/runtime", fs::perms::owner_all);
        SaveGeneratedLibrary(path + "/Data", songs);
        // The generated songs have no files: random play, which would prepare one at once, is off.
        fs::create_directories(path + "/Settings");
        std::ofstream(path + "/Settings/settings.ini") << "[RandomPlay]\r\nEnabled=0\r\n";
    }
    ~GeneratedHome() { fs::remove_all(path); }
};

// Seconds from the launch to the program's "started" line; negative when it ended without one.
double StartOnce(const GeneratedHome& home)
{
    int out[2];
    if (::pipe(out) != 0)
        return -1;
    const auto launched = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        // The offscreen platform's notes are not the benchmark's.
        if (const int quiet = ::open("/dev/null", O_WRONLY); quiet >= 0)
            ::dup2(quiet, STDERR_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::setenv("ORVANE_HOME", (home.path + "/").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", (home.path + "/runtime").c_str(), 1);
        ::setenv("ORVANE_IPC_DIR", (home.path + "/runtime/orvane").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("ORVANE_EXIT_WHEN_STARTED", "1", 1);
        ::umask(002);
        ::execl(ORVANE_PROGRAM, ORVANE_PROGRAM, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string said;
    char buffer[256];
    double seconds = -1;
    for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) > 0;) {
        said.append(buffer, static_cast<std::size_t>(got));
        if (seconds < 0 && said.find("started\n") != std::string::npos)
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - launched).count();
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return seconds;
}

void BM_ProgramStart(benchmark::State& state)
{
    const int songs = static_cast<int>(state.range(0));
    const GeneratedHome home(songs);
    for (auto _ : state) {
        const double seconds = StartOnce(home);
        if (seconds < 0) {
            state.SkipWithError("the program did not start");
            break;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["songs"] = songs;
}

} // namespace

BENCHMARK(BM_ProgramStart)
    ->Arg(100)
    ->Arg(100000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProgramStart)->Arg(1000000)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
