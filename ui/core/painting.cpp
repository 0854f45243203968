// The layered painting pipeline: background rendering, the redraw of dirty
// rectangles, composing control surfaces, transitions, present and fade-in.
#include <algorithm>
#include <cmath>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"
#include "platform/gfx/region.h"
#include "ui/controls/control.h"
#include "ui/core/draw.h"
#include "ui/core/library.h"
#include "ui/core/window.h"

namespace ui {

namespace {
constexpr int kFadeInterval = 50;
constexpr int kFadeStep = 51;

gfx::RectI PixelArea(const RectF& r) {
    const int left = static_cast<int>(std::floor(r.x));
    const int top = static_cast<int>(std::floor(r.y));
    return gfx::RectI{left, top, static_cast<int>(std::ceil(r.x + r.width)) - left,
                      static_cast<int>(std::ceil(r.y + r.height)) - top};
}

// The skin's average colour as RGB (red in the low byte), over the straight
// (not premultiplied) channel values of a 32-bit ARGB copy.
int AverageColour(const gfx::Bitmap& image) {
    const int w = image.Width(), h = image.Height();
    if (w <= 0 || h <= 0) return 0;
    std::uint64_t sum[3] = {0, 0, 0};
    const std::uint8_t* data = image.Data();
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = data + static_cast<std::size_t>(y) * image.Stride();
        for (int x = 0; x < w; ++x) {
            const unsigned a = row[x * 4 + 3];
            if (a == 0) continue;
            const auto straight = [a](unsigned c) {
                return a == 255 ? c : std::min(255u, (c * 255 + a / 2) / a);
            };
            sum[0] += straight(row[x * 4 + 2]);  // red
            sum[1] += straight(row[x * 4 + 1]);
            sum[2] += straight(row[x * 4 + 0]);
        }
    }
    const std::uint64_t n = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h);
    return static_cast<int>((sum[0] / n) | ((sum[1] / n) << 8) | ((sum[2] / n) << 16));
}
}  // namespace

void UiWindow::TakeSkin(const rt::ByteBuffer* skin, std::optional<int> colour) {
    if (skinDonor && *skinDonor != window && plat::IsWindow(*skinDonor)) {
        if (UiWindow* donor = FindHost(*skinDonor)) {
            skinImage = donor->skinImage;
            backgroundColour = donor->backgroundColour;
            return;
        }
    }
    if (skin && !skin->empty()) {
        skinImage.reset();
        if (auto decoded = LoadImageFromBytes(*skin, false)) {
            skinImage = std::shared_ptr<gfx::Bitmap>(std::move(decoded));
            backgroundColour = AverageColour(*skinImage);
        }
    }
    if (colour && *colour != -1) backgroundColour = *colour;
}

void UiWindow::RenderBackground(const rt::ByteBuffer* skin, std::optional<int> colour, int present,
                                bool recache) {
    RenderBackground(skin, colour, PresentModeOf(present), recache);
}

