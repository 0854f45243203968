// The loop the site rules share: cut the next record out of the page between
// its start and end markers, read a hit from it, go on after it, up to the
// site's record limit. A record whose end is missing (a page cut short) or
// whose reader finds a marker missing ends the page and the site, and yields
// no row.
#pragma once

#include "app/scraping/hit.h"

#include <cstddef>
#include <optional>
#include <utility>

namespace app {

struct RecordMarkers {
    rt::Text start;
    rt::Text end;
};

// The text between the first `start` marker of `page` and the first `end`
// marker after it, and where the page goes on: one byte past the text, as
// DropThrough(page, text) would leave it if the text occurred nowhere earlier.
// Nothing when either marker is missing or the text between them is empty.
struct RecordSpan {
    rt::Text text;
    std::size_t next = 0;
};
std::optional<RecordSpan> NextRecord(const rt::Text& page, const RecordMarkers& markers);

// What a rule makes of one record.
struct RecordResult {
    enum class Kind { kRow, kBroken, kLastOnPage };
    Kind kind = Kind::kBroken;
    Hit hit;

    static RecordResult Row(Hit hit) { return {Kind::kRow, std::move(hit)}; }
    static RecordResult Broken() { return {}; }
    // Ends the page without ending the site.
    static RecordResult LastOnPage() { return {Kind::kLastOnPage, {}}; }
};

// `markersFor(rest)` gives the markers of the next record of the rest of the
// page; `read(record, rest)` reads it.
template <class MarkersFor, class Read>
PageHits ReadRecords(const rt::Text& page, int limit, MarkersFor markersFor, Read read) {
    PageHits result;
    rt::Text p = page;
    for (int k = 1; k <= limit; ++k) {
        const std::optional<RecordSpan> record = NextRecord(p, markersFor(p));
        RecordResult r = record ? read(record->text, p) : RecordResult::Broken();
        if (r.kind == RecordResult::Kind::kLastOnPage) break;
        if (r.kind == RecordResult::Kind::kBroken) {
            result.exhausted = true;
            break;
        }
        result.hits.push_back(std::move(r.hit));
        p = record->next < p.size() ? p.substr(record->next) : rt::Text();
    }
    return result;
}

// ReadRecords with the same markers for every record.
template <class Read>
PageHits ReadRecords(const rt::Text& page, int limit, const RecordMarkers& markers, Read read) {
    return ReadRecords(
        page, limit, [&](const rt::Text&) { return markers; }, std::move(read));
}

}  // namespace app
