// Graphics over a GDI+ graphics object on the bitmap's GDI+ bitmap.
#include <algorithm>
#include <cmath>

#include "platform/gfx/gdiplus/gdiplus_gfx.h"

namespace gfx {

namespace {

gp::TextRenderingHint ToGp(TextRenderingHint hint) {
    // Sub-pixel colour fringes would show on a translucent surface, so grey
    // anti-aliasing stands in for ClearType, as in the Cairo backend.
    if (hint == TextRenderingHint::ClearTypeGridFit) return gp::TextRenderingHintAntiAliasGridFit;
    return static_cast<gp::TextRenderingHint>(hint);
}

}  // namespace

void Graphics::Impl::ApplyClip() {
    if (!clip.region) {
        flat::GdipResetClip(g.get());
        return;
    }
    HrgnOwner rgn = MakeHrgn(*clip.region);
    if (rgn) flat::GdipSetClipHrgn(g.get(), rgn.get(), gp::CombineModeReplace);
}

Graphics::Graphics(Bitmap& target) : impl_(std::make_unique<Impl>()) {
    impl_->target = target.SharedSurface();
    const bool empty = !impl_->target;
    // An empty target draws into a throw-away 1 x 1 bitmap with everything
    // clipped away.
    if (empty) impl_->target = Bitmap(1, 1).SharedSurface();
    gp::GpGraphics* raw = nullptr;
    if (impl_->target) flat::GdipGetImageGraphicsContext(GpBitmapOf(*impl_->target), &raw);
    impl_->g.reset(raw);
    if (!impl_->g) return;
    if (empty) {
        impl_->clip.region = Region();
        impl_->ApplyClip();
    } else {
        impl_->clip.width = target.Width();
        impl_->clip.height = target.Height();
    }
    flat::GdipSetPixelOffsetMode(impl_->g.get(), ToGp(impl_->pixelOffset));
    flat::GdipSetSmoothingMode(impl_->g.get(), gp::SmoothingModeNone);
    flat::GdipSetTextRenderingHint(impl_->g.get(), ToGp(impl_->textHint));
}

Graphics::~Graphics() = default;
Graphics::Graphics(Graphics&&) noexcept = default;
Graphics& Graphics::operator=(Graphics&&) noexcept = default;

void Graphics::SetSmoothingMode(SmoothingMode mode) {
    impl_->smoothing = mode;
    // Default and HighSpeed draw without anti-aliasing, as in the Cairo backend.
    const bool aa = mode == SmoothingMode::AntiAlias || mode == SmoothingMode::HighQuality;
    flat::GdipSetSmoothingMode(impl_->g.get(),
                               aa ? gp::SmoothingModeAntiAlias : gp::SmoothingModeNone);
}
void Graphics::SetTextRenderingHint(TextRenderingHint hint) {
    impl_->textHint = hint;
    flat::GdipSetTextRenderingHint(impl_->g.get(), ToGp(hint));
}
void Graphics::SetInterpolationMode(InterpolationMode mode) {
    impl_->interpolation = mode;
    flat::GdipSetInterpolationMode(impl_->g.get(), static_cast<gp::InterpolationMode>(mode));
}
void Graphics::SetCompositingQuality(CompositingQuality quality) {
    impl_->quality = quality;
    flat::GdipSetCompositingQuality(impl_->g.get(), static_cast<gp::CompositingQuality>(quality));
}
void Graphics::SetCompositingMode(CompositingMode mode) {
    impl_->compositing = mode;
    flat::GdipSetCompositingMode(impl_->g.get(), static_cast<gp::CompositingMode>(mode));
}
void Graphics::SetPixelOffsetMode(PixelOffsetMode mode) {
    impl_->pixelOffset = mode;
    flat::GdipSetPixelOffsetMode(impl_->g.get(), ToGp(mode));
}

GraphicsState& Graphics::State() const { return *impl_; }
void Graphics::ClipChanged() { impl_->ApplyClip(); }

void Graphics::Clear(Argb color) { flat::GdipGraphicsClear(impl_->g.get(), color); }

void Graphics::FillRectangle(const Brush& brush, const RectF& rect) {
    if (rect.IsEmpty()) return;
    GpBrushOwner b = MakeGpBrush(brush);
    flat::GdipFillRectangle(impl_->g.get(), b.get(), rect.x, rect.y, rect.width, rect.height);
}

void Graphics::FillPath(const Brush& brush, const Path& path) {
    GpBrushOwner b = MakeGpBrush(brush);
    GpPathOwner p = MakeGpPath(path);
    flat::GdipFillPath(impl_->g.get(), b.get(), p.get());
}

void Graphics::FillRegion(const Brush& brush, const Region& region) {
    HrgnOwner rgn = MakeHrgn(region);
    gp::GpRegion* raw = nullptr;
    if (!rgn || flat::GdipCreateRegionHrgn(rgn.get(), &raw) != gp::Ok) return;
    GpRegionOwner r(raw);
    GpBrushOwner b = MakeGpBrush(brush);
    // The region's pixels are whole: its edges lie on pixel corners.
    impl_->WithPixelOffset(PixelOffsetMode::Half,
                           [&] { flat::GdipFillRegion(impl_->g.get(), b.get(), r.get()); });
}

void Graphics::DrawRectangle(const Pen& pen, const RectF& rect) {
    GpPenOwner p = MakeGpPen(pen);
    flat::GdipDrawRectangle(impl_->g.get(), p.get(), rect.x, rect.y, rect.width, rect.height);
}

void Graphics::DrawPath(const Pen& pen, const Path& path) {
    GpPenOwner p = MakeGpPen(pen);
    GpPathOwner gpPath = MakeGpPath(path);
    flat::GdipDrawPath(impl_->g.get(), p.get(), gpPath.get());
}

void Graphics::DrawLine(const Pen& pen, PointF from, PointF to) {
    GpPenOwner p = MakeGpPen(pen);
    flat::GdipDrawLine(impl_->g.get(), p.get(), from.x, from.y, to.x, to.y);
}

void Graphics::DrawLines(const Pen& pen, std::span<const PointF> points) {
    if (points.size() < 2) return;
    std::vector<gp::PointF> pts;
    pts.reserve(points.size());
    for (const PointF& p : points) pts.emplace_back(p.x, p.y);
    GpPenOwner p = MakeGpPen(pen);
    flat::GdipDrawLines(impl_->g.get(), p.get(), pts.data(), static_cast<INT>(pts.size()));
}

void Graphics::DrawImageScaled(const Bitmap& image, const RectF& dest, const RectF& source,
                               double opacity) {
    if (!image.IsValid() || dest.IsEmpty() || source.IsEmpty()) return;
    if (impl_->compositing == CompositingMode::SourceCopy && opacity < 1) {
        // GDI+ would put the faded image in place of the pixels; the layer
        // moves each pixel towards the image by the opacity instead.
        // Pixels the clip keeps out stay as they were, so the box need not
        // follow the clip.
        Surface& t = *impl_->target;
        const int x0 = std::max(0, static_cast<int>(std::floor(dest.x)));
        const int y0 = std::max(0, static_cast<int>(std::floor(dest.y)));
        const int x1 = std::min(t.width, static_cast<int>(std::ceil(dest.Right())));
        const int y1 = std::min(t.height, static_cast<int>(std::ceil(dest.Bottom())));
        if (x1 <= x0 || y1 <= y0) return;
        const RectI box{x0, y0, x1 - x0, y1 - y0};
        const auto row = [&t, &box](int y) { return t.pixels.get() + y * t.stride + box.x * 4; };
        std::vector<std::uint8_t> before(static_cast<std::size_t>(box.width) * box.height * 4);
        for (int y = 0; y < box.height; ++y)
            std::copy_n(row(box.y + y), box.width * 4, before.data() + y * box.width * 4);
        DrawImageScaled(image, dest, source, 1);
        flat::GdipFlush(impl_->g.get(), gp::FlushIntentionSync);
        const int level = static_cast<int>(std::lround(std::max(0.0, opacity) * 255));
        for (int y = 0; y < box.height; ++y) {
            std::uint8_t* now = row(box.y + y);
            const std::uint8_t* was = before.data() + y * box.width * 4;
            for (int i = 0; i < box.width * 4; ++i)
                now[i] = static_cast<std::uint8_t>((now[i] * level + was[i] * (255 - level) + 127) /
                                                   255);
        }
        return;
    }
    gp::GpImageAttributes* raw = nullptr;
    flat::GdipCreateImageAttributes(&raw);
    GpAttributesOwner attributes(raw);
    // Scaling samples beyond the source's edge: repeat the edge pixels
    // instead of fading into transparency.
    flat::GdipSetImageAttributesWrapMode(attributes.get(), gp::WrapModeTileFlipXY, 0, FALSE);
    if (opacity < 1) {
        gp::ColorMatrix m{};
        for (int i = 0; i < 5; ++i) m.m[i][i] = 1;
        m.m[3][3] = static_cast<gp::REAL>(std::max(0.0, opacity));
        flat::GdipSetImageAttributesColorMatrix(attributes.get(), gp::ColorAdjustTypeDefault, TRUE,
                                                &m, nullptr, gp::ColorMatrixFlagsDefault);
    }
    const bool exact = dest.width == source.width && dest.height == source.height &&
                       dest.x == std::floor(dest.x) && dest.y == std::floor(dest.y);
    // Images land on pixel corners; an unscaled image at whole pixels is
    // copied pixel for pixel.
    impl_->WithPixelOffset(PixelOffsetMode::Half, [&] {
        if (exact)
            flat::GdipSetInterpolationMode(impl_->g.get(), gp::InterpolationModeNearestNeighbor);
        flat::GdipDrawImageRectRect(impl_->g.get(), GpBitmapOf(*image.SharedSurface()), dest.x,
                                    dest.y, dest.width, dest.height, source.x, source.y,
                                    source.width, source.height, gp::UnitPixel, attributes.get(),
                                    nullptr, nullptr);
        if (exact)
            flat::GdipSetInterpolationMode(
                impl_->g.get(), static_cast<gp::InterpolationMode>(impl_->interpolation));
    });
}

}  // namespace gfx
