// The hits behind the result rows: titles and links in row order, and the
// size and date texts of the sites that give them. User-interface thread only.
#pragma once

#include "app/scraping/hit.h"
#include "runtime/text.h"

namespace app {

class ResultStore {
public:
    // Appends the hit and returns its 1-based number, the row it belongs to.
    int Add(const Hit& hit);
    void Clear();

    int Count() const { return titles.count(); }
    // The link of hit `number`; empty outside 1..Count().
    rt::Text Link(int number) const;

    rt::TextList titles;
    rt::TextList links;
    rt::TextList sizes;
    rt::TextList dates;
};

}  // namespace app
