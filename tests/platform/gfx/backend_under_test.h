// Which drawing backend the tests run against, for the few expectations
// that differ between them; each use says why.
#pragma once

namespace gfx_test {

enum class Backend { Cairo, Gdiplus, WineGdiplus };

Backend BackendUnderTest();

inline bool UnderWine() { return BackendUnderTest() == Backend::WineGdiplus; }

// GDI+ lays text out with a padding of a sixth of the em size before and
// after each line (its default string format); Pango does not.
inline float LinePadding(float emSize) {
    return BackendUnderTest() == Backend::Cairo ? 0 : emSize / 6;
}

}  // namespace gfx_test
