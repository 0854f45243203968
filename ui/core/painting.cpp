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
    if (skinDonor_ && *skinDonor_ != window_ && plat::IsWindow(*skinDonor_)) {
        if (UiWindow* donor = FindHost(*skinDonor_)) {
            skinImage_ = donor->skinImage_;
            backgroundColour_ = donor->backgroundColour_;
            return;
        }
    }
    if (skin && !skin->empty()) {
        skinImage_.reset();
        if (auto decoded = LoadImageFromBytes(*skin, false)) {
            skinImage_ = std::shared_ptr<gfx::Bitmap>(std::move(decoded));
            backgroundColour_ = AverageColour(*skinImage_);
        }
    }
    if (colour && *colour != -1) backgroundColour_ = *colour;
}

void UiWindow::RenderBackground(const rt::ByteBuffer* skin, std::optional<int> colour, int present,
                                bool recache) {
    RenderBackground(skin, colour, PresentModeOf(present), recache);
}

void UiWindow::RenderBackground(const rt::ByteBuffer* skin, std::optional<int> colour,
                                PresentMode present, bool recache) {
    if (canvas_.Empty()) return;
    const int w = size_.width, h = size_.height;
    const RectF inner{5, 5, static_cast<float>(w - 10), static_cast<float>(h - 10)};
    const bool layered = Layered();
    const bool framed = frameStyle_ != WindowFrame::SkinOnly;
    const bool round = frameStyle_ != WindowFrame::Square;
    suspended_ = true;
    TakeSkin(skin, colour);
    const auto bg = static_cast<std::uint32_t>(backgroundColour_);

    if (present == PresentMode::CrossFade) {
        fadeCanvas_.Create(w, h, false);
        fadeCanvas_.bitmap->CopyFrom(*canvas_.bitmap, gfx::RectI{0, 0, w, h}, 0, 0);
    }
    gfx::Graphics& g = *canvas_.graphics;
    g.ResetClip();
    g.Clear(0);
    unpresented_ = true;

    if (!framed) {
        if (skinImage_) {
            if (skinMargins_.Empty()) {
                DrawImageAt(g, *skinImage_,
                            RectF{0, 0, static_cast<float>(w), static_cast<float>(h)}, false);
            } else {
                DrawNineSlice(&g, skinImage_.get(),
                              RectF{0, 0, static_cast<float>(w), static_cast<float>(h)},
                              SliceMarginsFromRecord(skinMargins_.left, skinMargins_.top,
                                                     skinMargins_.right, skinMargins_.bottom));
            }
        }
    } else {
        const int r = round ? 4 : 0;
        g.SetClip(gfx::Region::RoundRect(6, 6, w - 5, h - 5, r, r));
        if (skinImage_) {
            g.Clear(MakeArgb(bg));
            const float iw = static_cast<float>(skinImage_->Width());
            const float ih = static_cast<float>(skinImage_->Height());
            if (skinMode_ == SkinMode::Stretched) {
                g.DrawImage(*skinImage_, inner);
            } else if (skinMode_ == SkinMode::Centred) {
                const RectF whole{0, 0, static_cast<float>(w), static_cast<float>(h)};
                DrawImageAt(g, *skinImage_, whole, true);
                if (edgeFade_) {
                    const float ix = std::round(-(iw - static_cast<float>(w)) / 2);
                    const float iy = std::round(-(ih - static_cast<float>(h)) / 2);
                    EdgeFade(g, RectF{ix - 1, iy - 1, iw + 1, ih + 1}, bg, 100.0f,
                             FadeSides{true, true, true, true}, 6.0f);
                }
            } else {
                DrawImageAt(g, *skinImage_, RectF{5, 5, iw, ih}, false);
                if (edgeFade_) {
                    EdgeFade(g, RectF{0, 0, iw, ih}, bg, 100.0f,
                             FadeSides{false, false, true, true}, 6.0f);
                }
            }
            if (layered) {
                const gfx::Bitmap copy = canvas_.bitmap->Clone();
                g.Clear(0);
                DrawImageAlpha(g, copy, RectF{0, 0, static_cast<float>(w), static_cast<float>(h)},
                               backgroundAlpha_);
            }
        } else {
            g.Clear(layered ? MakeArgb(bg, backgroundAlpha_) : MakeArgb(bg));
        }
    }

    if (callbacks_.paintBackground) callbacks_.paintBackground(window_, g, w, h);

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
            const int c = plat::IsZoomed(window_) ? 5 : 6;
            const int r = round ? 5 : 0;
            const plat::Region region = plat::CreateRoundRectRgn(c, c, w - c + 1, h - c + 1, r, r);
            plat::SetWindowRgn(window_, &region);
        } else if (captionFlags_ & CAPTION_FRAME) {
            DropShadow(g, inner, round,
                       frameColour_ == -1 ? 0u : static_cast<std::uint32_t>(frameColour_));
        }
    }

    backgroundCanvas_.bitmap->CopyFrom(*canvas_.bitmap, gfx::RectI{0, 0, w, h}, 0, 0);

    if (framed) {
        const int r = round ? 3 : 0;
        frameClip_ =
            std::make_unique<gfx::Region>(gfx::Region::RoundRect(7, 7, w - 6, h - 6, r, r));
        g.SetClip(*frameClip_);
    } else {
        frameClip_.reset();
    }
    redrawQueue_.Init(window_, this, canvas_.graphics.get());
    LayoutCaption();
    ComposeAll(firstControl_, g, recache);
    if (framed) g.ResetClip();
    suspended_ = false;
    if (blurBehind_ && layered) ApplyBlur();

    if (present == PresentMode::Now) {
        PresentWhole();
    } else if (present == PresentMode::CrossFade) {
        suspended_ = true;
        fadeAlpha_ = 0;
        plat::SetTimer(window_, reinterpret_cast<TimerId>(this), kFadeInterval);
    }
}

