// Start-up to an idle window, each start a fresh process: the program with the sample project on
// its command line, against a bare Qt main window of the same size. A child writes the monotonic
// clock when its window is exposed, its event queue has run empty and it has painted what it was
// asked to, and the parent takes the time from just before it started the child.
//
// The bare window is timed twice. In an executable of its own, linked with Qt Widgets alone, it is
// a bare Qt program: the ratio against it (target: at most 1.3) counts everything the program's
// start costs a user, the loading of the libraries it links included. Run from this executable, it
// loads the program's libraries and runs their initialisers as the program does, so the ratio
// against it is what the program does on top of a window and its libraries.
//
// A third child, from the bare window's executable, is a Qt main window furnished with the kinds of
// controls the program's has (support/FurnishedWindow.h). Its ratio to the bare window is what that
// furniture alone costs in Qt, and the program's ratio to it what the program costs beyond it.
//
// Run it under an X server (xvfb-run -a) to count the window system in; without a display the
// children use the offscreen platform. A desktop has a session bus, which the program's automation
// object and the window system's accessibility use; where none is set, as under a bare xvfb-run, the
// children get one of their own. Without one, the bus library would fork a launcher for a bus at
// every start of the program, which no desktop user's start does.
// First: Qt's "slots" keyword would empty a parameter of the same name.
#include "BenchSupport.h"
#include "support/IdleWatch.h"

#include "app/ui/MainFrame.h"
#include "app/ui/StartupWarmUp.h"
#include "app/ui/TALVOStartup.h"
#include "platform/base/HeapReuse.h"
#include "wiring/WindowServices.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cerrno>
#include <csignal>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <poll.h>
#include <spawn.h>
#include <xcb/xcb.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

int RunProgramChild(int argc, char** argv, const std::string& project)
{
    KeepFreedMemoryForReuse();
    CStartupWarmUp warmUp;
    QApplication qapp(argc, argv);
    SetUpProgram(warmUp);
    CTALVOStartup startup = InitTALVOApp({project});
    if (!startup.ok || !startup.mainFrame)
        return 2;
    benchsupport::CIdleWatch watch(*startup.mainFrame);
    const int code = qapp.exec();
    ExitTALVOApp(startup);
    warmUp.Wait();
    return code;
}

std::string g_self, g_project, g_settings;

// Starts args[0] (looked up on the path when it names no folder) with its standard output into a
// pipe: the child's id and the end of the pipe to read (the caller closes it), or 0 when it did not
// start. started, when given, is the clock just before the child was started.
pid_t StartWithOutputPipe(std::vector<std::string> args, int& readEnd, int64_t* started = nullptr)
{
    int out[2];
    if (::pipe(out) != 0)
        return 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (started)
        *started = benchsupport::MonotonicNs();
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        return 0;
    }
    readEnd = out[0];
    return pid;
}

// A session bus of the benchmark's own, for children started where none is set.
class CSessionBus
{
public:
    CSessionBus() = default;
    CSessionBus(const CSessionBus&) = delete;
    CSessionBus& operator=(const CSessionBus&) = delete;
    ~CSessionBus()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }

    // Starts dbus-daemon and makes its address the session bus of the children; false when the
    // daemon does not start or prints no address within ten seconds.
    bool Start()
    {
        int out = -1;
        m_pid = StartWithOutputPipe({"dbus-daemon", "--session", "--nofork", "--print-address=1"}, out);
        if (m_pid == 0)
            return false;
        std::string address;
        pollfd ready{out, POLLIN, 0};
        char c = 0;
        while (::poll(&ready, 1, 10000) > 0 && ::read(out, &c, 1) == 1 && c != '\n')
            address += c;
        ::close(out);
        if (address.empty())
            return false;
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
        return true;
    }

private:
    pid_t m_pid = 0;
};

