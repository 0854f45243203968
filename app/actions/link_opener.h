// The system's part of open_link.h: handing a link that passed the checks to
// the program registered for its scheme. One backend per system, chosen when
// the build is configured: link_opener_xdg.cpp (xdg-open) and
// link_opener_shell.cpp (the Windows shell).
#pragma once

#include "app/actions/open_link.h"

namespace app {

// What hands links on, as the status texts name it ("xdg-open").
extern const char* const kLinkOpenerName;
// What its failure number is called there ("退出码").
extern const char* const kLinkOpenerCodeName;

// Hands `link` (code page 936; a magnet: or ed2k:// link of `scheme`, free of
// control characters) to the scheme's program. `graceMs` bounds the wait for
// an early failure where the opener reports one only by ending.
OpenLinkOutcome HandLinkToDesktop(const rt::Text& link, const std::string& scheme, int graceMs);

}  // namespace app