void UiWindow::ApplyBlur() {
    if (!Library().blurAvailable || frameStyle_ == WindowFrame::SkinOnly || !Layered()) return;
    if (!plat::IsCompositionEnabled()) return;
    const plat::Region region =
        plat::CreateRoundRectRgn(6, 6, size_.width - 5, size_.height - 5, 6, 6);
    plat::EnableBlurBehind(window_, true, &region);
}

void UiWindow::QueueRedraw(const RectF& rect, int mode) {
    QueueRedraw(rect, RedrawModeOf(static_cast<WParam>(mode)));
}

void UiWindow::QueueRedraw(const RectF& rect, RedrawMode mode) {
    if (mode == RedrawMode::Now) {
        RedrawRect(rect, true);
    } else {
        redrawQueue_.Add(rect, mode);
    }
    if (redrawQueue_.Pending() > 0) redrawQueue_.Process();
}

void UiWindow::RedrawRect(const RectF& rect, bool present) {
    if (suspended_ || canvas_.Empty()) return;
    gfx::Graphics& g = *canvas_.graphics;
    if (frameClip_) {
        g.SetClip(*frameClip_, gfx::CombineMode::Replace);
    } else {
        g.ResetClip();
    }
    g.SetClip(rect, gfx::CombineMode::Intersect);
    const gfx::RectI area = PixelArea(rect);
    canvas_.bitmap->CopyFrom(*backgroundCanvas_.bitmap, area, area.x, area.y);
    ComposeControls(firstControl_, rect, g);
    g.ResetClip();
    ++recomposeCount_;
    if (present) PresentRect(&rect);
}

void UiWindow::DrawSurface(gfx::Graphics& target, UiControl* control, bool disabledLook) {
    if (!control->Surface()) return;
    int alpha = control->Opacity();
    if (disabledLook && Deliver(control, EV_DISABLED_LOOK, 0, 0) == -1) alpha /= 2;
    DrawImageAlpha(target, *control->Surface(), control->Rect(), alpha);
}

