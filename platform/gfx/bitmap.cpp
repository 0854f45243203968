#include "platform/gfx/bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/gfx/backend.h"
#include "platform/gfx/pixel.h"

namespace gfx {

namespace {
constexpr int kMaxSide = 32767;
}

Bitmap::Bitmap() = default;

Bitmap::Bitmap(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return;
    auto s = std::make_shared<Surface>();
    s->width = width;
    s->height = height;
    s->stride = width * 4;
    // Zeroed: a new bitmap is transparent.
    s->pixels.reset(
        static_cast<std::uint8_t*>(std::calloc(static_cast<std::size_t>(s->stride) * height, 1)));
    if (!s->pixels) return;
    s->native.reset(CreateNativeSurface(*s));
    if (!s->native) return;
    surface_ = std::move(s);
}

Bitmap::~Bitmap() = default;
Bitmap::Bitmap(Bitmap&&) noexcept = default;
Bitmap& Bitmap::operator=(Bitmap&&) noexcept = default;

bool Bitmap::IsValid() const { return surface_ != nullptr; }
int Bitmap::Width() const { return surface_ ? surface_->width : 0; }
int Bitmap::Height() const { return surface_ ? surface_->height : 0; }
int Bitmap::Stride() const { return surface_ ? surface_->stride : 0; }

std::uint8_t* Bitmap::Data() {
    if (!surface_) return nullptr;
    FinishDrawing(*surface_);
    return surface_->pixels.get();
}

const std::uint8_t* Bitmap::Data() const {
    if (!surface_) return nullptr;
    FinishDrawing(*surface_);
    return surface_->pixels.get();
}

void Bitmap::MarkDirty() {
    if (surface_) PixelsWritten(*surface_);
}

Bitmap Bitmap::Clone() const { return CloneArea(RectI{0, 0, Width(), Height()}); }

Bitmap Bitmap::CloneArea(const RectI& area) const {
    Bitmap copy(area.width, area.height);
    if (copy.IsValid() && IsValid()) copy.CopyFrom(*this, area, 0, 0);
    return copy;
}

std::uint32_t Bitmap::GetRawPixel(int x, int y) const {
    if (!surface_ || x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    const std::uint8_t* row = Data() + static_cast<std::size_t>(y) * Stride();
    std::uint32_t v;
    std::memcpy(&v, row + static_cast<std::size_t>(x) * 4, 4);
    return v;
}

Argb Bitmap::GetPixel(int x, int y) const { return Unpremultiply(GetRawPixel(x, y)); }

void Bitmap::SetPixel(int x, int y, Argb color) {
    if (!surface_ || x < 0 || y < 0 || x >= Width() || y >= Height()) return;
    std::uint8_t* row = Data() + static_cast<std::size_t>(y) * Stride();
    const std::uint32_t v = Premultiply(color);
    std::memcpy(row + static_cast<std::size_t>(x) * 4, &v, 4);
    MarkDirty();
}

void Bitmap::Fill(Argb color) {
    if (!surface_) return;
    const std::uint32_t v = Premultiply(color);
    std::uint8_t* data = Data();
    const int w = Width();
    for (int y = 0; y < Height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * Stride());
        std::fill(row, row + w, v);
    }
    MarkDirty();
}

namespace {

// One axis of a copy: `length` pixels from `from` in the source go to `to` in
// the destination; what lies outside either is dropped from both ends.
void ClipSpan(int& from, int& to, int& length, int sourceSize, int destSize) {
    const int skip = std::max({0, -from, -to});
    from += skip;
    to += skip;
    length = std::min({length - skip, sourceSize - from, destSize - to});
}

}  // namespace

void Bitmap::CopyFrom(const Bitmap& source, const RectI& from, int x, int y) {
    if (!surface_ || !source.surface_) return;
    int sx = from.x, sy = from.y, w = from.width, h = from.height;
    ClipSpan(sx, x, w, source.Width(), Width());
    ClipSpan(sy, y, h, source.Height(), Height());
    if (w <= 0 || h <= 0) return;
    const std::uint8_t* src = source.Data();
    std::uint8_t* dst = Data();
    const int ss = source.Stride(), ds = Stride();
    for (int row = 0; row < h; ++row) {
        // memmove: source and destination may be the same bitmap.
        std::memmove(
            dst + static_cast<std::size_t>(y + row) * ds + static_cast<std::size_t>(x) * 4,
            src + static_cast<std::size_t>(sy + row) * ss + static_cast<std::size_t>(sx) * 4,
            static_cast<std::size_t>(w) * 4);
    }
    MarkDirty();
}

}  // namespace gfx
