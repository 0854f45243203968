// What the command-line search needs of the console it runs in: whether a
// stream is a terminal, and the user's request to stop (Ctrl+C).
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace app::cli {

// The program's arguments after its name, in UTF-8. (On Windows the narrow
// argv holds the system's code page, which may lack the keyword's
// characters: the wide command line is read instead.)
std::vector<std::string> CommandLineArguments(int argc, char** argv);

bool IsTerminal(std::FILE* stream);

// Writes `text` (UTF-8) to `stream`: its bytes to a file or a pipe; to a
// Windows console its characters, which show whatever the console's code
// page. False when not all of it was written.
bool WriteText(std::FILE* stream, std::string_view text);

// The error of the write or flush that just failed, as errno names it; a
// pipe whose reader has gone is EPIPE on every system (Windows' C runtime
// says EINVAL for it).
int FailedWriteError();

// Before the window opens: a console that Windows made for this process
// alone (a console program started from the Start menu or Explorer) is let
// go, so that no empty console window stays beside the program's; one shared
// with the shell that started the program stays. Nothing elsewhere.
void ReleaseOwnConsole();

// While it exists, a stop request (Ctrl+C, or the system asking the program
// to end) no longer ends the process but waits to be taken by Wait. Made on
// the main thread before the search's worker starts, so that the worker
// never takes one. On Windows it also sets the console to show UTF-8 for
// as long as it exists.
class StopRequests {
public:
    StopRequests();
    ~StopRequests();

    // Waits up to `ms` (less than 0: as long as it takes) for a request or
    // a Wake; the exit status a request calls for (130 for Ctrl+C), or 0.
    int Wait(int ms) const;
    // Ends the Wait in progress, or the next one, at once; for the thread
    // that ends a search, so that the waiting thread never polls.
    void Wake() const;

private:
    struct State;
    std::unique_ptr<State> state_;  // so the object is neither copied nor moved
};

}  // namespace app::cli
