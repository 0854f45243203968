// Where the sites file lives on Windows: the user's roaming application
// data, %APPDATA%\seeker\sites.conf. Paths are held in UTF-8 and reach the
// system through its wide functions, so a folder name outside the system's
// code page (a Chinese name on an English system) still opens.
#include <cstdlib>
#include <string>

#include "app/config/sites_config.h"
#include "runtime/codepage.h"

namespace app {
namespace {

std::wstring Wide(std::string_view utf8) {
    const std::u16string wide = rt::MultiByteToWide(rt::kCodePageUtf8, utf8);
    return std::wstring(wide.begin(), wide.end());
}

}  // namespace

const char* const kDefaultSitesConfigPlace = "%APPDATA%\\seeker\\sites.conf";

std::string DefaultSitesConfigPath() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData == nullptr || appData[0] == L'\0') return {};
    const std::wstring_view wide(appData);
    return rt::WideToMultiByte(rt::kCodePageUtf8, std::u16string(wide.begin(), wide.end())) +
           "\\seeker\\sites.conf";
}

std::filesystem::path SystemPath(const std::string& path) { return Wide(path); }

std::FILE* OpenForReading(const std::filesystem::path& path) {
    return _wfopen(path.c_str(), L"rb");
}

}  // namespace app
