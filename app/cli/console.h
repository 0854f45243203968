// What the command-line search needs of the console it runs in: whether a
// stream is a terminal, and the user's request to stop (Ctrl+C).
#pragma once

#include <cstdio>
#include <memory>

namespace app::cli {

bool IsTerminal(std::FILE* stream);

// While it exists, a stop request (Ctrl+C, or the system asking the program
// to end) no longer ends the process but waits to be taken by Wait. Made on
// the main thread before the search's worker starts, so that the worker
// never takes one.
class StopRequests {
public:
    StopRequests();
    ~StopRequests();

    // Waits up to `ms` for a request; the exit status it calls for (130 for
    // Ctrl+C), or 0 when none came.
    int Wait(int ms) const;

private:
    struct State;
    std::unique_ptr<State> state_;  // so the object is neither copied nor moved
};

}  // namespace app::cli
