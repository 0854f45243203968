// Graphics over a cairo context.
#include <algorithm>
#include <cmath>

#include "platform/gfx/cairo/cairo_gfx.h"

namespace gfx {

namespace {

void AddStop(cairo_pattern_t* p, double offset, Argb c) {
    cairo_pattern_add_color_stop_rgba(p, offset, RedOf(c) / 255.0, GreenOf(c) / 255.0,
                                      BlueOf(c) / 255.0, AlphaOf(c) / 255.0);
}

}  // namespace

void SetBrushSource(cairo_t* cr, const Brush& brush) {
    if (const auto* solid = std::get_if<SolidBrush>(&brush)) {
        const Argb c = solid->Color();
        cairo_set_source_rgba(cr, RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0,
                              AlphaOf(c) / 255.0);
        return;
    }
    const auto& g = std::get<LinearGradientBrush>(brush);
    const RectF& r = g.Rect();
    double x0 = r.x, y0 = r.y, x1 = r.Right(), y1 = r.y;
    switch (g.Mode()) {
    case LinearGradientMode::Horizontal: break;
    case LinearGradientMode::Vertical:
        x1 = r.x;
        y1 = r.Bottom();
        break;
    case LinearGradientMode::ForwardDiagonal: y1 = r.Bottom(); break;
    case LinearGradientMode::BackwardDiagonal:
        x0 = r.Right();
        x1 = r.x;
        y1 = r.Bottom();
        break;
    }
    rt::Owned<cairo_pattern_t, cairo_pattern_destroy> p(
        cairo_pattern_create_linear(x0, y0, x1, y1));
    AddStop(p.get(), 0, g.From());
    AddStop(p.get(), 1, g.To());
    switch (g.Wrap()) {
    case WrapMode::Tile: cairo_pattern_set_extend(p.get(), CAIRO_EXTEND_REPEAT); break;
    case WrapMode::Clamp: cairo_pattern_set_extend(p.get(), CAIRO_EXTEND_PAD); break;
    default: cairo_pattern_set_extend(p.get(), CAIRO_EXTEND_REFLECT); break;
    }
    cairo_set_source(cr, p.get());
}

namespace {

cairo_filter_t FilterFor(InterpolationMode mode) {
    switch (mode) {
    case InterpolationMode::NearestNeighbor: return CAIRO_FILTER_NEAREST;
    case InterpolationMode::LowQuality: return CAIRO_FILTER_FAST;
    case InterpolationMode::HighQuality:
    case InterpolationMode::Bicubic:
    case InterpolationMode::HighQualityBilinear:
    case InterpolationMode::HighQualityBicubic: return CAIRO_FILTER_GOOD;
    default: return CAIRO_FILTER_BILINEAR;
    }
}

}  // namespace

void Graphics::Impl::ApplyClip() {
    cairo_t* c = cr.get();
    cairo_reset_clip(c);
    if (!clip.region) return;
    cairo_new_path(c);
    for (const RectI& r : clip.region->Rects()) cairo_rectangle(c, r.x, r.y, r.width, r.height);
    cairo_clip(c);  // an empty path clips everything away
}

void Graphics::Impl::BeginShape() {
    cairo_t* c = cr.get();
    cairo_save(c);
    cairo_new_path(c);
    const bool aa =
        smoothing == SmoothingMode::AntiAlias || smoothing == SmoothingMode::HighQuality;
    cairo_set_antialias(c, aa ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(c, Operator());
    const float o = Offset();
    cairo_translate(c, o, o);
}
void Graphics::Impl::EndShape() { cairo_restore(cr.get()); }

void Graphics::Impl::Fill(const Brush& brush, FillMode mode) {
    cairo_t* c = cr.get();
    cairo_set_fill_rule(
        c, mode == FillMode::Winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
    SetBrushSource(c, brush);
    cairo_fill(c);
}

void Graphics::Impl::Stroke(const Pen& pen) {
    cairo_t* c = cr.get();
    const double w = pen.Width() > 0 ? pen.Width() : 1.0;
    cairo_set_line_width(c, w);
    cairo_set_line_cap(c, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(c, CAIRO_LINE_JOIN_MITER);
    const double unit = std::max(w, 1.0);
    switch (pen.Dash()) {
    case DashStyle::Dash: {
        const double d[] = {3 * unit, unit};
        cairo_set_dash(c, d, 2, 0);
        break;
    }
    case DashStyle::Dot: {
        const double d[] = {unit, unit};
        cairo_set_dash(c, d, 2, 0);
        break;
    }
    case DashStyle::DashDot: {
        const double d[] = {3 * unit, unit, unit, unit};
        cairo_set_dash(c, d, 4, 0);
        break;
    }
    case DashStyle::DashDotDot: {
        const double d[] = {3 * unit, unit, unit, unit, unit, unit};
        cairo_set_dash(c, d, 6, 0);
        break;
    }
    default: cairo_set_dash(c, nullptr, 0, 0); break;
    }
    SetBrushSource(c, SolidBrush(pen.Color()));
    cairo_stroke(c);
}

void Graphics::Impl::Image(const Bitmap& image, const RectF& dest, const RectF& source,
                           double alpha) {
    if (!image.IsValid() || dest.IsEmpty() || source.IsEmpty()) return;
    cairo_t* c = cr.get();
    cairo_surface_t* src = CairoSurfaceOf(*image.SharedSurface());
    rt::Owned<cairo_surface_t, cairo_surface_destroy> sub;
    const bool whole = source.x == 0 && source.y == 0 && source.width == image.Width() &&
                       source.height == image.Height();
    if (!whole) {
        // A sub-surface keeps the filter from sampling the neighbouring pixels.
        sub.reset(cairo_surface_create_for_rectangle(src, source.x, source.y, source.width,
                                                     source.height));
        src = sub.get();
    }
    cairo_save(c);
    cairo_set_operator(c, Operator());
    cairo_new_path(c);
    cairo_rectangle(c, dest.x, dest.y, dest.width, dest.height);
    cairo_clip(c);
    cairo_translate(c, dest.x, dest.y);
    const double sx = dest.width / source.width, sy = dest.height / source.height;
    cairo_scale(c, sx, sy);
    cairo_set_source_surface(c, src, 0, 0);
    cairo_pattern_t* p = cairo_get_source(c);
    const bool exact =
        sx == 1 && sy == 1 && dest.x == std::floor(dest.x) && dest.y == std::floor(dest.y);
    cairo_pattern_set_filter(p, exact ? CAIRO_FILTER_NEAREST : FilterFor(interpolation));
    cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD);
    if (alpha >= 1) cairo_paint(c);
    else cairo_paint_with_alpha(c, std::max(0.0, alpha));
    cairo_restore(c);
}

Graphics::Graphics(Bitmap& target) : impl_(std::make_unique<Impl>()) {
    impl_->target = target.SharedSurface();
    if (!impl_->target) {
        // Draw into a throw-away 1 x 1 surface with everything clipped away.
        impl_->target = Bitmap(1, 1).SharedSurface();
        impl_->cr.reset(cairo_create(CairoSurfaceOf(*impl_->target)));
        impl_->clip.region = Region();
        impl_->ApplyClip();
    } else {
        impl_->cr.reset(cairo_create(CairoSurfaceOf(*impl_->target)));
        impl_->clip.width = target.Width();
        impl_->clip.height = target.Height();
    }
    ApplyTextHint(impl_->cr.get(), impl_->textHint);
}

Graphics::~Graphics() = default;
Graphics::Graphics(Graphics&&) noexcept = default;
Graphics& Graphics::operator=(Graphics&&) noexcept = default;

void Graphics::SetSmoothingMode(SmoothingMode mode) { impl_->smoothing = mode; }
void Graphics::SetTextRenderingHint(TextRenderingHint hint) {
    impl_->textHint = hint;
    ApplyTextHint(impl_->cr.get(), hint);
}
void Graphics::SetInterpolationMode(InterpolationMode mode) { impl_->interpolation = mode; }
// Cairo composites in one quality; the setting is kept for callers that read it back.
void Graphics::SetCompositingQuality(CompositingQuality quality) { impl_->quality = quality; }
void Graphics::SetCompositingMode(CompositingMode mode) { impl_->compositing = mode; }
void Graphics::SetPixelOffsetMode(PixelOffsetMode mode) { impl_->pixelOffset = mode; }

GraphicsState& Graphics::State() const { return *impl_; }
void Graphics::ClipChanged() { impl_->ApplyClip(); }

void Graphics::Clear(Argb color) {
    cairo_t* c = impl_->cr.get();
    cairo_save(c);
    cairo_set_operator(c, CAIRO_OPERATOR_SOURCE);
    SetBrushSource(c, SolidBrush(color));
    cairo_paint(c);
    cairo_restore(c);
}

void Graphics::FillRectangle(const Brush& brush, const RectF& rect) {
    if (rect.IsEmpty()) return;
    impl_->BeginShape();
    cairo_rectangle(impl_->cr.get(), rect.x, rect.y, rect.width, rect.height);
    impl_->Fill(brush, FillMode::Alternate);
    impl_->EndShape();
}

void Graphics::FillPath(const Brush& brush, const Path& path) {
    impl_->BeginShape();
    AppendPath(impl_->cr.get(), path);
    impl_->Fill(brush, path.GetFillMode());
    impl_->EndShape();
}

void Graphics::FillRegion(const Brush& brush, const Region& region) {
    cairo_t* c = impl_->cr.get();
    cairo_save(c);
    cairo_new_path(c);
    cairo_set_operator(c, impl_->Operator());
    for (const RectI& r : region.Rects()) cairo_rectangle(c, r.x, r.y, r.width, r.height);
    SetBrushSource(c, brush);
    cairo_fill(c);
    cairo_restore(c);
}

void Graphics::DrawRectangle(const Pen& pen, const RectF& rect) {
    impl_->BeginShape();
    cairo_rectangle(impl_->cr.get(), rect.x, rect.y, rect.width, rect.height);
    impl_->Stroke(pen);
    impl_->EndShape();
}

void Graphics::DrawPath(const Pen& pen, const Path& path) {
    impl_->BeginShape();
    AppendPath(impl_->cr.get(), path);
    impl_->Stroke(pen);
    impl_->EndShape();
}

void Graphics::DrawLine(const Pen& pen, PointF from, PointF to) {
    impl_->BeginShape();
    cairo_move_to(impl_->cr.get(), from.x, from.y);
    cairo_line_to(impl_->cr.get(), to.x, to.y);
    impl_->Stroke(pen);
    impl_->EndShape();
}

void Graphics::DrawLines(const Pen& pen, std::span<const PointF> points) {
    if (points.size() < 2) return;
    impl_->BeginShape();
    cairo_move_to(impl_->cr.get(), points[0].x, points[0].y);
    for (std::size_t i = 1; i < points.size(); ++i)
        cairo_line_to(impl_->cr.get(), points[i].x, points[i].y);
    impl_->Stroke(pen);
    impl_->EndShape();
}

void Graphics::DrawImageScaled(const Bitmap& image, const RectF& dest, const RectF& source,
                               double opacity) {
    impl_->Image(image, dest, source, opacity);
}

}  // namespace gfx