void UiWindow::RenderBackground(const rt::ByteBuffer* skin, std::optional<int> colour,
                                PresentMode present, bool recache) {
    if (canvas.Empty()) return;
    const int w = size.width, h = size.height;
    const RectF inner{5, 5, static_cast<float>(w - 10), static_cast<float>(h - 10)};
    const bool layered = Layered();
    const bool framed = frameStyle != WindowFrame::SkinOnly;
    const bool round = frameStyle != WindowFrame::Square;
    suspended = true;
    TakeSkin(skin, colour);
    const auto bg = static_cast<std::uint32_t>(backgroundColour);

    if (present == PresentMode::CrossFade) {
        fadeCanvas.Create(w, h, false);
        fadeCanvas.bitmap->CopyFrom(*canvas.bitmap, gfx::RectI{0, 0, w, h}, 0, 0);
    }
    gfx::Graphics& g = *canvas.graphics;
    g.ResetClip();
    g.Clear(0);

    if (!framed) {
        if (skinImage) {
            if (skinMargins.Empty()) {
                DrawImageAt(g, *skinImage,
                            RectF{0, 0, static_cast<float>(w), static_cast<float>(h)}, false);
            } else {
                DrawNineSlice(&g, skinImage.get(),
                              RectF{0, 0, static_cast<float>(w), static_cast<float>(h)},
                              SliceMarginsFromRecord(skinMargins.left, skinMargins.top,
                                                     skinMargins.right, skinMargins.bottom));
            }
        }
    } else {
        const int r = round ? 4 : 0;
        g.SetClip(gfx::Region::RoundRect(6, 6, w - 5, h - 5, r, r));
        if (skinImage) {
            g.Clear(MakeArgb(bg));
            const float iw = static_cast<float>(skinImage->Width());
            const float ih = static_cast<float>(skinImage->Height());
            if (skinMode == SkinMode::Stretched) {
                g.DrawImage(*skinImage, inner);
            } else if (skinMode == SkinMode::Centred) {
                const RectF whole{0, 0, static_cast<float>(w), static_cast<float>(h)};
                DrawImageAt(g, *skinImage, whole, true);
                if (edgeFade) {
                    const float ix = std::round(-(iw - static_cast<float>(w)) / 2);
                    const float iy = std::round(-(ih - static_cast<float>(h)) / 2);
                    EdgeFade(g, RectF{ix - 1, iy - 1, iw + 1, ih + 1}, bg, 100.0f,
                             FadeSides{true, true, true, true}, 6.0f);
                }
            } else {
                DrawImageAt(g, *skinImage, RectF{5, 5, iw, ih}, false);
                if (edgeFade) {
                    EdgeFade(g, RectF{0, 0, iw, ih}, bg, 100.0f,
                             FadeSides{false, false, true, true}, 6.0f);
                }
            }
            if (layered) {
                const gfx::Bitmap copy = canvas.bitmap->Clone();
                g.Clear(0);
                DrawImageAlpha(g, copy, RectF{0, 0, static_cast<float>(w), static_cast<float>(h)},
                               backgroundAlpha);
            }
        } else {
            g.Clear(layered ? MakeArgb(bg, backgroundAlpha) : MakeArgb(bg));
        }
    }

    if (callbacks.paintBackground) callbacks.paintBackground(window, g, w, h);

    if (framed) {
        RectF line = inner;
        for (int i = 0; i < 2; ++i) {
            line = RectF{line.x + 1, line.y + 1, line.width - 2, line.height - 2};
            const gfx::Argb colourOfLine =
                i == 0 ? MakeArgb(0x606060, 204) : MakeArgb(0xFFFFFF, 102);
            if (round) {
                StrokeRoundRect(g, line, i == 0 ? 7.0f : 6.0f, colourOfLine);
            } else {
                DrawBorder(g, line, BORDER_SOLID, colourOfLine);
            }
        }
        g.ResetClip();
        if (!layered) {
            const int c = plat::IsZoomed(window) ? 5 : 6;
            const int r = round ? 5 : 0;
            const plat::Region region = plat::CreateRoundRectRgn(c, c, w - c + 1, h - c + 1, r, r);
            plat::SetWindowRgn(window, &region);
        } else if (CaptionFlags & CAPTION_FRAME) {
            DropShadow(g, inner, round,
                       frameColour == -1 ? 0u : static_cast<std::uint32_t>(frameColour));
        }
    }

    backgroundCanvas.bitmap->CopyFrom(*canvas.bitmap, gfx::RectI{0, 0, w, h}, 0, 0);

    if (framed) {
        const int r = round ? 3 : 0;
        frameClip = std::make_unique<gfx::Region>(gfx::Region::RoundRect(7, 7, w - 6, h - 6, r, r));
        g.SetClip(*frameClip);
    } else {
        frameClip.reset();
    }
    redrawQueue.Init(window, this, canvas.graphics.get());
    LayoutCaption();
    ComposeAll(firstControl, g, recache);
    if (framed) g.ResetClip();
    suspended = false;
    if (blurBehind && layered) ApplyBlur();

    if (present == PresentMode::Now) {
        PresentWhole();
    } else if (present == PresentMode::CrossFade) {
        suspended = true;
        fadeAlpha = 0;
        plat::SetTimer(window, reinterpret_cast<TimerId>(this), kFadeInterval);
    }
}

void UiWindow::ApplyBlur() {
    if (Library().systemMajorVersion != 6 || frameStyle == WindowFrame::SkinOnly || !Layered())
        return;
    if (!plat::IsCompositionEnabled()) return;
    const plat::Region region =
        plat::CreateRoundRectRgn(6, 6, size.width - 5, size.height - 5, 6, 6);
    plat::EnableBlurBehind(window, true, &region);
}

