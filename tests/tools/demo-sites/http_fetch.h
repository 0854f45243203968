// A plain GET to 127.0.0.1 for tests of the demo sites.
#pragma once

#include <string>

namespace app::test {

struct Fetched {
    int status = 0;  // 0 when the request failed
    std::string body;
    std::string contentType;
};

Fetched FetchLocal(int port, const std::string& pathAndQuery);

}  // namespace app::test
