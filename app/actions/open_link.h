// Hands a hit's download link to the program the desktop has registered for
// its scheme (a torrent client for magnet:, an eDonkey client for ed2k://),
// through xdg-open, the way a browser does.
#pragma once

#include "runtime/text.h"

#include <functional>
#include <string>

namespace app {

enum class OpenLinkResult {
    kOpened,     // xdg-open took the link
    kNotALink,   // not a magnet: or ed2k:// link; nothing was run
    kNoHandler,  // no program is registered for the scheme
    kNoOpener,   // xdg-open is not installed
    kFailed,     // xdg-open or the handler failed (exitCode says how)
};

struct OpenLinkOutcome {
    OpenLinkResult result = OpenLinkResult::kFailed;
    std::string scheme;  // "magnet" or "ed2k" once the link is one
    int exitCode = 0;    // xdg-open's, for kFailed
};

// Opens `link` (code page 936) when it is a magnet: or ed2k:// link. Runs no
// shell; asks xdg-mime first whether the scheme has a program. Waits
// at most `graceMs` for xdg-open to fail early; a handler still running then
// counts as opened and is reaped in the background.
OpenLinkOutcome OpenLinkInDesktop(const rt::Text& link, int graceMs = 500);

// OpenLinkInDesktop on a thread of its own, so that the caller never waits
// for xdg-mime, xdg-open or the handler; `done` gets the outcome on that
// thread. False, and `done` is never called, when no thread could start.
bool OpenLinkInBackground(const rt::Text& link, int graceMs,
                          std::function<void(const OpenLinkOutcome&)> done);

// What the status box says about an outcome, for the hit titled `title`.
rt::Text OpenLinkStatusText(const OpenLinkOutcome& outcome, const rt::Text& title);

}  // namespace app
