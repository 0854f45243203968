// The sites configuration file: what it overrides, what it refuses and how it
// says so, and where it is looked for.
#include <gtest/gtest.h>

#include "app/config/sites_config.h"
#include "runtime/codepage.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

using app::SiteTable;

// Collects what a call writes to a FILE*.
class Captured {
public:
    Captured() : file_(open_memstream(&data_, &size_)) {}
    ~Captured() {
        if (file_) std::fclose(file_);
        std::free(data_);
    }
    std::FILE* file() { return file_; }
    std::string text() {
        std::fflush(file_);
        return std::string(data_, size_);
    }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_;
};

TEST(SitesConfig, OverridesOnlyTheNamedValues) {
    const SiteTable defaults = app::DemoSiteTable(20000);
    const std::string text =
        "\xEF\xBB\xBF# moved sites\r\n"
        "\r\n"
        "  site3 =  https://Mirror.example.org:8443   # the new mirror\r\n"
        "site3 = http://later.example\n"
        "portal=http://portal.example/?a20150120\n"
        "site1_hash = http://[::1]:9000\n"
        "site7_tag = " +
        rt::Cp936ToUtf8("磁力#7") +
        "\n"
        "site8 = http://10.0.0.8";
    const auto config = app::ParseSitesConfig(text, "sites.conf");
    EXPECT_TRUE(config.problems.empty()) << config.problems.front();
    const SiteTable table = app::ApplySitesConfig(defaults, config);
    EXPECT_EQ(table.BaseUrl(3), "http://later.example");
    EXPECT_EQ(table.BaseUrl(8), "http://10.0.0.8");
    EXPECT_EQ(table.portalUrl, "http://portal.example/?a20150120");
    EXPECT_EQ(table.site1HashUrl, "http://[::1]:9000");
    EXPECT_EQ(table.site7Tag, "磁力#7");
    for (app::SiteId site : {1, 2, 4, 5, 6, 7})
        EXPECT_EQ(table.BaseUrl(site), defaults.BaseUrl(site));
}

TEST(SitesConfig, BadLinesAreNamedAndIgnored) {
    const SiteTable defaults = app::DemoSiteTable(20000);
    const std::string text =
        "site9 = http://a.example\n"            // 1 unknown key
        "site1 = http://a.example/search\n"     // 2 path
        "site2 = http://a.example/\n"           // 3 a lone slash is a path too
        "site3 = ftp://a.example\n"             // 4 scheme
        "site4 = http://a.example:0\n"          // 5 port
        "site5 = http://a.example:99999\n"      // 6 port
        "site6 http://a.example\n"              // 7 no "="
        "site7 =\n"                             // 8 no value
        "site1_hash = http://user@a.example\n"  // 9 user name
        "site7_tag = \xE6\x88\n"                // 10 cut UTF-8
        "portal = http:///?a1\n"                // 11 no host
        "site8 = http://ok.example\n";
    const auto config = app::ParseSitesConfig(text, "/etc/x/sites.conf");
    ASSERT_EQ(config.problems.size(), 11u);
    for (std::size_t i = 0; i < config.problems.size(); ++i) {
        EXPECT_EQ(config.problems[i].rfind(
                      "seeker: /etc/x/sites.conf:" + std::to_string(i + 1) + ": ", 0),
                  0u)
            << config.problems[i];
        EXPECT_NE(config.problems[i].find("; line ignored"), std::string::npos);
        EXPECT_EQ(config.problems[i].find('\n'), std::string::npos);
    }
    EXPECT_NE(config.problems[0].find("unknown key \"site9\""), std::string::npos);
    EXPECT_NE(config.problems[1].find("is not http(s)://host[:port] without a path: it has a path"),
              std::string::npos);
    EXPECT_NE(config.problems[3].find("scheme"), std::string::npos);
    EXPECT_NE(config.problems[4].find("port"), std::string::npos);
    EXPECT_NE(config.problems[9].find("UTF-8"), std::string::npos);

    const SiteTable table = app::ApplySitesConfig(defaults, config);
    EXPECT_EQ(table.BaseUrl(8), "http://ok.example");
    for (app::SiteId site = 1; site <= 7; ++site)
        EXPECT_EQ(table.BaseUrl(site), defaults.BaseUrl(site));
    EXPECT_EQ(table.site1HashUrl, defaults.site1HashUrl);
    EXPECT_EQ(table.site7Tag, defaults.site7Tag);
    EXPECT_EQ(table.portalUrl, defaults.portalUrl);
}

TEST(SitesConfig, WrittenFileReadsBackAsTheSameTable) {
    SiteTable table = app::DemoSiteTable(31000);
    table.site7Tag = "标签";
    const auto config = app::ParseSitesConfig(app::FormatSitesConfig(table), "f");
    EXPECT_TRUE(config.problems.empty());
    const SiteTable back = app::ApplySitesConfig(app::DemoSiteTable(20000), config);
    EXPECT_EQ(back.baseUrls, table.baseUrls);
    EXPECT_EQ(back.site1HashUrl, table.site1HashUrl);
    EXPECT_EQ(back.site7Tag, table.site7Tag);
    EXPECT_EQ(back.portalUrl, table.portalUrl);
}

class SitesConfigFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("sites_config_test." + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_ / "seeker");
        saved_ = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
        ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    }
    void TearDown() override {
        if (saved_.empty()) ::unsetenv("XDG_CONFIG_HOME");
        else ::setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path dir_;
    std::string saved_;
};

TEST_F(SitesConfigFile, DefaultPathFollowsXdgConfigHomeAndHome) {
    EXPECT_EQ(app::DefaultSitesConfigPath(), dir_.string() + "/seeker/sites.conf");
    ::setenv("XDG_CONFIG_HOME", "relative/dir", 1);
    const char* home = std::getenv("HOME");
    if (home && *home) {
        EXPECT_EQ(app::DefaultSitesConfigPath(), std::string(home) + "/.config/seeker/sites.conf");
    }
}

TEST_F(SitesConfigFile, LoadingReportsOnStandardErrorAndStillGivesATable) {
    const SiteTable defaults = app::DemoSiteTable(20000);
    const std::string path = app::DefaultSitesConfigPath();
    {
        Captured errors;
        const SiteTable table = app::LoadSiteTable(defaults, path, false, errors.file());
        EXPECT_EQ(errors.text(), "");  // no file is the usual case
        EXPECT_EQ(table.baseUrls, defaults.baseUrls);
    }
    {
        Captured errors;
        app::LoadSiteTable(defaults, path, true, errors.file());
        EXPECT_EQ(errors.text().rfind("seeker: cannot read " + path + ": ", 0), 0u);
    }
    std::ofstream(path) << "site2 = http://two.example\nsite2_tag = x\n";
    Captured errors;
    const SiteTable table = app::LoadSiteTable(defaults, path, false, errors.file());
    EXPECT_EQ(table.BaseUrl(2), "http://two.example");
    EXPECT_EQ(errors.text(),
              "seeker: " + path +
                  ":2: unknown key \"site2_tag\" (known: site1 to site8, site1_hash, "
                  "site7_tag, portal); line ignored\n");
    Captured dirErrors;
    app::LoadSiteTable(defaults, dir_.string(), false, dirErrors.file());
    EXPECT_NE(dirErrors.text().find("cannot read"), std::string::npos);
}

}  // namespace
