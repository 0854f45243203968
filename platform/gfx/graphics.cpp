// The parts of Graphics that every backend shares: clips as pixel sets,
// colour matrices, and the operations made of other operations.
#include "platform/gfx/graphics.h"

#include <algorithm>
#include <cmath>

#include "platform/gfx/backend.h"
#include "platform/gfx/pixel.h"

namespace gfx {

RectI PixelRect(const RectF& r) {
    const int x0 = static_cast<int>(std::ceil(r.x - 0.5f)),
              y0 = static_cast<int>(std::ceil(r.y - 0.5f));
    const int x1 = static_cast<int>(std::ceil(r.Right() - 0.5f)),
              y1 = static_cast<int>(std::ceil(r.Bottom() - 0.5f));
    return RectI{x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

void PixelClip::Combine(const Region& r, CombineMode mode) {
    Region current = region ? *region : Region(RectI{0, 0, width, height});
    Region next;
    switch (mode) {
    case CombineMode::Replace: next = r; break;
    case CombineMode::Intersect: next.Combine(current, r, RegionOp::And); break;
    case CombineMode::Union: next.Combine(current, r, RegionOp::Or); break;
    case CombineMode::Xor: next.Combine(current, r, RegionOp::Xor); break;
    case CombineMode::Exclude: next.Combine(current, r, RegionOp::Diff); break;
    case CombineMode::Complement: next.Combine(r, current, RegionOp::Diff); break;
    }
    region = std::move(next);
}

RectF PixelClip::VisibleBounds() const {
    RectI b = region ? region->Bounds() : RectI{0, 0, width, height};
    Region r(b);
    r.Combine(Region(RectI{0, 0, width, height}), RegionOp::And);
    b = r.Bounds();
    return RectF{static_cast<float>(b.x), static_cast<float>(b.y), static_cast<float>(b.width),
                 static_cast<float>(b.height)};
}

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

SmoothingMode Graphics::GetSmoothingMode() const { return State().smoothing; }
TextRenderingHint Graphics::GetTextRenderingHint() const { return State().textHint; }
InterpolationMode Graphics::GetInterpolationMode() const { return State().interpolation; }
CompositingQuality Graphics::GetCompositingQuality() const { return State().quality; }
CompositingMode Graphics::GetCompositingMode() const { return State().compositing; }
PixelOffsetMode Graphics::GetPixelOffsetMode() const { return State().pixelOffset; }

void Graphics::SetClip(const Region& region, CombineMode mode) {
    State().clip.Combine(region, mode);
    ClipChanged();
}

void Graphics::ResetClip() {
    PixelClip& clip = State().clip;
    if (clip.width == 0) return;  // the empty target stays clipped away
    clip.region.reset();
    ClipChanged();
}

RectF Graphics::VisibleClipBounds() const { return State().clip.VisibleBounds(); }

void Graphics::SetClip(const RectF& rect, CombineMode mode) {
    SetClip(Region(PixelRect(rect)), mode);
}

void Graphics::SetClip(const Path& path, CombineMode mode) {
    const float offset = GetPixelOffsetMode() == PixelOffsetMode::None ? 0.5f : 0.0f;
    SetClip(Region::FromPath(path, offset), mode);
}

bool Graphics::IsClipEmpty() const { return VisibleClipBounds().IsEmpty(); }

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

void Graphics::DrawPolygon(const Pen& pen, std::span<const PointF> points) {
    Path path;
    path.AddPolygon(points);
    DrawPath(pen, path);
}

void Graphics::DrawEllipse(const Pen& pen, const RectF& box) {
    Path path;
    path.AddEllipse(box);
    DrawPath(pen, path);
}

void Graphics::DrawImage(const Bitmap& image, float x, float y) {
    const auto w = static_cast<float>(image.Width()), h = static_cast<float>(image.Height());
    DrawImageScaled(image, RectF{x, y, w, h}, RectF{0, 0, w, h}, 1);
}

void Graphics::DrawImage(const Bitmap& image, const RectF& dest) {
    DrawImageScaled(
        image, dest,
        RectF{0, 0, static_cast<float>(image.Width()), static_cast<float>(image.Height())}, 1);
}

void Graphics::DrawImage(const Bitmap& image, const RectF& dest, const RectF& source,
                         const std::optional<ColorMatrix>& matrix) {
    if (!matrix) {
        DrawImageScaled(image, dest, source, 1);
        return;
    }
    if (const auto s = matrix->AsAlphaScale()) {
        // Alpha scaling of premultiplied pixels is a constant-opacity paint.
        DrawImageScaled(image, dest, source, std::clamp(*s, 0.0f, 1.0f));
        return;
    }
    const RectI area =
        PixelRect(RectF{source.x + 0.5f, source.y + 0.5f, source.width, source.height});
    Bitmap adjusted =
        ApplyMatrix(image,
                    RectI{static_cast<int>(std::floor(source.x)),
                          static_cast<int>(std::floor(source.y)), area.width, area.height},
                    *matrix);
    DrawImageScaled(adjusted, dest, RectF{0, 0, source.width, source.height}, 1);
}

void Graphics::DrawImageAlpha(const Bitmap& image, const RectF& dest, int opacity) {
    DrawImageScaled(
        image, dest,
        RectF{0, 0, static_cast<float>(image.Width()), static_cast<float>(image.Height())},
        std::clamp(opacity, 0, 255) / 255.0);
}

PointF MeasureTextExtent(const rt::Text& text, const Font& font) {
    Bitmap scratch(1, 1);
    Graphics g(scratch);
    g.SetTextRenderingHint(TextRenderingHint::AntiAliasGridFit);
    StringFormat format(StringFormatFlags::kNoWrap | StringFormatFlags::kMeasureTrailingSpaces);
    const TextMeasure m = g.MeasureString(text, font, RectF{}, format);
    return PointF{m.bounds.width, m.bounds.height};
}

}  // namespace gfx
