// seeker --search as a process against the demo sites: the same hits as the
// search driver, the output formats, Ctrl+C, and the command line's errors.
#include "app/cli/hit_format.h"
#include "app/config/sites_config.h"
#include "app/search/search_driver.h"
#include "child_process.h"
#include "demo_server.h"
#include "runtime/codepage.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace {

using app::cli::Format;
using clitest::ChildProcess;

// Collects the driver's hits as the command line prints them.
class LinesSink : public app::SearchSink {
public:
    LinesSink(Format format, std::vector<app::SiteId> sites) : format_(format), sites_(std::move(sites)) {}
    bool SiteSelected(app::SiteId site) override {
        return std::find(sites_.begin(), sites_.end(), site) != sites_.end();
    }
    void StatusChanged(const rt::Text&) override {}
    void ClockStarted(app::Tick) override {}
    void HitFound(app::SiteId site, const app::Hit& hit) override {
        lines += app::cli::FormatHit(format_, ++count, site, hit);
    }
    void ProgressChanged(int) override {}
    void SearchFinished(int, int) override {}

    std::string lines;
    int count = 0;

private:
    Format format_;
    std::vector<app::SiteId> sites_;
};

// Leak checks of sanitizer builds apply to the program too, less OpenSSL's
// per-thread state of a worker that may outlive main (see lsan.supp).
const bool kSuppressionsSet = [] {
    ::setenv("LSAN_OPTIONS", "suppressions=" SEEKER_LSAN_SUPPRESSIONS ":print_suppressions=0", 0);
    return true;
}();

class CliSearch : public ::testing::Test {
protected:
    void Serve(const demo::ServeOptions& options) {
        ASSERT_TRUE(sites_.StartOnFreePorts(options));
        config_ = (std::filesystem::temp_directory_path() /
                   ("cli_search_test." + std::to_string(::getpid()) + ".conf"))
                      .string();
        std::ofstream(config_) << app::FormatSitesConfig(table()) << "site9 = http://nowhere.example\n";
    }
    void TearDown() override {
        if (!config_.empty()) std::filesystem::remove(config_);
    }
    app::SiteTable table() const { return app::DemoSiteTable(sites_.basePort()); }

    // What the driver itself finds for the same search.
    LinesSink Expected(const std::string& keywordUtf8, int pages, Format format,
                       std::vector<app::SiteId> sites) {
        LinesSink sink(format, std::move(sites));
        app::SearchParams params{table(), rt::Utf8ToCp936(keywordUtf8), pages};
        app::RunSearch(params, sink);
        return sink;
    }
    std::vector<std::string> Args(std::vector<std::string> args) const {
        args.insert(args.begin(), {SEEKER_PROGRAM, "--config", config_});
        return args;
    }

    demo::DemoSites sites_;
    std::string config_;
};

TEST_F(CliSearch, PrintsTheDriversHitsAsTsvAndClosesOnStandardError) {
    demo::ServeOptions options;
    options.lastPage = 2;
    Serve(options);
    const std::string keyword = rt::Cp936ToUtf8("我");
    const LinesSink expected = Expected(keyword, 3, Format::kTsv, {1, 4});
    ASSERT_GT(expected.count, 0);
    const std::size_t driverRequests = sites_.Requests().size();

    ChildProcess seeker(Args({"--search", keyword, "--pages", "3", "--sites", "1,4"}));
    EXPECT_EQ(seeker.Wait(), 0) << seeker.err();
    EXPECT_EQ(seeker.out(), expected.lines);
    const std::string firstLine = seeker.out().substr(0, seeker.out().find('\n'));
    EXPECT_TRUE(std::regex_match(firstLine, std::regex("1\t[^\t]+\t[^\t]*\t[^\t]*\t" +
                                                       rt::Cp936ToUtf8("传播搜索") + "\tmagnet:\\?[^\t]+")))
        << firstLine;

    // The bad configuration line is named, and the search still ran.
    EXPECT_NE(seeker.err().find(config_ + ":14: unknown key \"site9\""), std::string::npos) << seeker.err();
    EXPECT_TRUE(std::regex_search(seeker.err(), std::regex("\nsearch finished: [0-9]+ seconds, " +
                                                           std::to_string(expected.count) + " hits\n$")))
        << seeker.err();
    EXPECT_EQ(seeker.err().find('\r'), std::string::npos) << "a progress bar into a pipe";

    // The command line's requests are the driver's: the keyword in UTF-8, the visit order.
    const auto all = sites_.Requests();
    const std::vector<std::string> requests(all.begin() + driverRequests, all.end());
    const std::vector<std::string> driver(all.begin(), all.begin() + driverRequests);
    EXPECT_EQ(requests, driver);
    ASSERT_GE(requests.size(), 3u);
    EXPECT_EQ(requests[1], "1 /search/%E6%88%91/currentPage/1");
    EXPECT_EQ(requests[2], "4 /list/%E6%88%91/1");
}

