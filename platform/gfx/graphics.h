// Drawing on a Bitmap: the graphics-object role.
//
// Coordinates are pixels of the bitmap, floats as the library uses them. With
// the default PixelOffsetMode::None an integer coordinate is a pixel centre,
// so vector shapes land where the library's drawing code expects them; clip
// rectangles and images use pixel corners (a clip (0, 0, 10, 10) keeps pixels
// 0..9, an image drawn at (0, 0) unscaled lands on whole pixels).
//
// A Graphics keeps its own reference to the bitmap's pixels, so it stays safe
// after the Bitmap object is moved; it must not be used from two threads.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/brush.h"
#include "platform/gfx/font.h"
#include "platform/gfx/path.h"
#include "platform/gfx/pen.h"
#include "platform/gfx/region.h"
#include "platform/gfx/string_format.h"
#include "platform/gfx/types.h"
#include "runtime/text.h"

namespace gfx {

struct GraphicsState;

// A 5 x 5 colour matrix applied to straight (not premultiplied) colours as a
// row vector (r, g, b, a, 1) x m, values 0..1. The identity changes nothing;
// the identity with m[3][3] = s multiplies alpha by s and leaves colour alone.
struct ColorMatrix {
    std::array<std::array<float, 5>, 5> m{};

    static ColorMatrix Identity();
    static ColorMatrix AlphaScale(float s);
    // True when the matrix only scales alpha (and by how much).
    std::optional<float> AsAlphaScale() const;
};

// Result of measuring a string.
struct TextMeasure {
    RectF bounds;  // the text's box at its position in the layout rectangle
    int codepointsFitted = 0;
    int linesFilled = 0;
};

// A range of a code-page-936 text in bytes (first byte 0-based, length in bytes).
struct CharacterRange {
    int first = 0;
    int length = 0;
};

class Graphics {
public:
    // Draws on `target`; an empty bitmap gives a Graphics on which every
    // operation does nothing.
    explicit Graphics(Bitmap& target);
    ~Graphics();
    Graphics(Graphics&&) noexcept;
    Graphics& operator=(Graphics&&) noexcept;
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    // Quality settings.
    void SetSmoothingMode(SmoothingMode mode);
    SmoothingMode GetSmoothingMode() const;
    void SetTextRenderingHint(TextRenderingHint hint);
    TextRenderingHint GetTextRenderingHint() const;
    void SetInterpolationMode(InterpolationMode mode);
    InterpolationMode GetInterpolationMode() const;
    void SetCompositingQuality(CompositingQuality quality);
    CompositingQuality GetCompositingQuality() const;
    void SetCompositingMode(CompositingMode mode);
    CompositingMode GetCompositingMode() const;
    void SetPixelOffsetMode(PixelOffsetMode mode);
    PixelOffsetMode GetPixelOffsetMode() const;

    // Clip. Replace sets, Intersect narrows, Exclude removes, Union widens,
    // Xor and Complement combine as their names say. The clip is always a set
    // of whole pixels, not anti-aliased: a rectangle keeps the pixels whose
    // centres it covers, a path likewise under the pixel offset mode.
    void SetClip(const RectF& rect, CombineMode mode = CombineMode::Replace);
    void SetClip(const Path& path, CombineMode mode = CombineMode::Replace);
    void SetClip(const Region& region, CombineMode mode = CombineMode::Replace);
    void ResetClip();
    // The part of the bitmap that drawing can still reach.
    RectF VisibleClipBounds() const;
    bool IsClipEmpty() const;

    // Fills the clipped area with one colour, replacing what was there.
    void Clear(Argb color);

    void FillRectangle(const Brush& brush, const RectF& rect);
    void FillPath(const Brush& brush, const Path& path);
    void FillPolygon(const Brush& brush, std::span<const PointF> points,
                     FillMode mode = FillMode::Alternate);
    void FillEllipse(const Brush& brush, const RectF& box);
    void FillRegion(const Brush& brush, const Region& region);
    void DrawRectangle(const Pen& pen, const RectF& rect);
    void DrawPath(const Pen& pen, const Path& path);
    void DrawPolygon(const Pen& pen, std::span<const PointF> points);
    void DrawLine(const Pen& pen, PointF from, PointF to);
    void DrawLines(const Pen& pen, std::span<const PointF> points);
    void DrawEllipse(const Pen& pen, const RectF& box);

    // The whole image at (x, y), unscaled.
    void DrawImage(const Bitmap& image, float x, float y);
    // The whole image scaled into `dest`.
    void DrawImage(const Bitmap& image, const RectF& dest);
    // The source rectangle (pixels of the image) scaled into `dest`, its
    // colours passed through `matrix` when one is given.
    void DrawImage(const Bitmap& image, const RectF& dest, const RectF& source,
                   const std::optional<ColorMatrix>& matrix = std::nullopt);
    // The whole image into `dest` at a constant opacity 0..255 (the alpha
    // blend role; 255 draws it plainly).
    void DrawImageAlpha(const Bitmap& image, const RectF& dest, int opacity);

    // Text, in code page 936. The layout rectangle's width or height of 0
    // means "unbounded" in that direction (no wrapping, no clip; alignment is
    // then relative to the rectangle's edge as a point).
    void DrawString(const rt::Text& text, const Font& font, const Brush& brush, const RectF& layout,
                    const StringFormat& format = StringFormat());
    TextMeasure MeasureString(const rt::Text& text, const Font& font, const RectF& layout,
                              const StringFormat& format = StringFormat()) const;
    // For each range, the boxes (one per line it spans) its characters occupy
    // when drawn with these arguments; empty for an empty or outside range.
    std::vector<std::vector<RectF>> MeasureCharacterRanges(
        const rt::Text& text, const Font& font, const RectF& layout, const StringFormat& format,
        std::span<const CharacterRange> ranges) const;

    // The caret position nearest to `point` when the text is drawn with these
    // arguments: a byte offset into `text` (0 .. size) on a character boundary.
    int CaretPositionAt(const rt::Text& text, const Font& font, const RectF& layout,
                        const StringFormat& format, PointF point) const;

private:
    // The state every backend keeps (Impl is one), for the shared code.
    GraphicsState& State() const;
    // Hands the clip in State() to the backend's library.
    void ClipChanged();
    // The area `source` of `image` scaled into `dest` at `opacity` 0..1.
    void DrawImageScaled(const Bitmap& image, const RectF& dest, const RectF& source,
                         double opacity);

    struct Impl;  // the drawing backend's state
    std::unique_ptr<Impl> impl_;
};

// The width and height of a single line of text, without a Graphics (the
// text-extent role); uses the same layout rules as Graphics::MeasureString
// with an unbounded rectangle and a default format.
PointF MeasureTextExtent(const rt::Text& text, const Font& font);

}  // namespace gfx
