#include "web/cookies.h"

#include <algorithm>
#include <unordered_set>

namespace web {
namespace {

constexpr std::string_view kDeletedSuffix = "=deleted";

bool EndsWithDeleted(const rt::Text& entry) {
    return entry.size() >= kDeletedSuffix.size() &&
           entry.compare(entry.size() - kDeletedSuffix.size(), kDeletedSuffix.size(),
                         kDeletedSuffix) == 0;
}

// Joined entries lose their final separator.
void DropTail(rt::Text* text, std::size_t n) {
    text->resize(text->size() >= n ? text->size() - n : 0);
}

}  // namespace

rt::Text MergeCookies(rt::Text* stored, rt::Text* received) {
    *stored = rt::RemoveSpaces(*stored);
    *received = rt::RemoveSpaces(*received);

    std::vector<rt::Text> merged = rt::SplitText(*received, rt::Text(";")).Items();
    std::unordered_set<rt::Text> names;
    for (const rt::Text& entry : merged) names.insert(CookieName(entry));
    for (const rt::Text& entry : rt::SplitText(*stored, rt::Text(";"))) {
        // Appended entries count too, so of two stored entries with one name
        // only the first survives.
        if (names.insert(CookieName(entry)).second) merged.push_back(entry);
    }

    rt::Text joined;
    for (const rt::Text& entry : merged) {
        if (EndsWithDeleted(entry)) continue;
        joined += entry;
        joined += "; ";
    }
    DropTail(&joined, 2);

    *stored = DedupeList(joined, "; ");
    return *stored;
}

rt::Text CookieName(const rt::Text& entry) {
    const std::size_t eq = entry.find('=');
    return rt::TrimSpaces(eq == rt::Text::npos ? entry : entry.substr(0, eq));
}

rt::Text DedupeList(const rt::Text& text, const rt::Text& separator) {
    rt::Text result;
    std::unordered_set<rt::Text> taken;
    for (const rt::Text& entry : rt::SplitText(text, separator)) {
        if (!taken.insert(entry).second) continue;
        result += entry;
        result += separator;
    }
    DropTail(&result, separator.size());
    return result;
}

}  // namespace web
