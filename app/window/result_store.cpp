#include "app/window/result_store.h"

namespace app {

int ResultStore::Add(const Hit& hit) {
    titles.append(hit.title);
    links.append(hit.link);
    if (hit.size != kUnknownField) sizes.append(hit.size);
    if (hit.date != kUnknownField) dates.append(hit.date);
    return titles.count();
}

void ResultStore::Clear() {
    titles.clear();
    links.clear();
    sizes.clear();
    dates.clear();
}

rt::Text ResultStore::Link(int number) const {
    if (number < 1 || number > links.count()) return {};
    return links[number];
}

}  // namespace app
