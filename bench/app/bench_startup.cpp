// The program's start-up as a user meets it, under an X display: from the
// fork that executes the program to its main window being mapped, medians
// over several launches, and the CPU time the program used until then. The
// window is mapped right after the entry animation's first frame was
// presented into it, so this is also the time to the first frame.
// Run it through window_search_xvfb.sh, which gives it an Xvfb of its own.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// CPU time of every thread of a process, from the scheduler's own count.
double CpuMs(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
            double onCpu = 0;
            if (stat >> onCpu) ns += onCpu;
        }
        closedir(dir);
    }
    return ns / 1e6;
}

// Minor page faults of a process so far (the first touches of fresh memory).
double MinorFaults(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return -1;
    // minflt is the 10th field; the command, 2nd, may hold blanks.
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 10 && rest >> field; ++i) {}
    return std::stod(field);
}

long WindowPid(::Display* d, Window w) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_PID", False), 0, 1, False, XA_CARDINAL,
                           &type, &format, &count, &after, &data) == Success &&
        data != nullptr && count == 1)
        pid = *reinterpret_cast<long*>(data);
    if (data != nullptr) XFree(data);
    return pid;
}

struct Launch {
    double mappedMs = -1;
    double cpuMs = -1;
    double faults = -1;
};

// Starts the program, waits for its window to be mapped, ends it.
Launch LaunchOnce(::Display* d, const char* program, const std::string& configHome) {
    Launch launch;
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    const int fd = ConnectionNumber(d);
    const auto limit = start + std::chrono::seconds(20);
    while (Clock::now() < limit && launch.mappedMs < 0) {
        while (XPending(d) > 0) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type == MapNotify && launch.mappedMs < 0 && WindowPid(d, e.xmap.window) == pid) {
                launch.mappedMs = Ms(Clock::now() - start);
                launch.cpuMs = CpuMs(pid);
                launch.faults = MinorFaults(pid);
            }
        }
        pollfd wait{fd, POLLIN, 0};
        poll(&wait, 1, 5);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return launch;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

void BM_StartUpToMappedWindow(benchmark::State& state) {
    ::Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        state.SkipWithError("no display (is DISPLAY set?)");
        return;
    }
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);
    char configHome[] = "/tmp/seeker-startup-XXXXXX";
    if (mkdtemp(configHome) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    // Font and library caches warm, as on a desktop.
    LaunchOnce(d, SEEKER_PROGRAM, configHome);
    std::vector<double> mapped, cpu, faults;
    for (auto _ : state) {
        const Launch launch = LaunchOnce(d, SEEKER_PROGRAM, configHome);
        if (launch.mappedMs < 0) {
            state.SkipWithError("the window was not mapped");
            break;
        }
        mapped.push_back(launch.mappedMs);
        cpu.push_back(launch.cpuMs);
        faults.push_back(launch.faults);
        state.SetIterationTime(launch.mappedMs / 1e3);
    }
    rmdir(configHome);
    XCloseDisplay(d);
    state.counters["exec_to_mapped_ms"] = Median(mapped);
    // The least a launch took: what the program costs when nothing else
    // on a busy machine gets in its way.
    state.counters["exec_to_mapped_min_ms"] =
        mapped.empty() ? -1 : *std::min_element(mapped.begin(), mapped.end());
    state.counters["cpu_to_mapped_ms"] = Median(cpu);
    state.counters["page_faults_to_mapped"] = Median(faults);
}
BENCHMARK(BM_StartUpToMappedWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(15);

}  // namespace

BENCHMARK_MAIN();
