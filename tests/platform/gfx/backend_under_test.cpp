#include "backend_under_test.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace gfx_test {

Backend BackendUnderTest() {
#if defined(_WIN32)
    // wine's ntdll exports its version; Windows' does not.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") ? Backend::WineGdiplus
                                                              : Backend::Gdiplus;
#else
    return Backend::Cairo;
#endif
}

}  // namespace gfx_test
