// The loop the site rules share: cut the next record out of the page between
// its start and end markers, read a hit from it, go on after it, up to the
// site's record limit.
//
// What ends a page is each site's own end condition, which its reader
// checks. Besides, a page without a further start marker has no further
// record, and a record whose end marker is missing was cut short by the end
// of the page: either ends the page and the site, and yields no row. A field
// of a complete record whose markers are missing comes out empty; the
// records after it are read.
#pragma once

#include "app/scraping/hit.h"

#include <cstddef>
#include <optional>
#include <utility>

namespace app {

struct RecordMarkers {
    rt::Text start;  // empty: the record begins where the rest of the page does
    rt::Text end;
};

// The text between the first `start` marker of `page` and the first `end`
// marker after it; `head` is the page from its beginning to the end of that
// text, so it also holds what came before the record's start marker since
// the previous record (some sites keep fields there). The page goes on one
// byte past the text, as DropThrough(page, text) would leave it if the text
// occurred nowhere earlier. Nothing when either marker is missing.
struct RecordSpan {
    rt::Text text;
    rt::Text head;
    std::size_t next = 0;
};
std::optional<RecordSpan> NextRecord(const rt::Text& page, const RecordMarkers& markers);

// What a rule makes of one record.
struct RecordResult {
    enum class Kind { Row, End, LastOnPage };
    Kind kind = Kind::End;
    Hit hit;

    static RecordResult Row(Hit hit) { return {Kind::Row, std::move(hit)}; }
    // The site's end condition: ends the page and the site.
    static RecordResult End() { return {}; }
    // Ends the page without ending the site.
    static RecordResult LastOnPage() { return {Kind::LastOnPage, {}}; }
};

// `markersFor(rest)` gives the markers of the next record of the rest of the
// page; `read(record, head)` reads it (see RecordSpan).
template <class MarkersFor, class Read>
PageHits ReadRecords(const rt::Text& page, int limit, MarkersFor markersFor, Read read) {
    PageHits result;
    rt::Text p = page;
    for (int k = 1; k <= limit; ++k) {
        const std::optional<RecordSpan> record = NextRecord(p, markersFor(p));
        RecordResult r = record ? read(record->text, record->head) : RecordResult::End();
        if (r.kind == RecordResult::Kind::LastOnPage) break;
        if (r.kind == RecordResult::Kind::End) {
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
