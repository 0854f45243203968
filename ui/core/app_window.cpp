#include "ui/core/app_window.h"

#include "assets/assets.h"
#include "platform/gfx/font.h"
#include "ui/core/library.h"

namespace ui {

NativeWindow CreateAppWindow(const rt::Text& title) {
    // The fonts load in the background while this thread connects to the
    // window system for the work area; the library's start-up then finds
    // them (nearly) ready instead of waiting for them first.
    gfx::PrepareFonts();
    const plat::POINT centre =
        CentredPosition(plat::GetWorkArea(), kAppWindowWidth, kAppWindowHeight);
    LibraryStartup();
    HostWindowOptions options;
    options.title = title;
    options.x = centre.x;
    options.y = centre.y;
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
