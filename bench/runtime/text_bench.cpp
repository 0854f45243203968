// FindText and SplitText over a 1 MiB page of mixed ASCII and double-byte
// text, beside memmem and std::string_view::find on the same bytes.
#include <benchmark/benchmark.h>
#include <string.h>

#include <random>
#include <string_view>
#include <vector>

#include "runtime/codepage.h"
#include "runtime/text.h"

namespace {

constexpr std::size_t kPageSize = 1 << 20;

// Markup-like ASCII runs alternating with runs of double-byte characters
// whose second bytes cover 0x40..0xFE, ASCII letters included, so byte
// searches meet false candidates inside characters. Each row ends in "<tr>".
const rt::Text& Page() {
    static const rt::Text kPage = [] {
        std::mt19937 random(2052);
        const std::string_view words[] = {"<td class=\"n\">", "magnet",     "size", "</a>",   " ",
                                          "2024-01-02",       "href=\"/t/", "MB",   "&nbsp;", "GB"};
        rt::Text text;
        text.reserve(kPageSize + 256);
        while (text.size() < kPageSize - 64) {
            for (int i = 0; i < 6; ++i) {
                text += words[random() % std::size(words)];
                const int chars = static_cast<int>(random() % 12);
                for (int c = 0; c < chars; ++c) {
                    text.push_back(static_cast<char>(0xB0 + random() % 0x48));
                    unsigned trail = 0x40 + random() % 0xBF;
                    if (trail == 0x7F) trail = 0x80;
                    text.push_back(static_cast<char>(trail));
                }
            }
            text += "<tr>";
        }
        // The searched patterns, once, at the very end.
        text += "</table>";
        text += "\xCF\xC2\xD4\xD8";  // a double-byte pattern
        text.resize(kPageSize, ' ');
        return text;
    }();
    return kPage;
}

// Runs `find` over `page` once an iteration; the page's bytes count as processed.
template <typename PageText, typename Find>
void ScanPage(benchmark::State& state, const PageText& page, Find find) {
    for (auto _ : state) benchmark::DoNotOptimize(find(page));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

const rt::Text kAsciiPattern = "</table>";
const rt::Text kDoubleBytePattern = "\xCF\xC2\xD4\xD8";

void FindTextAscii(benchmark::State& state) {
    ScanPage(state, Page(), [](const rt::Text& page) { return rt::FindText(page, kAsciiPattern); });
}
BENCHMARK(FindTextAscii);

void MemmemAscii(benchmark::State& state) {
    ScanPage(state, Page(), [](const rt::Text& page) {
        return memmem(page.data(), page.size(), kAsciiPattern.data(), kAsciiPattern.size());
    });
}
BENCHMARK(MemmemAscii);

void StringViewFindAscii(benchmark::State& state) {
    ScanPage(state, std::string_view(Page()),
             [](std::string_view page) { return page.find(kAsciiPattern); });
}
BENCHMARK(StringViewFindAscii);

void FindTextIgnoreCaseAscii(benchmark::State& state) {
    ScanPage(state, Page(), [](const rt::Text& page) {
        return rt::FindText(page, "</TABLE>", std::nullopt, true);
    });
}
BENCHMARK(FindTextIgnoreCaseAscii);

// A long run of one case of the pattern's first letter just before the end:
// a scan whose window only grows rescans the rest of the text per letter.
rt::Text LetterRunPage(std::size_t run) {
    rt::Text text(4u << 20, 'x');
    text.append(run, 'A');
    text += "ab";
    return text;
}

void FindTextIgnoreCaseAfterLetterRun(benchmark::State& state) {
    const rt::Text text = LetterRunPage(static_cast<std::size_t>(state.range(0)));
    ScanPage(state, text,
             [](const rt::Text& page) { return rt::FindText(page, "ab", std::nullopt, true); });
}
BENCHMARK(FindTextIgnoreCaseAfterLetterRun)->Arg(0)->Arg(200000)->Unit(benchmark::kMillisecond);

void FindTextDoubleByte(benchmark::State& state) {
    ScanPage(state, Page(),
             [](const rt::Text& page) { return rt::FindText(page, kDoubleBytePattern); });
}
BENCHMARK(FindTextDoubleByte);

void MemmemDoubleByte(benchmark::State& state) {
    ScanPage(state, Page(), [](const rt::Text& page) {
        return memmem(page.data(), page.size(), kDoubleBytePattern.data(),
                      kDoubleBytePattern.size());
    });
}
BENCHMARK(MemmemDoubleByte);

void SplitTextRows(benchmark::State& state) {
    const rt::Text& page = Page();
    int rows = 0;
    for (auto _ : state) {
        rt::TextList list = rt::SplitText(page, "<tr>");
        rows = list.count();
        benchmark::DoNotOptimize(list);
    }
    state.counters["rows"] = rows;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(SplitTextRows);

// Case-insensitive replacing (the default) of a word that occurs in one case
// only, many times over the page.
void ReplaceSubtextWords(benchmark::State& state) {
    ScanPage(state, Page(),
             [](const rt::Text& page) { return rt::ReplaceSubtext(page, "size", "SIZE"); });
}
BENCHMARK(ReplaceSubtextWords);

// The same split by byte (no character stepping) with string_view::find.
void StringViewSplitRows(benchmark::State& state) {
    const std::string_view page = Page();
    int rows = 0;
    for (auto _ : state) {
        std::vector<std::string> list;
        std::size_t begin = 0;
        for (std::size_t hit; (hit = page.find("<tr>", begin)) != std::string_view::npos;
             begin = hit + 4)
            list.emplace_back(page.substr(begin, hit - begin));
        if (begin < page.size()) list.emplace_back(page.substr(begin));
        rows = static_cast<int>(list.size());
        benchmark::DoNotOptimize(list);
    }
    state.counters["rows"] = rows;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(StringViewSplitRows);

}  // namespace

namespace {

// Labels are converted at every draw, so short conversions matter.
void Cp936ToUtf8Label(benchmark::State& state) {
    const rt::Text label = "\xCB\xD1\xCB\xF7 magnet";
    for (auto _ : state) benchmark::DoNotOptimize(rt::Cp936ToUtf8(label));
}
BENCHMARK(Cp936ToUtf8Label);

void Utf8ToCp936Page(benchmark::State& state) {
    static const std::string kUtf8 = rt::Cp936ToUtf8(Page());
    for (auto _ : state) benchmark::DoNotOptimize(rt::Utf8ToCp936(kUtf8));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kUtf8.size()));
}
BENCHMARK(Utf8ToCp936Page);

}  // namespace
