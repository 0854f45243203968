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
    EXPECT_EQ(
        config.problems,
        std::vector<std::string>{
            "seeker: sites.conf:4: site3 was already set on line 3; this later value is used"});
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
        "site7_tag = \xE6\x88\n"                // 3 cut UTF-8
        "site3 = ftp://a.example\n"             // 4 scheme
        "site4 = http://a.example:0\n"          // 5 port
        "site5 = http://a.example:99999\n"      // 6 port
        "site6 http://a.example\n"              // 7 no "="
        "site7 =\n"                             // 8 no value
        "site1_hash = http://user@a.example\n"  // 9 user name
        "site2 = http://a.example/\n"           // 10 a lone slash is a path too
        "portal = http:///?a1\n"                // 11 no host
        "site8 = http://ok.example\n";
    const auto config = app::ParseSitesConfig(text, "/etc/x/sites.conf");
    // The first five in full, the rest counted.
    ASSERT_EQ(config.problems.size(), 5u);
    EXPECT_EQ(config.moreProblems, 6);
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
    EXPECT_NE(config.problems[2].find("UTF-8"), std::string::npos);

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
    table.parallel = true;
    const auto config = app::ParseSitesConfig(app::FormatSitesConfig(table), "f");
    EXPECT_TRUE(config.problems.empty());
    const SiteTable back = app::ApplySitesConfig(app::DemoSiteTable(20000), config);
    EXPECT_EQ(back.baseUrls, table.baseUrls);
    EXPECT_EQ(back.site1HashUrl, table.site1HashUrl);
    EXPECT_EQ(back.site7Tag, table.site7Tag);
    EXPECT_EQ(back.portalUrl, table.portalUrl);
    EXPECT_TRUE(back.parallel);
    // Only "on" and "off"; anything else leaves the search one page at a time.
    const auto odd = app::ParseSitesConfig("parallel = yes\n", "f");
    ASSERT_EQ(odd.problems.size(), 1u);
    EXPECT_NE(odd.problems[0].find("parallel \"yes\" is not on or off"), std::string::npos);
    EXPECT_FALSE(
        app::ApplySitesConfig(table, app::ParseSitesConfig("parallel = off", "f")).parallel);
    EXPECT_FALSE(app::ApplySitesConfig(app::DemoSiteTable(1), odd).parallel);
}

// The variable that names the folder of the sites file, and the file's path
// under it: %APPDATA%\seeker on Windows, $XDG_CONFIG_HOME/seeker elsewhere.
#ifdef _WIN32
constexpr char kConfigVariable[] = "APPDATA";
constexpr char kPathUnder[] = "\\seeker\\sites.conf";
void SetVariable(const char* name, const std::string& value) { _putenv_s(name, value.c_str()); }
#else
constexpr char kConfigVariable[] = "XDG_CONFIG_HOME";
constexpr char kPathUnder[] = "/seeker/sites.conf";
void SetVariable(const char* name, const std::string& value) {
    if (value.empty()) ::unsetenv(name);
    else ::setenv(name, value.c_str(), 1);
}
#endif

class SitesConfigFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("sites_config_test." + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_ / "seeker");
        saved_ = std::getenv(kConfigVariable) ? std::getenv(kConfigVariable) : "";
        SetVariable(kConfigVariable, dir_.string());
    }
    void TearDown() override {
        SetVariable(kConfigVariable, saved_);
        std::filesystem::remove_all(dir_);
    }
    std::filesystem::path dir_;
    std::string saved_;
};

TEST_F(SitesConfigFile, DefaultPathFollowsXdgConfigHomeAndHome) {
    EXPECT_EQ(app::DefaultSitesConfigPath(), dir_.string() + kPathUnder);
    if (kConfigVariable != std::string("XDG_CONFIG_HOME")) return;
    SetVariable("XDG_CONFIG_HOME", "relative/dir");
    const char* home = std::getenv("HOME");
    if (home && *home) {
        EXPECT_EQ(app::DefaultSitesConfigPath(), std::string(home) + "/.config/seeker/sites.conf");
    }
}

TEST_F(SitesConfigFile, LoadingReportsProblemsAndStillGivesATable) {
    const SiteTable defaults = app::DemoSiteTable(20000);
    const std::string path = app::DefaultSitesConfigPath();
    {
        const app::SitesFile file = app::LoadSitesFile(defaults, path, false);
        EXPECT_TRUE(file.problems.empty());  // no file is the usual case
        EXPECT_FALSE(file.unreadable);
        EXPECT_EQ(file.table.baseUrls, defaults.baseUrls);
    }
    {
        const app::SitesFile file = app::LoadSitesFile(defaults, path, true);
        EXPECT_TRUE(file.unreadable);
        ASSERT_EQ(file.problems.size(), 1u);
        EXPECT_EQ(file.problems[0], "seeker: cannot read " + path + ": No such file or directory");
    }
    std::ofstream(path) << "site2 = http://two.example\nsite2_tag = x\n";
    const app::SitesFile file = app::LoadSitesFile(defaults, path, false);
    EXPECT_EQ(file.table.BaseUrl(2), "http://two.example");
    EXPECT_EQ(file.problems,
              std::vector<std::string>{
                  "seeker: " + path +
                  ":2: unknown key \"site2_tag\" (known: site1 to site8, site1_hash, "
                  "site7_tag, portal, parallel); line ignored"});
    EXPECT_EQ(app::SitesFileNotice(file.problems),
              "站点配置文件有问题：\r\n" + path +
                  ":2: unknown key \"site2_tag\" (known: site1 to site8, site1_hash, site7_tag, "
                  "portal, parallel); line ignored");
}