void UiWindow::PlayTransition(UiControl* control, gfx::Graphics& target) {
    const RectF& r = control->Rect();
    const int k = control->TransitionFrame();
    const int n = control->TransitionFrames();
    const gfx::Bitmap* snapshot = control->TransitionSnapshot();
    if (!snapshot || !control->Surface() || n <= 0) {
        DrawSurface(target, control, false);
        return;
    }
    const int alpha = control->Opacity();
    const auto draw = [&](gfx::Graphics& g, const gfx::Bitmap& image, float x, float y) {
        DrawImageAlpha(g, image, RectF{x, y, r.width, r.height}, alpha);
    };
    switch (control->TransitionStyle()) {
    case 0: {
        UiCanvas& scratch = MeasuringCanvas();
        GrowMeasuringCanvas(size_.width, size_.height);
        const gfx::RectI area = PixelArea(r);
        scratch.graphics->ResetClip();
        scratch.bitmap->CopyFrom(*canvas_.bitmap, area, area.x, area.y);
        draw(target, *snapshot, r.x, r.y);
        draw(*scratch.graphics, *control->Surface(), r.x, r.y);
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
        const float dir = control->TransitionStyle() == 1 ? 1.0f : -1.0f;
        draw(target, *snapshot, r.x, r.y + dir * step);
        draw(target, *control->Surface(), r.x, r.y + dir * step - dir * r.height);
        break;
    }
    case 3:
    case 4: {
        const float step = std::floor(r.width / static_cast<float>(n)) * static_cast<float>(k);
        const float dir = control->TransitionStyle() == 3 ? 1.0f : -1.0f;
        draw(target, *snapshot, r.x + dir * step, r.y);
        draw(target, *control->Surface(), r.x + dir * step - dir * r.width, r.y);
        break;
    }
    default: DrawSurface(target, control, false); break;
    }
}

void UiWindow::ComposeControls(UiControl* first, const RectF& dirty, gfx::Graphics& target) {
    for (UiControl* c = first; c; c = c->NextSibling()) {
        if (!c->Visible() || !RectsOverlap(dirty, c->Rect())) continue;
        const RectF clipBefore = target.VisibleClipBounds();
        if (c->Disabled()) {
            DrawSurface(target, c, true);
        } else if (c->TransitionInterval() == 0 || c->TransitionFrames() == 0 ||
                   c->TransitionFrame() == c->TransitionFrames()) {
            DrawSurface(target, c, false);
        } else {
            UiCanvas& scratch = MeasuringCanvas();
            PaintRecord record;
            record.hostCanvas = canvas_.bitmap.get();
            record.hostGraphics = &target;
            record.measuringCanvas = scratch.bitmap.get();
            record.measuringGraphics = scratch.graphics.get();
            record.surface = c->Surface();
            record.transitionSnapshot = c->TransitionSnapshot();
            record.rect = c->Rect();
            record.clipBefore = clipBefore;
            record.transitionFrame = c->TransitionFrame();
            record.transitionFrames = c->TransitionFrames();
            if (Deliver(c, EV_TRANSITION_FRAME, 0, reinterpret_cast<LParam>(&record)) < 1)
                PlayTransition(c, target);
        }
        if (c->FirstChild()) {
            target.SetClip(c->Rect(), gfx::CombineMode::Intersect);
            ComposeControls(c->FirstChild(), dirty, target);
            target.SetClip(clipBefore, gfx::CombineMode::Replace);
        }
    }
}

void UiWindow::ComposeAll(UiControl* first, gfx::Graphics& target, bool recache) {
    for (UiControl* c = first; c; c = c->NextSibling()) {
        if (!c->Visible()) continue;
        if (recache) Deliver(c, EV_RECACHE, 0, 0);
        DrawSurface(target, c, c->Disabled());
        if (c->FirstChild()) {
            const RectF clipBefore = target.VisibleClipBounds();
            target.SetClip(c->Rect(), gfx::CombineMode::Intersect);
            ComposeAll(c->FirstChild(), target, recache);
            target.SetClip(clipBefore, gfx::CombineMode::Replace);
        }
    }
}