TEST_F(CliSearch, JsonLinesEscapeWhatJsonMust) {
    app::Hit hit{"a\"b\\c\td\x01" "e 中", "magnet:?xt=urn:btih:00", "1 GB", "2024-01-02"};
    EXPECT_EQ(app::cli::FormatHit(Format::kJson, 7, 2, hit),
              "{\"number\":7,\"title\":\"a\\\"b\\\\c\\td\\u0001e " + rt::Cp936ToUtf8("中") +
                  "\",\"size\":\"1 GB\",\"date\":\"2024-01-02\",\"site\":\"31bt" + rt::Cp936ToUtf8("搜索") +
                  "\",\"site_id\":2,\"link\":\"magnet:?xt=urn:btih:00\"}\n");
    hit.title = "two\r\nlines\tand tab";
    EXPECT_EQ(app::cli::FormatHit(Format::kTsv, 1, 3, hit),
              "1\ttwo  lines and tab\t1 GB\t2024-01-02\t" + rt::Cp936ToUtf8("洪流小猫") +
                  "\tmagnet:?xt=urn:btih:00\n");

    demo::ServeOptions options;
    options.lastPage = 1;
    Serve(options);
    const LinesSink expected = Expected("abc", 2, Format::kJson, {2, 7});
    ChildProcess seeker(Args({"--search=abc", "--pages=2", "--sites=7,2", "--format=json"}));
    EXPECT_EQ(seeker.Wait(), 0) << seeker.err();
    EXPECT_EQ(seeker.out(), expected.lines);
}

TEST_F(CliSearch, CtrlCStopsCleanlyWithTheHitsSoFar) {
    demo::ServeOptions options;
    options.lastPage = 5;
    options.stallSite = 4;
    options.stallPage = 2;
    Serve(options);
    ChildProcess seeker(Args({"--search", "abc", "--pages", "3", "--sites", "1,4"}));
    // Site 4's second page never comes; every hit before it has been printed
    // by the time it is asked for.
    bool stalled = false;
    for (int i = 0; i < 1000 && !stalled; ++i) {
        for (const std::string& r : sites_.Requests()) stalled = stalled || r == "4 /list/%61%62%63/2";
        if (!stalled) usleep(10000);
    }
    ASSERT_TRUE(stalled);
    seeker.Signal(SIGINT);
    EXPECT_EQ(seeker.Wait(), 130);

    std::istringstream lines(seeker.out());
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        EXPECT_EQ(line.rfind(std::to_string(++count) + "\t", 0), 0u) << line;
        EXPECT_NE(line.find("\tmagnet:?"), std::string::npos) << line;
    }
    EXPECT_GT(count, 0);
    EXPECT_TRUE(std::regex_search(seeker.err(),
                                  std::regex("search stopped: [0-9]+ seconds, " + std::to_string(count) + " hits\n$")))
        << seeker.err();
}

TEST_F(CliSearch, ProgressBarOnlyOnATerminal) {
    demo::ServeOptions options;
    options.lastPage = 1;
    Serve(options);
    ChildProcess seeker(Args({"--search", "abc", "--pages", "2", "--sites", "3"}), true);
    EXPECT_EQ(seeker.Wait(), 0);
    const std::string err = seeker.err();
    EXPECT_NE(err.find("\r[########################################] 100%"), std::string::npos) << err;
    // The bar is wiped before the closing line (the terminal turns "\n" into "\r\n").
    EXPECT_TRUE(std::regex_search(err, std::regex("\r\x1b\\[Ksearch finished: [0-9]+ seconds, [1-9][0-9]* hits\r\n$")))
        << err;
}

TEST(CliCommandLine, UsageErrorsHelpAndVersion) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--pages", "3"},
             {"--search", "x", "--pages", "0"},
             {"--search", "x", "--pages", "1001"},
             {"--search", "x", "--pages", "ten"},
             {"--search", "x", "--sites", "1,9"},
             {"--search", "x", "--sites", "1,,4"},
             {"--search", "x", "--format", "xml"},
             {"--search"},
             {"--bogus"},
             {"keyword"}}) {
        std::vector<std::string> full{SEEKER_PROGRAM};
        full.insert(full.end(), args.begin(), args.end());
        ChildProcess seeker(full);
        EXPECT_EQ(seeker.Wait(), 2) << args.front();
        EXPECT_TRUE(std::regex_match(seeker.err(), std::regex("seeker: [^\n]+ \\(see seeker --help\\)\n")))
            << seeker.err();
        EXPECT_EQ(seeker.out(), "");
    }
    ChildProcess help({SEEKER_PROGRAM, "--help"});
    EXPECT_EQ(help.Wait(), 0);
    for (const char* option : {"--search", "--pages", "--sites", "--format", "--config", "--version"})
        EXPECT_NE(help.out().find(option), std::string::npos) << option;
    ChildProcess version({SEEKER_PROGRAM, "--version"});
    EXPECT_EQ(version.Wait(), 0);
    EXPECT_EQ(version.out(), std::string("seeker ") + SEEKER_VERSION + "\n");
}

}  // namespace
