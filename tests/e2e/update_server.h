#pragma once
// The update server of the end-to-end tests: a loopback HTTP server on a
// thread of its own that serves the signed update folders built beside the
// tests. A test may change what one file's request gets.
#include <windows.h>
#include <winsock.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class UpdateServer {
  public:
    // Answers a request for path with the file's bytes; the default sends them
    // as they are. Returning lets the server close the connection.
    using Answer =
        std::function<void(SOCKET client, const std::string& path, const std::string& bytes)>;

    explicit UpdateServer(Answer answer = nullptr);
    ~UpdateServer();
    UpdateServer(const UpdateServer&) = delete;
    UpdateServer& operator=(const UpdateServer&) = delete;

    // The "Server" value for one update folder: "http://127.0.0.1:<port>/<version>".
    std::string BaseUrl(const std::string& version) const;
    std::vector<std::string> RequestedPaths() const;
    // Set by a test to let a held answer go on.
    std::atomic<bool> release{false};
    std::atomic<bool> stop{false};

    static bool Send(SOCKET client, const std::string& bytes);
    static std::string Ok(const std::string& body);

  private:
    void Serve();

    Answer answer_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> paths_;
    std::thread thread_;
};
