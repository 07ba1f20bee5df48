#include "net_test_server.h"

#include <algorithm>

namespace {

// The request head, and its body when it announces one.
std::string ReadRequest(SOCKET client) {
    std::string request;
    char buffer[4096];
    std::size_t headEnd = std::string::npos;
    std::size_t wanted = 0;
    for (;;) {
        if (headEnd == std::string::npos) {
            headEnd = request.find("\r\n\r\n");
            if (headEnd != std::string::npos) {
                const std::size_t length = request.find("Content-Length: ");
                wanted =
                    headEnd + 4 + (length < headEnd ? std::stoul(request.substr(length + 16)) : 0);
            }
        }
        if (headEnd != std::string::npos && request.size() >= wanted) {
            return request;
        }
        const int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) {
            return request;
        }
        request.append(buffer, static_cast<std::size_t>(n));
    }
}

} // namespace

NetTestServer::NetTestServer(std::vector<Step> script) : script_(std::move(script)) {
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 8);
    int length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

NetTestServer::~NetTestServer() {
    stop_ = true;
    thread_.join();
    closesocket(listener_);
    WSACleanup();
}

std::string NetTestServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> NetTestServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void NetTestServer::Serve() {
    std::size_t step = 0;
    while (!stop_) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(listener_, &ready);
        timeval wait{0, 50000};
        if (select(0, &ready, nullptr, nullptr, &wait) != 1) {
            continue;
        }
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) {
            continue;
        }
        // A client that stopped reading must not hold this thread for ever:
        // under Wine its end of a closed connection may stay open a while.
        const DWORD sendLimitMs = 10000;
        setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&sendLimitMs),
                   sizeof sendLimitMs);
        const std::string request = ReadRequest(client);
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        if (!script_.empty()) {
            script_[std::min(step++, script_.size() - 1)](client, request);
        }
        closesocket(client);
    }
}

bool NetTestServer::Send(SOCKET client, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const int n = send(client, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

void NetTestServer::WaitForClose(SOCKET client, int seconds) {
    char buffer[256];
    for (int waited = 0; waited < seconds * 10; ++waited) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(client, &ready);
        timeval wait{0, 100000};
        if (select(0, &ready, nullptr, nullptr, &wait) == 1 &&
            recv(client, buffer, sizeof buffer, 0) <= 0) {
            return;
        }
    }
}

void NetTestServer::Reset(SOCKET client) {
    const linger option{1, 0};
    setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&option),
               sizeof option);
}

NetTestServer::Step NetTestServer::Reply(const std::string& bytes) {
    return [bytes](SOCKET client, const std::string&) { Send(client, bytes); };
}
