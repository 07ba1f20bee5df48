#pragma once
// The update server of the end-to-end tests: the loopback server serving the
// signed update folders built beside the tests. A test may change what one
// file's request gets.
#include "net_test_server.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

class UpdateServer {
  public:
    // Answers a request for path with the file's bytes; the default sends them
    // as they are. Returning lets the server close the connection.
    using Answer =
        std::function<void(SOCKET client, const std::string& path, const std::string& bytes)>;

    explicit UpdateServer(Answer answer = nullptr);
    // A held answer is let go, so the server's thread can end.
    ~UpdateServer() { release = true; }

    // The "Server" value for one update folder: "http://127.0.0.1:<port>/<version>".
    std::string BaseUrl(const std::string& version) const { return server_.Url("/" + version); }
    std::vector<std::string> RequestedPaths() const;
    // Set by a test to let a held answer go on.
    std::atomic<bool> release{false};

    static bool Send(SOCKET client, const std::string& bytes) {
        return NetTestServer::Send(client, bytes);
    }
    static std::string Ok(const std::string& body);

  private:
    Answer answer_;
    // Last: its thread uses the members above.
    NetTestServer server_;
};
