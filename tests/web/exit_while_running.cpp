// Helper of the exit test: a worker converts pages and requests one from the
// URL given, over and over, while the main thread returns from main, which
// runs the exit handlers with the worker still inside its loop.
#include <unistd.h>

#include <atomic>
#include <memory>
#include <string>

#include "runtime/codepage.h"
#include "runtime/thread.h"
#include "web/encoding.h"
#include "web/request.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    // Owned by the worker: main's locals are gone while it still runs.
    const rt::Text url = argv[1];
    const auto rounds = std::make_shared<std::atomic<int>>(0);
    std::string utf8;
    for (int i = 0; i < 2000; ++i) utf8 += "\xE7\xA3\x81\xE5\x8A\x9B <td>magnet</td> ";
    const rt::ByteBuffer page(utf8.begin(), utf8.end());
    rt::StartThread([url, rounds, page] {
        for (;;) {
            web::Utf8BytesToAnsi(page);
            web::WebRequestText(url);
            ++*rounds;
        }
    });
    while (rounds->load() < 2) usleep(1000);
    usleep(20 * 1000);
    return 0;
}
