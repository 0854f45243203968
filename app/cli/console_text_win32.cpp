// Text on the Windows console goes as characters, through WriteConsoleW:
// UTF-8 bytes would be read in the console's code page (936 on a Chinese
// system) before a search sets it, and even with code page 65001 some
// consoles and C runtimes lose them (Windows 7's console miscounts them;
// under wine the runtime's writes turn each byte of a character into U+FFFD).
// A failed write to a file or a pipe is named by the system's own error.
#include <windows.h>
// After windows.h, which it needs.
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "app/cli/console.h"
#include "runtime/codepage.h"

namespace app::cli {

bool WriteText(std::FILE* stream, std::string_view text) {
    const auto console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (!GetConsoleMode(console, &mode))
        return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    // What the stream holds goes first.
    if (std::fflush(stream) != 0) return false;
    const std::u16string wide = rt::MultiByteToWide(rt::kCodePageUtf8, text);
    const auto* next = reinterpret_cast<const wchar_t*>(wide.data());
    std::size_t left = wide.size();
    while (left > 0) {
        // Older consoles refuse calls beyond 64 KiB; a chunk never ends
        // between the two halves of a surrogate pair.
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 8192));
        if (chunk < left && IS_HIGH_SURROGATE(next[chunk - 1])) --chunk;
        DWORD written = 0;
        if (!WriteConsoleW(console, next, chunk, &written, nullptr) || written == 0) {
            errno = EIO;
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

int FailedWriteError() {
    // The system's own error of the failed write tells a pipe without a
    // reader (ERROR_NO_DATA on Windows, ERROR_PIPE_NOT_CONNECTED under
    // wine), which the C runtime turns into EINVAL.
    const unsigned long system = _doserrno;
    if ((errno == EINVAL || errno == EPIPE) &&
        (system == ERROR_NO_DATA || system == ERROR_PIPE_NOT_CONNECTED ||
         system == ERROR_BROKEN_PIPE)) {
        return EPIPE;
    }
    return errno;
}

}  // namespace app::cli
