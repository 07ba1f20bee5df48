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

// The path of a request line "GET <path> HTTP/1.0".
std::string RequestPath(const std::string& request) {
    const auto start = request.find(' ');
    if (start == std::string::npos) {
        return "";
    }
    return request.substr(start + 1, request.find(' ', start + 1) - start - 1);
}

} // namespace

UpdateServer::UpdateServer(Answer answer)
    : answer_(std::move(answer)), server_({[this](SOCKET client, const std::string& request) {
          const std::string path = RequestPath(request);
          const std::string bytes = path.empty() ? "" : SiteFile(path);
          if (answer_) {
              answer_(client, path, bytes);
          } else {
              Send(client, Ok(bytes));
          }
      }}) {}

std::vector<std::string> UpdateServer::RequestedPaths() const {
    std::vector<std::string> paths;
    for (const std::string& request : server_.Requests()) {
        paths.push_back(RequestPath(request));
    }
    return paths;
}

std::string UpdateServer::Ok(const std::string& body) {
    return "HTTP/1.0 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}