// Starts this executable as the given child and returns its start-to-idle time in seconds (NaN
// when it failed).
double TimeChild(const std::string& executable, const char* mode)
{
    int out = -1;
    int64_t start = 0;
    const pid_t pid = StartWithOutputPipe({executable, mode, g_project}, out, &start);
    if (pid == 0)
        return NAN;
    std::string text;
    char buffer[64];
    ssize_t got = 0;
    while ((got = ::read(out, buffer, sizeof buffer)) != 0) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        text.append(buffer, size_t(got));
    }
    ::close(out);
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return NAN;
    const long long idle = std::atoll(text.c_str());
    return idle > start ? double(idle - start) / 1e9 : NAN;
}

void StartToIdle(benchmark::State& state, const std::string& executable, const char* mode)
{
    for (auto _ : state) {
        const double seconds = TimeChild(executable, mode);
        if (std::isnan(seconds)) {
            state.SkipWithError("the child did not reach an idle window");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_ProgramWithSample(benchmark::State& state)
{
    StartToIdle(state, g_self, "--child-program");
}
void BM_BareWindow(benchmark::State& state)
{
    StartToIdle(state, g_self, "--child-bare");
}
void BM_BareWindowOwnExecutable(benchmark::State& state)
{
    StartToIdle(state, ORVEX_BARE_WINDOW, "--child-bare");
}
void BM_FurnishedWindowOwnExecutable(benchmark::State& state)
{
    StartToIdle(state, ORVEX_BARE_WINDOW, "--child-furnished");
}
BENCHMARK(BM_ProgramWithSample)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5)->Repetitions(5);
BENCHMARK(BM_BareWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5)->Repetitions(5);
BENCHMARK(BM_BareWindowOwnExecutable)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5)->Repetitions(5);
BENCHMARK(BM_FurnishedWindowOwnExecutable)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5)
    ->Repetitions(5);

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--child-program") == 0 && argc >= 3)
        return RunProgramChild(argc, argv, argv[2]);
    if (argc >= 2 && std::strcmp(argv[1], "--child-bare") == 0)
        return benchsupport::RunBareWindow(argc, argv);

    g_self = std::filesystem::canonical("/proc/self/exe").string();
    g_project = ORVEX_SAMPLE_PROJECT;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The program's settings stay in a folder of the bench's own.
    g_settings =
        (std::filesystem::temp_directory_path() / ("orvex_bench_startup_" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(g_settings);
    ::setenv("ORVEX_SETTINGS_DIR", g_settings.c_str(), 1);

    // The X server of xvfb-run resets itself each time its last client leaves, and a child would
    // meet a server still busy with the reset after the child before it (the program's children
    // mostly follow each other). The parent stays connected, as a desktop's other clients do.
    xcb_connection_t* const keepServer = std::getenv("DISPLAY") ? xcb_connect(nullptr, nullptr) : nullptr;
    CSessionBus ownBus;
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS") ? "the desktop's session bus"
                      : ownBus.Start()                        ? "a session bus of its own"
                                                              : "no session bus";

    benchsupport::InitializeInterleaved(argc, argv);
    benchsupport::CFastestReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (keepServer)
        xcb_disconnect(keepServer);
    const double ratio = reporter.Ratio("BM_ProgramWithSample", "BM_BareWindowOwnExecutable");
    if (!std::isnan(ratio))
        std::printf("\nstart-up with the sample project to an idle window / a bare Qt main window: %.2f "
                    "(target: at most 1.3; %s, %s)\n",
                    ratio, std::getenv("DISPLAY") ? "X server" : "offscreen", bus);
    const double onTop = reporter.Ratio("BM_ProgramWithSample", "BM_BareWindow");
    if (!std::isnan(onTop))
        std::printf("the same / a bare window run with the program's libraries loaded: %.2f\n", onTop);
    const double furnished = reporter.Ratio("BM_FurnishedWindowOwnExecutable", "BM_BareWindowOwnExecutable");
    const double againstFurnished = reporter.Ratio("BM_ProgramWithSample", "BM_FurnishedWindowOwnExecutable");
    if (!std::isnan(furnished) && !std::isnan(againstFurnished))
        std::printf("a Qt main window furnished as the program's (menus, tool bar, status bar, tree dock, client "
                    "area; no project) / a bare Qt main window: %.2f; the program / that window: %.2f\n",
                    furnished, againstFurnished);
    std::error_code ec;
    std::filesystem::remove_all(g_settings, ec);
    return 0;
}
