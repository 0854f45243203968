#include "platform/gfx/graphics.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "platform/gfx/pixel.h"
#include "platform/gfx/text_layout.h"
#include "runtime/owned.h"

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

// Pixels whose centres lie inside the rectangle.
RectI PixelRect(const RectF& r) {
    const int x0 = static_cast<int>(std::ceil(r.x - 0.5f)),
              y0 = static_cast<int>(std::ceil(r.y - 0.5f));
    const int x1 = static_cast<int>(std::ceil(r.Right() - 0.5f)),
              y1 = static_cast<int>(std::ceil(r.Bottom() - 0.5f));
    return RectI{x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

// The source rectangle of `image` passed through a colour matrix, as a new bitmap.
Bitmap ApplyMatrix(const Bitmap& image, const RectI& area, const ColorMatrix& cm) {
    Bitmap out = image.CloneArea(area);
    if (!out.IsValid()) return out;
    std::uint8_t* data = out.Data();
    for (int y = 0; y < out.Height(); ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * out.Stride());
        for (int x = 0; x < out.Width(); ++x) {
            const Argb c = Unpremultiply(row[x]);
            const float in[5] = {RedOf(c) / 255.0f, GreenOf(c) / 255.0f, BlueOf(c) / 255.0f,
                                 AlphaOf(c) / 255.0f, 1};
            float res[4];
            for (int j = 0; j < 4; ++j) {
                float v = 0;
                for (int i = 0; i < 5; ++i)
                    v += in[i] * cm.m[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
                res[j] = std::clamp(v, 0.0f, 1.0f);
            }
            auto b = [](float v) { return static_cast<std::uint8_t>(std::lround(v * 255)); };
            row[x] = Premultiply(MakeColor(b(res[3]), b(res[0]), b(res[1]), b(res[2])));
        }
    }
    out.MarkDirty();
    return out;
}

}  // namespace

ColorMatrix ColorMatrix::Identity() {
    ColorMatrix cm;
    for (std::size_t i = 0; i < 5; ++i) cm.m[i][i] = 1;
    return cm;
}

ColorMatrix ColorMatrix::AlphaScale(float s) {
    ColorMatrix cm = Identity();
    cm.m[3][3] = s;
    return cm;
}

std::optional<float> ColorMatrix::AsAlphaScale() const {
    for (std::size_t i = 0; i < 5; ++i)
        for (std::size_t j = 0; j < 5; ++j) {
            if (i == 3 && j == 3) continue;
            if (j == 4) continue;  // the last column does not affect colours
            if (m[i][j] != (i == j ? 1.0f : 0.0f)) return std::nullopt;
        }
    return m[3][3];
}

struct Graphics::Impl {
    rt::Owned<cairo_t, cairo_destroy> cr;
    int width = 0;
    int height = 0;
    SmoothingMode smoothing = SmoothingMode::Default;
    TextRenderingHint textHint = TextRenderingHint::SystemDefault;
    InterpolationMode interpolation = InterpolationMode::Default;
    CompositingQuality quality = CompositingQuality::Default;
    CompositingMode compositing = CompositingMode::SourceOver;
    PixelOffsetMode pixelOffset = PixelOffsetMode::None;
    std::optional<Region> clip;  // none: unclipped

    float Offset() const { return pixelOffset == PixelOffsetMode::None ? 0.5f : 0.0f; }
    Region Full() const { return Region(RectI{0, 0, width, height}); }

    void ApplyClip() {
        cairo_t* c = cr.get();
        cairo_reset_clip(c);
        if (!clip) return;
        cairo_new_path(c);
        for (const RectI& r : clip->Rects()) cairo_rectangle(c, r.x, r.y, r.width, r.height);
        cairo_clip(c);  // an empty path clips everything away
    }

    void Combine(const Region& r, CombineMode mode) {
        Region current = clip ? *clip : Full();
        Region next;
        switch (mode) {
        case CombineMode::Replace: next = r; break;
        case CombineMode::Intersect: next.Combine(current, r, RegionOp::And); break;
        case CombineMode::Union: next.Combine(current, r, RegionOp::Or); break;
        case CombineMode::Xor: next.Combine(current, r, RegionOp::Xor); break;
        case CombineMode::Exclude: next.Combine(current, r, RegionOp::Diff); break;
        case CombineMode::Complement: next.Combine(r, current, RegionOp::Diff); break;
        }
        clip = std::move(next);
        ApplyClip();
    }

    // Sets up a vector operation: pixel offset, anti-aliasing, operator.
    void BeginShape() {
        cairo_t* c = cr.get();
        cairo_save(c);
        cairo_new_path(c);
        const bool aa =
            smoothing == SmoothingMode::AntiAlias || smoothing == SmoothingMode::HighQuality;
        cairo_set_antialias(c, aa ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
        cairo_set_operator(c, compositing == CompositingMode::SourceCopy ? CAIRO_OPERATOR_SOURCE
                                                                         : CAIRO_OPERATOR_OVER);
        const float o = Offset();
        cairo_translate(c, o, o);
    }
    void EndShape() { cairo_restore(cr.get()); }

    void Fill(const Brush& brush, FillMode mode) {
        cairo_t* c = cr.get();
        cairo_set_fill_rule(
            c, mode == FillMode::Winding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
        SetBrushSource(c, brush);
        cairo_fill(c);
    }

    void Stroke(const Pen& pen) {
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

    // Draws the area `source` of `image` scaled into `dest` at opacity `alpha`.
    void Image(const Bitmap& image, const RectF& dest, const RectF& source, double alpha) {
        if (!image.IsValid() || dest.IsEmpty() || source.IsEmpty()) return;
        cairo_t* c = cr.get();
        cairo_surface_t* src = image.CairoSurface();
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
        cairo_set_operator(c, compositing == CompositingMode::SourceCopy ? CAIRO_OPERATOR_SOURCE
                                                                         : CAIRO_OPERATOR_OVER);
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
};

Graphics::Graphics(Bitmap& target) : impl_(std::make_unique<Impl>()) {
    cairo_surface_t* surface = target.CairoSurface();
    if (!surface) {
        // Draw into a throw-away 1 x 1 surface with everything clipped away.
        Bitmap dummy(1, 1);
        impl_->cr.reset(cairo_create(dummy.CairoSurface()));
        impl_->clip = Region();
        impl_->ApplyClip();
    } else {
        impl_->cr.reset(cairo_create(surface));
        impl_->width = target.Width();
        impl_->height = target.Height();
    }
    ApplyTextHint(impl_->cr.get(), static_cast<int>(impl_->textHint));
}

Graphics::~Graphics() = default;
Graphics::Graphics(Graphics&&) noexcept = default;
Graphics& Graphics::operator=(Graphics&&) noexcept = default;

void Graphics::SetSmoothingMode(SmoothingMode mode) { impl_->smoothing = mode; }
SmoothingMode Graphics::GetSmoothingMode() const { return impl_->smoothing; }
void Graphics::SetTextRenderingHint(TextRenderingHint hint) {
    impl_->textHint = hint;
    ApplyTextHint(impl_->cr.get(), static_cast<int>(hint));
}
TextRenderingHint Graphics::GetTextRenderingHint() const { return impl_->textHint; }
void Graphics::SetInterpolationMode(InterpolationMode mode) { impl_->interpolation = mode; }
InterpolationMode Graphics::GetInterpolationMode() const { return impl_->interpolation; }
// Cairo composites in one quality; the setting is kept for callers that read it back.
void Graphics::SetCompositingQuality(CompositingQuality quality) { impl_->quality = quality; }
CompositingQuality Graphics::GetCompositingQuality() const { return impl_->quality; }
void Graphics::SetCompositingMode(CompositingMode mode) { impl_->compositing = mode; }
CompositingMode Graphics::GetCompositingMode() const { return impl_->compositing; }
void Graphics::SetPixelOffsetMode(PixelOffsetMode mode) { impl_->pixelOffset = mode; }
PixelOffsetMode Graphics::GetPixelOffsetMode() const { return impl_->pixelOffset; }

void Graphics::SetClip(const RectF& rect, CombineMode mode) {
    impl_->Combine(Region(PixelRect(rect)), mode);
}

void Graphics::SetClip(const Path& path, CombineMode mode) {
    impl_->Combine(Region::FromPath(path, impl_->Offset()), mode);
}

void Graphics::SetClip(const Region& region, CombineMode mode) { impl_->Combine(region, mode); }

void Graphics::ResetClip() {
    if (impl_->width == 0) return;  // the empty target stays clipped away
    impl_->clip.reset();
    impl_->ApplyClip();
}

RectF Graphics::VisibleClipBounds() const {
    RectI b = impl_->clip ? impl_->clip->Bounds() : RectI{0, 0, impl_->width, impl_->height};
    Region r(b);
    r.Combine(impl_->Full(), RegionOp::And);
    b = r.Bounds();
    return RectF{static_cast<float>(b.x), static_cast<float>(b.y), static_cast<float>(b.width),
                 static_cast<float>(b.height)};
}

bool Graphics::IsClipEmpty() const { return VisibleClipBounds().IsEmpty(); }

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
    path.AppendTo(impl_->cr.get());
    impl_->Fill(brush, path.GetFillMode());
    impl_->EndShape();
}

void Graphics::FillPolygon(const Brush& brush, std::span<const PointF> points, FillMode mode) {
    Path path(mode);
    path.AddPolygon(points);
    FillPath(brush, path);
}

void Graphics::FillEllipse(const Brush& brush, const RectF& box) {
    Path path;
    path.AddEllipse(box);
    FillPath(brush, path);
}

void Graphics::FillRegion(const Brush& brush, const Region& region) {
    cairo_t* c = impl_->cr.get();
    cairo_save(c);
    cairo_new_path(c);
    cairo_set_operator(c, impl_->compositing == CompositingMode::SourceCopy ? CAIRO_OPERATOR_SOURCE
                                                                            : CAIRO_OPERATOR_OVER);
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
    path.AppendTo(impl_->cr.get());
    impl_->Stroke(pen);
    impl_->EndShape();
}

void Graphics::DrawPolygon(const Pen& pen, std::span<const PointF> points) {
    Path path;
    path.AddPolygon(points);
    DrawPath(pen, path);
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

void Graphics::DrawEllipse(const Pen& pen, const RectF& box) {
    Path path;
    path.AddEllipse(box);
    DrawPath(pen, path);
}

void Graphics::DrawImage(const Bitmap& image, float x, float y) {
    const auto w = static_cast<float>(image.Width()), h = static_cast<float>(image.Height());
    impl_->Image(image, RectF{x, y, w, h}, RectF{0, 0, w, h}, 1);
}

void Graphics::DrawImage(const Bitmap& image, const RectF& dest) {
    impl_->Image(image, dest,
                 RectF{0, 0, static_cast<float>(image.Width()), static_cast<float>(image.Height())},
                 1);
}

void Graphics::DrawImage(const Bitmap& image, const RectF& dest, const RectF& source,
                         const std::optional<ColorMatrix>& matrix) {
    if (!matrix) {
        impl_->Image(image, dest, source, 1);
        return;
    }
    if (const auto s = matrix->AsAlphaScale()) {
        // Alpha scaling of premultiplied pixels is a constant-opacity paint.
        impl_->Image(image, dest, source, std::clamp(*s, 0.0f, 1.0f));
        return;
    }
    const RectI area =
        PixelRect(RectF{source.x + 0.5f, source.y + 0.5f, source.width, source.height});
    Bitmap adjusted =
        ApplyMatrix(image,
                    RectI{static_cast<int>(std::floor(source.x)),
                          static_cast<int>(std::floor(source.y)), area.width, area.height},
                    *matrix);
    impl_->Image(adjusted, dest, RectF{0, 0, source.width, source.height}, 1);
}

void Graphics::DrawImageAlpha(const Bitmap& image, const RectF& dest, int opacity) {
    impl_->Image(image, dest,
                 RectF{0, 0, static_cast<float>(image.Width()), static_cast<float>(image.Height())},
                 std::clamp(opacity, 0, 255) / 255.0);
}

cairo_t* Graphics::CairoContext() const { return impl_->cr.get(); }

}  // namespace gfx