// A directory or a file over 1 MiB is not read: the table stays the
// built-in one, and the message says why.
TEST_F(SitesConfigFile, OnlyARegularFileOfAtMostOneMebibyteIsRead) {
    const SiteTable defaults = app::DemoSiteTable(20000);
    const app::SitesFile directory = app::LoadSitesFile(defaults, dir_.string(), false);
    EXPECT_TRUE(directory.unreadable);
    EXPECT_EQ(directory.problems, std::vector<std::string>{"seeker: cannot read " + dir_.string() +
                                                           ": it is a directory; using the "
                                                           "built-in sites"});

    const std::string big = (dir_ / "big.conf").string();
    std::string text = "site2 = http://two.example\n";
    text.resize(app::kMaxSitesFileBytes, '#');
    std::ofstream(big, std::ios::binary) << text;
    EXPECT_FALSE(app::LoadSitesFile(defaults, big, true).unreadable);
    std::ofstream(big, std::ios::binary | std::ios::app) << "\n";
    const app::SitesFile tooBig = app::LoadSitesFile(defaults, big, true);
    EXPECT_TRUE(tooBig.unreadable);
    EXPECT_EQ(tooBig.table.BaseUrl(2), defaults.BaseUrl(2));
    EXPECT_EQ(tooBig.problems,
              std::vector<std::string>{"seeker: cannot read " + big + ": it is larger than 1 MiB"});
}

// A folder name outside the system's code page (Chinese on an English
// Windows) given in UTF-8, as --config and the configuration variable give
// it: the file is found and read.
TEST_F(SitesConfigFile, AFileUnderAChineseFolderIsFoundAndRead) {
    const std::filesystem::path folder = dir_ / u8"\u7AD9\u70B9\u914D\u7F6E";  // 站点配置
    std::filesystem::create_directories(folder / "seeker");
    const std::filesystem::path file = folder / "seeker" / "sites.conf";
    std::ofstream(file) << "site2 = http://two.example\n";
    const std::u8string utf8Path = file.u8string();
    const std::string path(utf8Path.begin(), utf8Path.end());

    const app::SitesFile named = app::LoadSitesFile(app::DemoSiteTable(20000), path, true);
    EXPECT_FALSE(named.unreadable);
    EXPECT_TRUE(named.problems.empty());
    EXPECT_EQ(named.table.BaseUrl(2), "http://two.example");

#ifdef _WIN32
    _wputenv_s(L"APPDATA", folder.c_str());
#else
    ::setenv(kConfigVariable, folder.c_str(), 1);
#endif
    EXPECT_EQ(app::DefaultSitesConfigPath(), path);
}

// What a file says is quoted with its control characters escaped and long
// values cut; after the first five problems only their count is given.
TEST_F(SitesConfigFile, ProblemsAreEscapedAndCounted) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows file names cannot hold the control characters this file's name has";
#endif
    const std::string path = (dir_ / "bad\x1b[2J.conf").string();
    std::string text = "site1 = http://\x1b]0;title\x07host\n";
    text += "x\x08\x7f\xff" + std::string(300, 'y') + "\n";
    for (int i = 0; i < 20; ++i) text += "junk\n";
    std::ofstream(path) << text;
    const app::SitesFile file = app::LoadSitesFile(app::DemoSiteTable(20000), path, true);
    ASSERT_EQ(file.problems.size(), 6u);
    const std::string shownPath = dir_.string() + "/bad\\x1B[2J.conf";
    EXPECT_EQ(file.problems[0].rfind(
                  "seeker: " + shownPath + ":1: site1 \"http://\\x1B]0;title\\x07host\"", 0),
              0u)
        << file.problems[0];
    EXPECT_EQ(file.problems[1], "seeker: " + shownPath +
                                    ":2: expected \"key = value\", found \"x\\x08\\x7F\\xFF" +
                                    std::string(76, 'y') + "\"...; line ignored");
    EXPECT_EQ(file.problems[5], "seeker: " + shownPath + ": 17 more problems not shown");
    for (const std::string& problem : file.problems) {
        for (const char c : problem)
            EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 || c == 0x7F);
    }
}

TEST(SitesConfig, RepeatedKeysAndSite1WithoutItsHashAreWarnedAbout) {
    const auto config = app::ParseSitesConfig(
        "site1 = http://one.example\nsite4 = http://a.example\n\nsite4 = http://b.example\n", "f");
    ASSERT_EQ(config.problems.size(), 2u);
    EXPECT_EQ(config.problems[0],
              "seeker: f:4: site4 was already set on line 2; this later value is used");
    EXPECT_EQ(config.problems[1].rfind("seeker: f:1: site1 is set but site1_hash is not", 0), 0u);
    EXPECT_EQ(config.values.at("site4"), "http://b.example");
    EXPECT_EQ(config.values.at("site1"), "http://one.example");
    EXPECT_TRUE(
        app::ParseSitesConfig("site1 = http://one.example\nsite1_hash = http://one.example\n", "f")
            .problems.empty());
}

}  // namespace
