// The core's messages served from inside a loop of the system's own (the
// move and size loops), where the program's message loop does not run.
// Free of the system's headers, since it calls the core's own API.
#pragma once

namespace plat::win32 {

// Dispatches the core messages of the calling thread that are ready now
// (a WM_QUIT goes back for the program's own loop). Not re-entered.
void ServeCoreMessages();

}  // namespace plat::win32
