// fetch-page URL [OUTPUT]
//
// Fetches one page the way the search does (WebRequestText with nothing but
// the URL) and writes the code-page-936 text to OUTPUT or standard output and
// the raw response headers to standard error. Exit status 1 when the request
// failed (no response at all), 2 on wrong usage or an unwritable OUTPUT.
#include <cstdio>
#include <memory>

#include "runtime/codepage.h"
#include "web/request.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool WriteAll(std::FILE* out, const rt::Text& text) {
    return std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s URL [OUTPUT]\n", argv[0]);
        return 2;
    }
    // The command line is UTF-8; the program's texts are code page 936.
    const rt::Text url = rt::Utf8ToCp936(argv[1]);
    rt::Text responseHeaders;
    const rt::Text page = web::WebRequestText(url, {.responseHeaders = &responseHeaders});
    WriteAll(stderr, responseHeaders);
    if (page.empty() && responseHeaders.empty()) {
        std::fprintf(stderr, "fetch-page: no response from %s\n", argv[1]);
        return 1;
    }
    if (argc == 3) {
        std::unique_ptr<std::FILE, FileCloser> out(std::fopen(argv[2], "wb"));
        if (!out || !WriteAll(out.get(), page)) {
            std::fprintf(stderr, "fetch-page: cannot write %s\n", argv[2]);
            return 2;
        }
        return 0;
    }
    return WriteAll(stdout, page) ? 0 : 2;
}
