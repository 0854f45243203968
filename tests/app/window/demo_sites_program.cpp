// Wine starts a Unix program without a handle to it, so a shell runs the
// demo sites and leaves in a folder what a Windows process cannot ask for:
// the sites' process number, then their exit status. The folder also holds
// the sites configuration the program writes once every port listens, and
// its request log.
#include "demo_sites_program.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace demo {
namespace {

// The same file as the Windows side names it.
std::filesystem::path Seen(const std::string& unixPath) { return "Z:" + unixPath; }

// Starts a Unix command line, its first word a drive path, without waiting.
bool StartUnix(std::string commandLine) {
    STARTUPINFOA start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &start, &process))
        return false;
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    return true;
}

// Waits up to `ms` for any of the files to be written; the first such, or -1.
int WaitForFile(const std::vector<std::filesystem::path>& files, int ms) {
    for (int waited = 0; waited <= ms; waited += 20) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            std::error_code error;
            if (std::filesystem::file_size(files[i], error) > 0 && !error)
                return static_cast<int>(i);
        }
        Sleep(20);
    }
    return -1;
}

std::string Arguments(const ServeOptions& options) {
    std::string line;
    const auto add = [&line](const std::string& name, const std::string& value) {
        line += " " + name + " " + value;
    };
    if (options.lastPage) add("--last-page", std::to_string(*options.lastPage));
    if (options.stallSite > 0)
        add("--stall", std::to_string(options.stallSite) + ":" + std::to_string(options.stallPage));
    if (options.minimumPageBytes > 0) add("--pad", std::to_string(options.minimumPageBytes));
    if (options.longTitleBytes > 0) add("--long-title", std::to_string(options.longTitleBytes));
    if (options.delayMs > 0) add("--delay", std::to_string(options.delayMs));
    return line;
}

}  // namespace

bool DemoSitesProgram::StartOnFreePorts(const ServeOptions& options) {
    Stop();
    const char* program = std::getenv("SEEKER_DEMO_SITES");
    if (program == nullptr) return false;
    static int started = 0;
    std::minstd_rand random(static_cast<unsigned>(GetTickCount64() + GetCurrentProcessId()));
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int port = 20000 + static_cast<int>(random() % 40000);
        const std::string folder = "/tmp/seeker-demo-sites-" +
                                   std::to_string(GetCurrentProcessId()) + "-" +
                                   std::to_string(++started) + "-" + std::to_string(port);
        std::filesystem::create_directories(Seen(folder));
        // A test program that dies leaves no sites behind for longer than
        // the longest test run.
        const std::string script = "cd " + folder + " && { timeout 600 " + program +
                                   " --log requests --write-config sites.conf" +
                                   Arguments(options) + " " + std::to_string(port) +
                                   " >output 2>&1 & echo $! >pid; wait $!; echo $? >status; }";
        if (!StartUnix("Z:\\bin\\sh -c \"" + script + "\"")) return false;
        const int written =
            WaitForFile({Seen(folder + "/sites.conf"), Seen(folder + "/status")}, 10000);
        folder_ = folder;
        if (written == 0) {
            basePort_ = port;
            return true;
        }
        Stop();  // a port was taken, or the program never came up
    }
    return false;
}

void DemoSitesProgram::Stop() {
    if (folder_.empty()) return;
    const bool ended = WaitForFile({Seen(folder_ + "/status")}, 0) == 0;
    if (!ended && WaitForFile({Seen(folder_ + "/pid")}, 2000) == 0) {
        std::ifstream pidFile(Seen(folder_ + "/pid"));
        int pid = 0;
        if (pidFile >> pid && pid > 0 && StartUnix("Z:\\bin\\kill -TERM " + std::to_string(pid)))
            WaitForFile({Seen(folder_ + "/status")}, 10000);
    }
    std::error_code ignored;
    std::filesystem::remove_all(Seen(folder_), ignored);
    folder_.clear();
    basePort_ = 0;
}

std::vector<std::string> DemoSitesProgram::Requests() const {
    std::vector<std::string> requests;
    if (folder_.empty()) return requests;
    std::ifstream log(Seen(folder_ + "/requests"), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()};
    // A line still being written has no end yet: it counts once it has.
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1)
        requests.push_back(text.substr(start, end - start));
    return requests;
}

}  // namespace demo
