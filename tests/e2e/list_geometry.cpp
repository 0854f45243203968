// list_geometry: where the main window's result rows lie, measured on a
// result list made as the main window makes it: "row N Y" lines, Y being the
// middle of row N in window coordinates, for the rows shown without
// scrolling. Needs an X display.
#include "platform/platform.h"
#include "ui/controls/list_view.h"
#include "ui/core/library.h"
#include "ui/core/window.h"

#include <cstdio>

int main() {
    ui::LibraryStartup();
    ui::HostWindowOptions options;
    options.width = 975;
    options.height = 547;
    const plat::Hwnd window = ui::CreateHostWindow(options);
    ui::UiWindow host;
    if (window == nullptr || !host.Attach(window)) {
        std::fprintf(stderr, "list_geometry: no window\n");
        return 1;
    }
    ui::UiListView list;
    ui::ListViewOptions o;
    list.CreateList(window, 4, 90, 963, 408, o);
    for (int i = 1; i <= 5; ++i) list.InsertColumn(i, "c", 100, 1);
    for (int row = 1; row <= 40; ++row) list.AppendRow({"x"});
    for (int row = 1; row <= 40; ++row) {
        const ui::RectF r = list.RowRect(row);
        const float middle = list.Rect().y + list.ItemsRect().y + r.y + r.height / 2;
        if (r.y + r.height > list.ItemsRect().height) break;
        std::printf("row %d %d\n", row, static_cast<int>(middle));
    }
    return 0;
}
