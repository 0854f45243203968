// link_recorder.exe OUTPUT ARG...: the magnet: handler the Windows tests
// register. Writes its arguments after OUTPUT to OUTPUT in UTF-8, one a line,
// through a temporary file, so that a reader never sees half of them.
#include <windows.h>

#include <shellapi.h>

#include <string>

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 2) return 2;
    std::string text;
    for (int i = 2; i < argc; ++i) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(n > 0 ? n - 1 : 0, '\0');
        WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, arg.data(), n, nullptr, nullptr);
        text += arg + "\n";
    }
    const std::wstring part = std::wstring(argv[1]) + L".part";
    HANDLE file = CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || !MoveFileExW(part.c_str(), argv[1], MOVEFILE_REPLACE_EXISTING)) return 1;
    LocalFree(argv);
    return 0;
}
