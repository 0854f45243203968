#include "ui/core/app_window.h"

#include "assets/assets.h"
#include "ui/core/library.h"

namespace ui {

NativeWindow CreateAppWindow(const rt::Text& title) {
    LibraryStartup();
    HostWindowOptions options;
    options.title = title;
    options.width = kAppWindowWidth;
    options.height = kAppWindowHeight;
    return CreateHostWindow(options);
}

AttachOptions SkinnedAttachOptions(int captionFlags) {
    AttachOptions attach;
    const auto skin = assets::SkinJpeg();
    attach.skin.assign(skin.begin(), skin.end());
    attach.captionFlags = captionFlags;
    attach.backgroundAlpha = 200;
    attach.skinMode = 1;
    return attach;
}

}  // namespace ui
