#include "net/http_request_rules.h"

#include "net/nmuue_rules.h"
#include "net/sock_exceptions.h"
#include "toolkit/string_rules.h"

#include <algorithm>

#include <array>

std::string MethodWord(CmdType kind) {
    static constexpr std::array<const char*, 13> kWords{
        "GET ",  "OPTIONS ", "HEAD ", "POST ",   "PUT ",   "PATCH ", "COPY ",
        "MOVE ", "DELETE ",  "LINK ", "UNLINK ", "TRACE ", ""};
    return kWords.at(static_cast<std::size_t>(kind));
}

bool SendsBody(CmdType kind) {
    switch (kind) {
    case CmdType::Post:
    case CmdType::Put:
    case CmdType::Patch:
    case CmdType::Trace:
    case CmdType::Raw:
        return true;
    default:
        return false;
    }
}

void BuildRequestLines(const RequestSpec& request, TExStringList& lines) {
    const UrlTarget& target = request.target;
    const THeaderInfo& info = request.info;
    const bool viaProxy = !request.proxy.empty();
    lines.Clear();
    if (request.kind != CmdType::Raw) {
        lines.Add(MethodWord(request.kind) +
                  (viaProxy ? EncodeTargetBytes(target.url) : target.path) + " HTTP/1.0");
    }
    if (viaProxy) {
        lines.Add("Proxy-Connection: Keep-Alive");
        lines.Add("Host: " + target.host);
    }
    lines.SetHeader("Host", target.host);
    lines.Add("Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff");
    lines.Add("Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript");
    lines.SetHeader("User-Agent", info.LocalProgram);
    lines.SetHeader("From", info.LocalMailAddress);
    lines.SetHeader("Cookie", info.Cookie);
    lines.SetHeader("Referer", info.Referer);
    if (!info.UserId.empty() && !info.Password.empty()) {
        lines.SetHeader("Authorization",
                        "Basic " + EncodeBase64(info.UserId + ":" + info.Password));
    }
    lines.Add("Content-type: application/x-www-form-urlencoded");
    if (request.kind == CmdType::Copy || request.kind == CmdType::Move) {
        lines.Add("URI-header: " + request.extraValue);
    } else if (request.kind == CmdType::Link || request.kind == CmdType::Unlink) {
        lines.Add("Link: " + request.extraValue);
    }
    if (SendsBody(request.kind)) {
        lines.Add("Content-Length: " + std::to_string(request.bodyLength));
    }
    // A value with a line break in it (a cookie a server set, say) would start
    // a line of its own; a tab is the only control a header value may hold.
    for (int i = 0; i < lines.Count(); ++i) {
        if (std::any_of(lines[i].begin(), lines[i].end(),
                        [](char c) { return c != '\t' && IsControlChar(c); })) {
            throw ESockError("Invalid character in request");
        }
    }
}

std::string RequestHead(const TExStringList& lines) {
    return lines.Text() + "\r\n";
}