void UiWindow::PresentBitmap(const gfx::Bitmap& picture, const plat::RECT* dirty) {
    if (!picture.IsValid()) return;
    // Another picture (an animation's frame) leaves the screen unlike the
    // canvas until the canvas is presented whole again.
    if (&picture != canvas_.bitmap.get()) unpresented_ = true;
    ++presentCount_;
    plat::Present(window_, reinterpret_cast<const std::uint32_t*>(picture.Data()), picture.Stride(),
                  picture.Width(), picture.Height(), dirty);
}

void UiWindow::PresentRedrawn(const std::vector<RectF>& rects) {
    if (suspended_ || canvas_.Empty()) return;
    if (unpresented_) {
        PresentWhole();
        return;
    }
    // Areas that touch or overlap become one where that adds no pixel (rows
    // of a list one under the other); the rest go as they are.
    std::vector<gfx::RectI> areas;
    for (const RectF& rect : rects) {
        gfx::RectI area = PixelArea(rect);
        if (area.width <= 0 || area.height <= 0) continue;
        for (std::size_t i = 0; i < areas.size();) {
            const gfx::RectI& other = areas[i];
            const int left = std::min(area.x, other.x), top = std::min(area.y, other.y);
            const int right = std::max(area.Right(), other.Right());
            const int bottom = std::max(area.Bottom(), other.Bottom());
            const bool apart = area.x > other.Right() || other.x > area.Right() ||
                               area.y > other.Bottom() || other.y > area.Bottom();
            const long long joined = static_cast<long long>(right - left) * (bottom - top);
            const long long separate = static_cast<long long>(area.width) * area.height +
                                       static_cast<long long>(other.width) * other.height;
            if (apart || joined > separate) {
                ++i;
                continue;
            }
            area = gfx::RectI{left, top, right - left, bottom - top};
            areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(i));
            i = 0;
        }
        areas.push_back(area);
    }
    plat::Region dirty;
    for (const gfx::RectI& a : areas)
        dirty.rects.push_back(plat::RECT{a.x, a.y, a.Right(), a.Bottom()});
    ++presentCount_;
    const gfx::Bitmap& picture = *canvas_.bitmap;
    plat::Present(window_, reinterpret_cast<const std::uint32_t*>(picture.Data()), picture.Stride(),
                  picture.Width(), picture.Height(), dirty);
}

void UiWindow::PresentRect(const RectF* rect) {
    if (suspended_ || canvas_.Empty()) return;
    if (rect != nullptr && !unpresented_) {
        const gfx::RectI area = PixelArea(*rect);
        const plat::RECT dirty{area.x, area.y, area.Right(), area.Bottom()};
        PresentBitmap(*canvas_.bitmap, &dirty);
        return;
    }
    unpresented_ = false;
    PresentBitmap(*canvas_.bitmap);
}

void UiWindow::OnPaint() {
    plat::PAINTSTRUCT ps;
    plat::BeginPaint(window_, &ps);
    if (!canvas_.Empty() && !ps.rcPaint.empty()) {
        plat::Present(window_, reinterpret_cast<const std::uint32_t*>(canvas_.bitmap->Data()),
                      canvas_.bitmap->Stride(), canvas_.bitmap->Width(), canvas_.bitmap->Height(),
                      &ps.rcPaint);
    }
    plat::EndPaint(window_, &ps);
}

void UiWindow::OnFadeTimer() {
    fadeAlpha_ = std::min(fadeAlpha_ + kFadeStep, 255);
    if (!canvas_.Empty()) {
        // Each tick shows the old picture with the new one over it at the
        // tick's opacity, so the ticks do not pile up.
        gfx::Bitmap frame = fadeCanvas_.Empty() ? gfx::Bitmap(size_.width, size_.height)
                                                : fadeCanvas_.bitmap->Clone();
        gfx::Graphics g(frame);
        g.DrawImageAlpha(
            *canvas_.bitmap,
            RectF{0, 0, static_cast<float>(size_.width), static_cast<float>(size_.height)},
            fadeAlpha_);
        PresentBitmap(frame);
    }
    if (fadeAlpha_ >= 255) {
        plat::KillTimer(window_, reinterpret_cast<TimerId>(this));
        fadeCanvas_.Reset();
        suspended_ = false;
        PresentWhole();
    }
}

}  // namespace ui
