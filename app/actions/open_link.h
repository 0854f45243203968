// Hands a hit's download link to the program the desktop has registered for
// its scheme (a torrent client for magnet:, an eDonkey client for ed2k://),
// the way a browser does: through xdg-open on Linux, through the shell on
// Windows (link_opener.h).
#pragma once

#include "runtime/text.h"

#include <functional>
#include <string>

namespace app {

enum class OpenLinkResult {
    Opened,     // the opener took the link
    NotALink,   // not a magnet: or ed2k:// link; nothing was run
    NoHandler,  // no program is registered for the scheme
    NoOpener,   // the opener (xdg-open) is not installed
    Failed,     // the opener or the handler failed (exitCode says how)
};

struct OpenLinkOutcome {
    OpenLinkResult result = OpenLinkResult::Failed;
    std::string scheme;  // "magnet" or "ed2k" once the link is one
    int exitCode = 0;    // for Failed: xdg-open's exit code, the shell's error code
};

// "magnet" or "ed2k" for a link that may be handed on, else empty. Only
// those two schemes pass, and nothing with a control character: a page can
// carry any text as a link, and file:, http: or a leading "-" (an option to
// the opener) must never reach it.
std::string HandedOnScheme(const rt::Text& link);

// Opens `link` (code page 936) when HandedOnScheme accepts it. Runs no shell;
// asks first whether the scheme has a program. Waits at most `graceMs` for
// xdg-open to fail early; a handler still running then counts as opened and
// is reaped in the background.
OpenLinkOutcome OpenLinkInDesktop(const rt::Text& link, int graceMs = 500);

// OpenLinkInDesktop on a thread of its own, so that the caller never waits
// for the opener or the handler; `done` gets the outcome on that thread.
// False, and `done` is never called, when no thread could start.
bool OpenLinkInBackground(const rt::Text& link, int graceMs,
                          std::function<void(const OpenLinkOutcome&)> done);

// What the status box says about an outcome, for the hit titled `title`.
rt::Text OpenLinkStatusText(const OpenLinkOutcome& outcome, const rt::Text& title);

}  // namespace app
