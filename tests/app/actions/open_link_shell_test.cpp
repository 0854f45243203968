// Opening a link through the Windows shell: link_recorder.exe, registered for
// magnet: in the test's wine prefix, records what it receives. It goes into
// HKEY_CLASSES_ROOT itself: wine 8 does not merge a user's own classes
// (HKEY_CURRENT_USER\Software\Classes) into it as Windows does. ctest runs
// the tests that register it one at a time (LOCK wine_magnet_handler).
#include <gtest/gtest.h>

#include "app/actions/open_link.h"
#include "runtime/codepage.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using app::OpenLinkResult;

constexpr wchar_t kMagnetKey[] = L"magnet";

fs::path HereDir() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

class OpenLinkShell : public ::testing::Test {
protected:
    void SetUp() override {
        // A folder of each test's own: a handler that wine starts late must
        // not write into the next test's.
        dir_ = fs::temp_directory_path() /
               ("open_link_shell_test." + std::to_string(GetCurrentProcessId()) + "." +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        const std::wstring command = L"\"" + (HereDir() / "link_recorder.exe").wstring() +
                                     L"\" \"" + Received().wstring() + L"\" \"%1\"";
        ASSERT_TRUE(
            SetValue(kMagnetKey, nullptr, L"URL:magnet") &&
            SetValue(kMagnetKey, L"URL Protocol", L"") &&
            SetValue(std::wstring(kMagnetKey) + L"\\shell\\open\\command", nullptr, command));
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kMagnetKey);
        fs::remove_all(dir_);
    }

    fs::path Received() const { return dir_ / "received"; }
    // The recorder's arguments, one a line, once it has written them (a
    // wine process may take seconds to start on a busy machine).
    std::string WaitForReceived() const {
        for (int i = 0; i < 3000 && !fs::exists(Received()); ++i) Sleep(10);
        std::ifstream in(Received(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path dir_;
};

TEST_F(OpenLinkShell, RegisteredHandlerReceivesTheLinkUnchanged) {
    const rt::Text link =
        "magnet:?xt=urn:btih:0123456789abcdef0123456789abcdef01234567&dn=我的 "
        "file&tr=udp%3A%2F%2Fx";
    const auto outcome = app::OpenLinkInDesktop(link);
    EXPECT_EQ(outcome.result, OpenLinkResult::Opened) << outcome.exitCode;
    EXPECT_EQ(WaitForReceived(), rt::Cp936ToUtf8(link) + "\n");
    EXPECT_EQ(app::OpenLinkStatusText(outcome, "标题"),
              "【标题】的下载地址已交给 magnet 链接的默认程序......");
}

// The handler's command line quotes "%1": a quote inside the link must not
// end that argument and add options of the page's choosing.
TEST_F(OpenLinkShell, QuoteInTheLinkStaysInsideOneArgument) {
    const auto outcome = app::OpenLinkInDesktop("magnet:?xt=urn:btih:00&dn=a\" --evil \"b");
    EXPECT_EQ(outcome.result, OpenLinkResult::Opened) << outcome.exitCode;
    EXPECT_EQ(WaitForReceived(), "magnet:?xt=urn:btih:00&dn=a%22 --evil %22b\n");
}

TEST_F(OpenLinkShell, OnlyMagnetAndEd2kLinksReachTheShell) {
    for (const rt::Text link : {"javascript:alert(1)", "-magnet:?xt=urn:btih:00",
                                "--magnet:?xt=urn:btih:00", "file:///C:/Windows/notepad.exe",
                                "http://example.invalid/x", "magnet:?xt=1\r\n--help", "magnet:?"}) {
        const auto outcome = app::OpenLinkInDesktop(link);
        EXPECT_EQ(outcome.result, OpenLinkResult::NotALink) << link;
    }
    Sleep(200);
    EXPECT_FALSE(fs::exists(Received()));
}

TEST_F(OpenLinkShell, SchemeWithoutAHandlerIsSaidPlainly) {
    const auto outcome =
        app::OpenLinkInDesktop("ed2k://|file|a.avi|1024|0123456789ABCDEF0123456789ABCDEF|/");
    EXPECT_EQ(outcome.result, OpenLinkResult::NoHandler) << outcome.exitCode;
    EXPECT_EQ(app::OpenLinkStatusText(outcome, "t"),
              "没有为 ed2k 链接登记的程序，【t】的下载地址没有打开，可复制下载地址......");
}

}  // namespace