void UiWindow::QueueRedraw(const RectF& rect, int mode) {
    QueueRedraw(rect, RedrawModeOf(static_cast<WParam>(mode)));
}

void UiWindow::QueueRedraw(const RectF& rect, RedrawMode mode) {
    if (mode == RedrawMode::Now) {
        RedrawRect(rect, true);
    } else {
        redrawQueue.Add(rect, mode);
    }
    if (redrawQueue.Pending() > 0) redrawQueue.Process();
}

void UiWindow::RedrawRect(const RectF& rect, bool present) {
    if (suspended || canvas.Empty()) return;
    gfx::Graphics& g = *canvas.graphics;
    if (frameClip) {
        g.SetClip(*frameClip, gfx::CombineMode::Replace);
    } else {
        g.ResetClip();
    }
    g.SetClip(rect, gfx::CombineMode::Intersect);
    const gfx::RectI area = PixelArea(rect);
    canvas.bitmap->CopyFrom(*backgroundCanvas.bitmap, area, area.x, area.y);
    ComposeControls(firstControl, rect, g);
    g.ResetClip();
    ++recomposeCount;
    if (present) PresentRect(&rect);
}

void UiWindow::DrawSurface(gfx::Graphics& target, UiControl* control, bool disabledLook) {
    if (!control->surface) return;
    int alpha = control->opacity;
    if (disabledLook && Deliver(control, EV_DISABLED_LOOK, 0, 0) == -1) alpha /= 2;
    DrawImageAlpha(target, *control->surface, control->rect, alpha);
}

void UiWindow::PlayTransition(UiControl* control, gfx::Graphics& target) {
    const RectF& r = control->rect;
    const int k = control->transitionFrame;
    const int n = control->transitionFrames;
    const gfx::Bitmap* snapshot = control->transitionSnapshot.get();
    if (!snapshot || !control->surface || n <= 0) {
        DrawSurface(target, control, false);
        return;
    }
    const int alpha = control->opacity;
    const auto draw = [&](gfx::Graphics& g, const gfx::Bitmap& image, float x, float y) {
        DrawImageAlpha(g, image, RectF{x, y, r.width, r.height}, alpha);
    };
    switch (control->transitionStyle) {
    case 0: {
        UiCanvas& scratch = MeasuringCanvas();
        GrowMeasuringCanvas(size.width, size.height);
        const gfx::RectI area = PixelArea(r);
        scratch.graphics->ResetClip();
        scratch.bitmap->CopyFrom(*canvas.bitmap, area, area.x, area.y);
        draw(target, *snapshot, r.x, r.y);
        draw(*scratch.graphics, *control->surface, r.x, r.y);
        const RectF source{static_cast<float>(area.x), static_cast<float>(area.y),
                           static_cast<float>(area.width), static_cast<float>(area.height)};
        const float level =
            static_cast<float>(alpha) * static_cast<float>(k) / static_cast<float>(n) / 255.0f;
        // A constant-opacity blend, not a draw over: each pixel moves from the
        // old picture towards the new one by `level`, alpha channel included,
        // so a translucent control never looks more opaque mid-fade.
        const gfx::CompositingMode before = target.GetCompositingMode();
        target.SetCompositingMode(gfx::CompositingMode::SourceCopy);
        target.DrawImage(*scratch.bitmap, source, source, gfx::ColorMatrix::AlphaScale(level));
        target.SetCompositingMode(before);
        break;
    }
    case 1:
    case 2: {
        const float step = std::floor(r.height / static_cast<float>(n)) * static_cast<float>(k);
        const float dir = control->transitionStyle == 1 ? 1.0f : -1.0f;
        draw(target, *snapshot, r.x, r.y + dir * step);
        draw(target, *control->surface, r.x, r.y + dir * step - dir * r.height);
        break;
    }
    case 3:
    case 4: {
        const float step = std::floor(r.width / static_cast<float>(n)) * static_cast<float>(k);
        const float dir = control->transitionStyle == 3 ? 1.0f : -1.0f;
        draw(target, *snapshot, r.x + dir * step, r.y);
        draw(target, *control->surface, r.x + dir * step - dir * r.width, r.y);
        break;
    }
    default: DrawSurface(target, control, false); break;
    }
}

