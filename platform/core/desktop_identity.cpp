// What the desktop knows the program and its windows by: the application's
// name and class, and each window's icon pictures.
#include "platform/core/state.h"

namespace plat {

using namespace core;

bool SetApplicationIdentity(const std::string& name, const std::string& className) {
    if (name.empty() || className.empty()) return false;
    std::lock_guard lk(CoreState().mu);
    CoreState().appName = name;
    CoreState().appClass = className;
    return true;
}

bool SetWindowIcon(Hwnd hwnd, const std::vector<IconImage>& images) {
    for (const IconImage& image : images) {
        if (image.width <= 0 || image.height <= 0 ||
            image.pixels.size() !=
                static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
            return false;
    }
    return WithWindow(hwnd, [&](WindowRecord& rec) {
        rec.icons = images;
        backend::SetIcons(rec);
    });
}

}  // namespace plat
