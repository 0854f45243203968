// Opening a link in the desktop's handler: a handler registered in a
// test-local XDG data folder records what it receives.
#include <gtest/gtest.h>

#include "app/actions/open_link.h"
#include "runtime/codepage.h"

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using app::OpenLinkResult;

std::string Read(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class OpenLink : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("open_link_test." + std::to_string(::getpid()));
        fs::create_directories(dir_ / "data/applications");
        fs::create_directories(dir_ / "config");
        fs::create_directories(dir_ / "none");
        const fs::path script = dir_ / "record.sh";
        std::ofstream(script) << "#!/bin/sh\nprintf '%s' \"$1\" > '"
                              << (dir_ / "received.part").string() << "' && mv '"
                              << (dir_ / "received.part").string() << "' '" << Received().string()
                              << "'\n";
        fs::permissions(script, fs::perms::owner_all);
        std::ofstream(dir_ / "data/applications/seeker-test-recorder.desktop")
            << "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" << script.string()
            << " %u\nMimeType=x-scheme-handler/magnet;\nNoDisplay=true\n";
        std::ofstream(dir_ / "config/mimeapps.list")
            << "[Default Applications]\nx-scheme-handler/magnet=seeker-test-recorder.desktop\n";

        Set("XDG_DATA_HOME", (dir_ / "data").string());
        Set("XDG_CONFIG_HOME", (dir_ / "config").string());
        Set("XDG_DATA_DIRS", (dir_ / "none").string());
        Set("XDG_CONFIG_DIRS", (dir_ / "none").string());
        // xdg-open outside a desktop session tries scheme handlers only when
        // it believes a display exists; nothing here talks to it.
        if (!std::getenv("DISPLAY")) Set("DISPLAY", ":0");
        for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID", "BROWSER"})
            Set(name, std::nullopt);
    }
    void TearDown() override {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) ::setenv(it->first.c_str(), it->second->c_str(), 1);
            else ::unsetenv(it->first.c_str());
        }
        fs::remove_all(dir_);
    }

    void Set(const std::string& name, std::optional<std::string> value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) ::setenv(name.c_str(), value->c_str(), 1);
        else ::unsetenv(name.c_str());
    }
    fs::path Received() const { return dir_ / "received"; }
    // What the handler got, once it has written it (the handler may outlive the call).
    std::string WaitForReceived() const {
        for (int i = 0; i < 500 && !fs::exists(Received()); ++i) ::usleep(10000);
        return Read(Received());
    }

    fs::path dir_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(OpenLink, RegisteredHandlerReceivesTheLinkAsAUtf8Uri) {
    const rt::Text link =
        "magnet:?xt=urn:btih:0123456789abcdef0123456789abcdef01234567&dn=我的 file";
    const auto outcome = app::OpenLinkInDesktop(link);
    EXPECT_EQ(outcome.result, OpenLinkResult::Opened) << outcome.exitCode;
    EXPECT_EQ(outcome.scheme, "magnet");
    EXPECT_EQ(WaitForReceived(),
              "magnet:?xt=urn:btih:0123456789abcdef0123456789abcdef01234567&dn=%E6%88%91%E7%9A%84%"
              "20file");
    EXPECT_EQ(app::OpenLinkStatusText(outcome, "标题"),
              "【标题】的下载地址已交给 magnet 链接的默认程序......");
}

TEST_F(OpenLink, SchemeWithoutAHandlerIsSaidPlainly) {
    const auto outcome =
        app::OpenLinkInDesktop("ed2k://|file|a.avi|1024|0123456789ABCDEF0123456789ABCDEF|/");
    EXPECT_EQ(outcome.result, OpenLinkResult::NoHandler);
    EXPECT_EQ(outcome.scheme, "ed2k");
    EXPECT_EQ(app::OpenLinkStatusText(outcome, "t"),
              "没有为 ed2k 链接登记的程序，【t】的下载地址没有打开，可复制下载地址......");
    EXPECT_FALSE(fs::exists(Received()));
}

TEST_F(OpenLink, OnlyMagnetAndEd2kLinksAreHandedOn) {
    for (const rt::Text link : {"http://example.invalid/x", "file:///etc/passwd", "-magnet:?xt=1",
                                "magnet:?xt=1\n--help", "magnet:?", "", "javascript:alert(1)"}) {
        const auto outcome = app::OpenLinkInDesktop(link);
        EXPECT_EQ(outcome.result, OpenLinkResult::NotALink) << link;
        EXPECT_TRUE(outcome.scheme.empty());
    }
    EXPECT_FALSE(fs::exists(Received()));
}

TEST_F(OpenLink, MissingXdgOpenIsReported) {
    Set("PATH", (dir_ / "none").string());
    const auto outcome = app::OpenLinkInDesktop("magnet:?xt=urn:btih:00");
    EXPECT_EQ(outcome.result, OpenLinkResult::NoOpener);
    EXPECT_EQ(app::OpenLinkStatusText(outcome, "t"),
              "找不到 xdg-open，【t】的下载地址没有打开，可复制下载地址......");
}

}  // namespace