void UiWindow::ComposeControls(UiControl* first, const RectF& dirty, gfx::Graphics& target) {
    for (UiControl* c = first; c; c = c->nextSibling) {
        if (!c->visible || !RectsOverlap(dirty, c->rect)) continue;
        const RectF clipBefore = target.VisibleClipBounds();
        if (c->disabled) {
            DrawSurface(target, c, true);
        } else if (c->transitionInterval == 0 || c->transitionFrames == 0 ||
                   c->transitionFrame == c->transitionFrames) {
            DrawSurface(target, c, false);
        } else {
            UiCanvas& scratch = MeasuringCanvas();
            PaintRecord record;
            record.hostCanvas = canvas.bitmap.get();
            record.hostGraphics = &target;
            record.measuringCanvas = scratch.bitmap.get();
            record.measuringGraphics = scratch.graphics.get();
            record.surface = c->surface.get();
            record.transitionSnapshot = c->transitionSnapshot.get();
            record.rect = c->rect;
            record.clipBefore = clipBefore;
            record.transitionFrame = c->transitionFrame;
            record.transitionFrames = c->transitionFrames;
            if (Deliver(c, EV_TRANSITION_FRAME, 0, reinterpret_cast<LParam>(&record)) < 1)
                PlayTransition(c, target);
        }
        if (c->firstChild) {
            target.SetClip(c->rect, gfx::CombineMode::Intersect);
            ComposeControls(c->firstChild, dirty, target);
            target.SetClip(clipBefore, gfx::CombineMode::Replace);
        }
    }
}

void UiWindow::ComposeAll(UiControl* first, gfx::Graphics& target, bool recache) {
    for (UiControl* c = first; c; c = c->nextSibling) {
        if (!c->visible) continue;
        if (recache) Deliver(c, EV_RECACHE, 0, 0);
        DrawSurface(target, c, c->disabled);
        if (c->firstChild) {
            const RectF clipBefore = target.VisibleClipBounds();
            target.SetClip(c->rect, gfx::CombineMode::Intersect);
            ComposeAll(c->firstChild, target, recache);
            target.SetClip(clipBefore, gfx::CombineMode::Replace);
        }
    }
}

void UiWindow::PresentBitmap(const gfx::Bitmap& picture, const plat::RECT* dirty) {
    if (!picture.IsValid()) return;
    ++presentCount;
    plat::Present(window, reinterpret_cast<const std::uint32_t*>(picture.Data()), picture.Stride(),
                  picture.Width(), picture.Height(), dirty);
}

void UiWindow::PresentRect(const RectF* rect) {
    if (suspended || canvas.Empty()) return;
    if (rect && !Layered()) {
        const gfx::RectI area = PixelArea(*rect);
        const plat::RECT dirty{area.x, area.y, area.Right(), area.Bottom()};
        PresentBitmap(*canvas.bitmap, &dirty);
    } else {
        PresentBitmap(*canvas.bitmap);
    }
}

void UiWindow::OnPaint() {
    plat::PAINTSTRUCT ps;
    plat::BeginPaint(window, &ps);
    if (!canvas.Empty() && !ps.rcPaint.empty()) {
        plat::Present(window, reinterpret_cast<const std::uint32_t*>(canvas.bitmap->Data()),
                      canvas.bitmap->Stride(), canvas.bitmap->Width(), canvas.bitmap->Height(),
                      &ps.rcPaint);
    }
    plat::EndPaint(window, &ps);
}

void UiWindow::OnFadeTimer() {
    fadeAlpha = std::min(fadeAlpha + kFadeStep, 255);
    if (!canvas.Empty()) {
        // Each tick shows the old picture with the new one over it at the
        // tick's opacity, so the ticks do not pile up.
        gfx::Bitmap frame =
            fadeCanvas.Empty() ? gfx::Bitmap(size.width, size.height) : fadeCanvas.bitmap->Clone();
        gfx::Graphics g(frame);
        g.DrawImageAlpha(
            *canvas.bitmap,
            RectF{0, 0, static_cast<float>(size.width), static_cast<float>(size.height)},
            fadeAlpha);
        PresentBitmap(frame);
    }
    if (fadeAlpha >= 255) {
        plat::KillTimer(window, reinterpret_cast<TimerId>(this));
        fadeCanvas.Reset();
        suspended = false;
        PresentWhole();
    }
}

}  // namespace ui
