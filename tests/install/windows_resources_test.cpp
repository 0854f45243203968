// seeker.exe's resources as Windows reads them: the version Explorer shows,
// the application icon at every size it is drawn in (transparent around the
// drawing, as the system's own loader decodes it), and one manifest.
#include <gtest/gtest.h>

// The resource types (RT_ICON ...) as wide names.
#define UNICODE
#include <windows.h>

#include <string>
#include <vector>

namespace {

const wchar_t* const kExe = L"" SEEKER_EXE;

class ExeResources : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryExW(kExe, nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << GetLastError();
    }
    void TearDown() override { FreeLibrary(module_); }

    std::string Resource(const wchar_t* type) const {
        HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(1), type);
        if (found == nullptr) return {};
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(bytes, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;
};

std::wstring VersionString(const std::vector<char>& info, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), name, &value, &length) || length == 0) return {};
    return static_cast<const wchar_t*>(value);
}

TEST_F(ExeResources, VersionIsTheProjectVersion) {
    DWORD ignored = 0;
    std::vector<char> info(GetFileVersionInfoSizeW(kExe, &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoW(kExe, 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(SEEKER_VERSION_MINOR, SEEKER_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, SEEKER_VERSION_PATCH));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(VersionString(info, L"\\StringFileInfo\\040904B0\\ProductVersion"),
              L"" SEEKER_VERSION);
    EXPECT_EQ(VersionString(info, L"\\StringFileInfo\\080404B0\\FileDescription"), L"青柠搜索器");
}

// Alpha of the icon's pixel at (x, y) after the system loaded it at `size`.
int IconAlpha(HICON icon, int size, int x, int y) {
    ICONINFO parts{};
    if (!GetIconInfo(icon, &parts)) return -1;
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<std::size_t>(size) * size);
    HDC screen = GetDC(nullptr);
    const int rows =
        GetDIBits(screen, parts.hbmColor, 0, size, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    return rows == size ? static_cast<int>(pixels[y * size + x] >> 24) : -1;
}

TEST_F(ExeResources, IconHoldsEverySizeWithTransparency) {
    const std::string group = Resource(RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u);
    const auto count = static_cast<unsigned char>(group[4]);
    ASSERT_EQ(group.size(), 6u + 14u * count);  // GRPICONDIR and its entries
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i) {
        const char* entry = group.data() + 6 + 14 * i;
        const int width = static_cast<unsigned char>(entry[0]);
        sizes.push_back(width == 0 ? 256 : width);
        EXPECT_EQ(entry[6], 32) << "bits per pixel of the " << sizes.back() << " px icon";
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 128, 256}));

    for (const int size : {16, 32, 256}) {
        HICON icon = static_cast<HICON>(
            LoadImageW(module_, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr) << size;
        EXPECT_EQ(IconAlpha(icon, size, 0, 0), 0) << "corner of the " << size << " px icon";
        EXPECT_EQ(IconAlpha(icon, size, size * 42 / 100, size * 42 / 100), 255)
            << "lens of the " << size << " px icon";
        DestroyIcon(icon);
    }
}

TEST_F(ExeResources, ManifestLeavesScalingToWindows) {
    const std::string manifest = Resource(RT_MANIFEST);
    EXPECT_NE(manifest.find(">false</dpiAware>"), std::string::npos) << manifest;
    EXPECT_NE(manifest.find(">unaware</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_EQ(FindResourceW(module_, MAKEINTRESOURCEW(2), RT_MANIFEST), nullptr)
        << "a second manifest";
}

}  // namespace
