// The maintainer tool run against a local server, as a maintainer runs it.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "raw_server.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

int RunTool(const std::string& args) {
    const int status = std::system((std::string(FETCH_PAGE_PATH) + " " + args).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class FetchPage : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/fetch-page-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { [[maybe_unused]] int rc = std::system(("rm -rf " + dir_).c_str()); }
    std::string dir_;
};

TEST_F(FetchPage, WritesTheConvertedPageAndTheHeaders) {
    webtest::RawServer server([](const std::string&) -> std::optional<std::string> {
        const std::string body = "<meta charset=\"utf-8\">\xE6\x88\x91";
        return "HTTP/1.1 200 OK\r\nX-Site: demo\r\nContent-Length: " + std::to_string(body.size()) +
               "\r\n\r\n" + body;
    });
    const std::string url = server.Base() + "/page";
    ASSERT_EQ(RunTool(url + " " + dir_ + "/out.html 2>" + dir_ + "/headers"), 0);
    EXPECT_EQ(ReadFile(dir_ + "/out.html"), "<meta charset=\"utf-8\">\xCE\xD2");
    EXPECT_EQ(ReadFile(dir_ + "/headers"),
              "HTTP/1.1 200 OK\r\nX-Site: demo\r\nContent-Length: 25\r\n\r\n");

    ASSERT_EQ(RunTool(url + " >" + dir_ + "/stdout 2>/dev/null"), 0);
    EXPECT_EQ(ReadFile(dir_ + "/stdout"), "<meta charset=\"utf-8\">\xCE\xD2");
    ASSERT_TRUE(server.WaitForRequests(2));
    EXPECT_EQ(server.Requests()[1].rfind("GET /page HTTP/1.1\r\n", 0), 0u);
}

TEST_F(FetchPage, FailureAndUsageHaveTheirOwnStatus) {
    EXPECT_EQ(RunTool("http://nonexistent.invalid/ 2>/dev/null"), 1);
    EXPECT_EQ(RunTool("2>/dev/null"), 2);
}

}  // namespace
