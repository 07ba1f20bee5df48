#pragma once
// A loopback HTTP server inside the test program: a thread of its own accepts
// connection after connection and hands each to the next step of the test's
// script (the last step repeats). Each step sees the request head that came in.
#include <windows.h>
#include <winsock.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class NetTestServer {
  public:
    using Step = std::function<void(SOCKET client, const std::string& request)>;

    explicit NetTestServer(std::vector<Step> script);
    ~NetTestServer();
    NetTestServer(const NetTestServer&) = delete;
    NetTestServer& operator=(const NetTestServer&) = delete;

    int Port() const { return port_; }
    std::string Url(const std::string& path) const;
    // The requests so far, in their order.
    std::vector<std::string> Requests() const;

    // Sends all bytes; false when the client has gone.
    static bool Send(SOCKET client, const std::string& bytes);
    // Blocks until the client closes its end (or seconds have passed).
    static void WaitForClose(SOCKET client, int seconds = 30);
    // Ends the connection with a reset instead of a close.
    static void Reset(SOCKET client);
    // A step that answers with fixed bytes and closes.
    static Step Reply(const std::string& bytes);

  private:
    void Serve();

    std::vector<Step> script_;
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};
