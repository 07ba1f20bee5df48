#include "update_server.h"

#include "clock_process.h"
#include "toolkit/wide.h"

#include <fstream>
#include <sstream>

namespace {

std::string SiteFile(const std::string& path) {
    std::ifstream file((BuildFolder() + L"\\update_site" + Widen(path)).c_str(), std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string ReadRequestPath(SOCKET client) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) {
            break;
        }
        request.append(buffer, static_cast<std::size_t>(n));
    }
    const auto start = request.find(' ');
    if (start == std::string::npos) {
        return "";
    }
    return request.substr(start + 1, request.find(' ', start + 1) - start - 1);
}

} // namespace

UpdateServer::UpdateServer(Answer answer) : answer_(std::move(answer)) {
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 5);
    int length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
}

UpdateServer::~UpdateServer() {
    stop = true;
    release = true;
    thread_.join();
    closesocket(listener_);
    WSACleanup();
}

std::string UpdateServer::BaseUrl(const std::string& version) const {
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + version;
}

std::vector<std::string> UpdateServer::RequestedPaths() const {
    std::lock_guard lock(mutex_);
    return paths_;
}

bool UpdateServer::Send(SOCKET client, const std::string& bytes) {
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

std::string UpdateServer::Ok(const std::string& body) {
    return "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

void UpdateServer::Serve() {
    while (!stop) {
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
        const std::string path = ReadRequestPath(client);
        {
            std::lock_guard lock(mutex_);
            paths_.push_back(path);
        }
        const std::string bytes = path.empty() ? "" : SiteFile(path);
        if (answer_) {
            answer_(client, path, bytes);
        } else {
            Send(client, Ok(bytes));
        }
        closesocket(client);
    }
}
