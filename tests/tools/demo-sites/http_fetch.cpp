#include "http_fetch.h"

#include <httplib.h>

namespace app::test {

Fetched FetchLocal(int port, const std::string& pathAndQuery) {
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(5);
    client.set_read_timeout(5);
    Fetched fetched;
    if (auto response = client.Get(pathAndQuery.c_str())) {
        fetched.status = response->status;
        fetched.body = response->body;
        fetched.contentType = response->get_header_value("Content-Type");
    }
    return fetched;
}

}  // namespace app::test
