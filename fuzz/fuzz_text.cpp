// Fuzzes the text library: the fast character-stepping search is checked
// against a direct scan, the reverse search against a bytewise one, splitting
// and replacing against their inverses and their count, start and limit
// arguments, and the conversions for crashes and undefined behaviour. Run with
// a large -max_len (a megabyte) and -report_slow_units to catch searches that
// take more than linear time.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_check.h"
#include "runtime/codepage.h"
#include "runtime/text.h"

namespace {

int StepwiseFind(const rt::Text& text, const rt::Text& sub, int start, bool ignoreCase) {
    if (text.empty() || sub.empty() || sub.size() > text.size()) return -1;
    if (start < 1) start = 1;
    if (static_cast<std::size_t>(start) > text.size() - sub.size() + 1) return -1;
    auto fold = [&](unsigned char c) { return ignoreCase && c >= 'A' && c <= 'Z' ? c + 32 : c; };
    for (std::size_t i = static_cast<std::size_t>(start - 1); i + sub.size() <= text.size();) {
        std::size_t k = 0;
        while (k < sub.size() && fold(text[i + k]) == fold(sub[k])) ++k;
        if (k == sub.size()) return static_cast<int>(i + 1);
        i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1;
    }
    return -1;
}

int BytewiseFindReverse(const rt::Text& text, const rt::Text& sub, int start, bool ignoreCase) {
    const long long n = static_cast<long long>(text.size());
    const long long m = static_cast<long long>(sub.size());
    if (n == 0 || m == 0 || m > n) return -1;
    long long a = n - m;
    if (start >= 1) a = std::min(std::max<long long>(start - m, 0), n - m);
    auto fold = [&](unsigned char c) { return ignoreCase && c >= 'A' && c <= 'Z' ? c + 32 : c; };
    for (long long i = a; i >= 0; --i) {
        long long k = 0;
        while (k < m && fold(text[i + k]) == fold(sub[k])) ++k;
        if (k == m) return static_cast<int>(i + 1);
    }
    return -1;
}

}  // namespace

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    // Layout: flags, start, sub length, count, then sub and text. Starts and
    // counts reach past short texts and into long ones.
    const std::uint8_t flags = data[0];
    const int start =
        (flags & 2) ? static_cast<int>(data[1]) * 97 - 4 : static_cast<int>(data[1] % 40) - 4;
    const std::size_t subLength = 1 + data[2] % 24;
    const int count = static_cast<int>(data[3] % 12) - 1;
    const std::string rest(reinterpret_cast<const char*>(data + 4), size - 4);
    const rt::Text sub = rest.substr(0, subLength);
    const rt::Text text = rest.size() > subLength ? rest.substr(subLength) : rt::Text();
    const bool ignoreCase = flags & 1;

    Check(rt::FindText(text, sub, start, ignoreCase) == StepwiseFind(text, sub, start, ignoreCase));
    Check(rt::FindTextReverse(text, sub, start, ignoreCase) ==
          BytewiseFindReverse(text, sub, start, ignoreCase));

    // Splitting and joining with the delimiter gives the text back, less a
    // trailing delimiter.
    const rt::TextList parts = rt::SplitText(text, sub);
    rt::Text joined;
    for (int i = 1; i <= parts.count(); ++i) joined += (i > 1 ? sub : rt::Text()) + parts[i];
    Check(joined == text || joined + sub == text);

    const rt::Text replaced =
        rt::ReplaceSubtext(text, sub, rt::Text("\x01"), std::nullopt, std::nullopt, true);
    Check(rt::ReplaceSubtext(replaced, "\x01", sub, std::nullopt, std::nullopt, true) == text ||
          text.find('\x01') != std::string::npos);

    // A limited split has at most its limit of entries; a limited replace
    // leaves the bytes before its start alone and replaces at most `count`.
    const rt::TextList limited = rt::SplitText(text, sub, count);
    Check(count <= 0 ? limited.count() == 0 : limited.count() <= count);
    if (text.find('\x01') == std::string::npos && sub.find('\x01') == std::string::npos) {
        const rt::Text some =
            rt::ReplaceSubtext(text, sub, rt::Text("\x01"), start, count, !ignoreCase);
        const auto marks = std::count(some.begin(), some.end(), '\x01');
        Check(count < 1 ? some == text : marks <= count);
        if (start >= 1)
            Check(some.compare(0, static_cast<std::size_t>(start - 1), text, 0,
                               static_cast<std::size_t>(start - 1)) == 0);
    }

    const rt::Text trimmed = rt::TrimSpaces(text);
    Check(trimmed.size() <= text.size());
    Check(rt::RemoveSpaces(text).size() <= text.size());
    Check(rt::ToUpperText(rt::ToLowerText(text)) == rt::ToUpperText(text));
    (void)rt::ToInteger(text);
    (void)rt::ReplaceSection(text, start, static_cast<int>(flags >> 4), sub);
    (void)rt::MidText(text, start, static_cast<int>(flags));

    // Converting to UTF-8 and back keeps every text that converts cleanly.
    const std::string utf8 = rt::Cp936ToUtf8(text);
    Check(utf8 ==
          rt::WideToMultiByte(rt::kCodePageUtf8, rt::MultiByteToWide(rt::kCodePage936, text)));
    Check(rt::Utf8ToCp936(text) ==
          rt::WideToMultiByte(rt::kCodePage936, rt::MultiByteToWide(rt::kCodePageUtf8, text)));
    if (rt::MultiByteToWide(rt::kCodePage936, text).find(u'?') == std::u16string::npos)
        Check(rt::Utf8ToCp936(utf8) == text);

    const rt::ByteBuffer bytes = rt::ToBytes(text);
    int position = start;
    (void)rt::ReadBytesValue(bytes, 1 + flags % 10, &position);
    Check(position == -1 || (position >= 1 && static_cast<std::size_t>(position) <= bytes.size()));
    return 0;
}
