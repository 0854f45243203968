// Links handed on through the Windows shell: the program registered for the
// scheme (HKEY_CLASSES_ROOT\magnet, or the user's choice of it) gets the link
// in its "%1".
#include "app/actions/link_opener.h"

#include "runtime/codepage.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

namespace app {

namespace {

// The shell may hand the link on through COM; this thread is the caller's own
// and ends after the call.
class ComApartment {
public:
    ComApartment()
        : initialised_(SUCCEEDED(
              CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

std::wstring Wide(const std::string& text) {
    const std::u16string wide = rt::MultiByteToWide(rt::kCodePage936, text);
    return std::wstring(wide.begin(), wide.end());
}

// The link as the handler gets it: the text itself, in UTF-16. A double quote
// would end the quoted "%1" of the handler's command line and start arguments
// of the page's choosing, so it goes as %22, which is what it means in a URI.
std::wstring HandedOnLink(const rt::Text& link) {
    std::wstring wide;
    for (const wchar_t c : Wide(link)) {
        if (c == L'"') wide += L"%22";
        else wide += c;
    }
    return wide;
}

// False when the system knows no program for the scheme. A question the
// system cannot answer counts as yes: the shell then decides alone.
bool SchemeHasHandler(const std::string& scheme) {
    wchar_t command[MAX_PATH * 2];
    DWORD length = ARRAYSIZE(command);
    const HRESULT answer = AssocQueryStringW(ASSOCF_INIT_IGNOREUNKNOWN, ASSOCSTR_COMMAND,
                                             Wide(scheme).c_str(), L"open", command, &length);
    return answer != HRESULT_FROM_WIN32(ERROR_NO_ASSOCIATION);
}

}  // namespace

const char* const kLinkOpenerName = "ShellExecuteW";
const char* const kLinkOpenerCodeName = "错误码";

OpenLinkOutcome HandLinkToDesktop(const rt::Text& link, const std::string& scheme, int) {
    OpenLinkOutcome outcome;
    const ComApartment com;
    if (!SchemeHasHandler(scheme)) {
        outcome.result = OpenLinkResult::NoHandler;
        return outcome;
    }
    const std::wstring target = HandedOnLink(link);
    // ShellExecuteW with two flags: no error dialog of the system's (the
    // status box says what went wrong), and the hand-over complete before
    // this thread ends. It returns once the handler has started.
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = target.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info)) {
        outcome.result = OpenLinkResult::Opened;
        return outcome;
    }
    const DWORD error = GetLastError();
    const auto code = static_cast<int>(reinterpret_cast<INT_PTR>(info.hInstApp));
    if (error == ERROR_NO_ASSOCIATION || code == SE_ERR_NOASSOC) {
        outcome.result = OpenLinkResult::NoHandler;
        return outcome;
    }
    outcome.exitCode = error != 0 ? static_cast<int>(error) : code;
    return outcome;
}

}  // namespace app
