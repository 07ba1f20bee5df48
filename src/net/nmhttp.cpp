#include "net/nmhttp.h"

#include "net/nmurl_rules.h"
#include "net/response_header_rules.h"
#include "net/url_parts_rules.h"
#include "toolkit/wide.h"

#include <filesystem>
#include <fstream>
#include <system_error>

TNMHTTP::TNMHTTP() = default;

void TNMHTTP::Abort() {
    woken_ = true;
    Cancel();
}

void TNMHTTP::Run(CmdType kind, const std::string& url) {
    requestKind_ = kind;
    Url = url;
    RunRequest();
}

void TNMHTTP::Options(const std::string& url) {
    Run(CmdType::Options, url);
}

void TNMHTTP::Get(const std::string& url) {
    Run(CmdType::Get, url);
}

void TNMHTTP::Head(const std::string& url) {
    Run(CmdType::Head, url);
}

void TNMHTTP::Delete(const std::string& url) {
    Run(CmdType::Delete, url);
}

void TNMHTTP::Post(const std::string& url, const std::string& data) {
    SendData = EncodePostData && !OutputFileMode ? TNMURL().Encode(data) : data;
    Run(CmdType::Post, url);
}

void TNMHTTP::Put(const std::string& url, const std::string& data) {
    SendData = data;
    Run(CmdType::Put, url);
}

void TNMHTTP::Patch(const std::string& url, const std::string& data) {
    SendData = data;
    Run(CmdType::Patch, url);
}

void TNMHTTP::Trace(const std::string& url, const std::string& data) {
    SendData = data;
    Run(CmdType::Trace, url);
}

void TNMHTTP::Raw(const std::string& url, const std::string& data) {
    SendData = data;
    Run(CmdType::Raw, url);
}

void TNMHTTP::Copy(const std::string& url, const std::string& destination) {
    ExtraValue = destination;
    Run(CmdType::Copy, url);
}

void TNMHTTP::Move(const std::string& url, const std::string& destination) {
    ExtraValue = destination;
    Run(CmdType::Move, url);
}

void TNMHTTP::Link(const std::string& url, const std::string& link) {
    ExtraValue = link;
    SendData = "Send.dat";
    Run(CmdType::Link, url);
}

void TNMHTTP::Unlink(const std::string& url, const std::string& link) {
    ExtraValue = link;
    SendData = "Send.dat";
    Run(CmdType::Unlink, url);
}

void TNMHTTP::RunRequest() {
    for (int redirects = 0;; ++redirects) {
        ParseUrl();
        BuildRequest();
        if (OnAboutToSend) {
            OnAboutToSend(this);
        }
        try {
            Exchange();
        } catch (...) {
            try {
                Disconnect();
            } catch (...) {
                // The transfer's own failure is the one to tell.
            }
            throw;
        }
        Disconnect();
        const int code = replyNumber_;
        if (code >= 300 && code <= 398) {
            bool handled = false;
            if (!setCookieValue_.empty()) {
                HeaderInfo.Cookie = setCookieValue_;
            }
            if (OnRedirect) {
                OnRedirect(this, handled);
            }
            if (handled) {
                return;
            }
        }
        if (code == 401 && OnAuthenticationNeeded) {
            OnAuthenticationNeeded(this);
        }
        // A redirect that names no new place has nowhere to lead.
        if (code < 300 || code > 302 || location_.empty()) {
            return;
        }
        // A server that sends us round in circles does not hold the caller for ever.
        if (redirects + 1 > kMaxRedirects) {
            throw ESockError("Too many redirects");
        }
    }
}

void TNMHTTP::Exchange() {
    Connect();
    SendRequest();
    replyNumber_ = 0;
    ReadResponseHeader();
    if (MaxContentLength >= 0 && contentLength_ > MaxContentLength) {
        throw ESockError("Content-Length too large");
    }
    if (InputFileMode) {
        CaptureFile(Body);
    } else {
        CaptureString(Body, -1);
    }
    const int code = replyNumber_;
    if (code <= 298) {
        if (OnSuccess) {
            OnSuccess(this, requestKind_);
        }
        StatusMessage(2, "Transaction Completed");
    } else if (code >= 400) {
        if (OnFailure) {
            OnFailure(this, requestKind_);
        }
    } else if (code <= 302 && !location_.empty()) {
        Url = ResolveRedirect(location_, {Url, Host, Port, path_});
    }
}

void TNMHTTP::ParseUrl() {
    UrlTarget target{Url, Host, Port, path_};
    ::ParseUrl(target);
    Url = target.url;
    Host = target.host;
    Port = target.port;
    path_ = target.path;
}

std::int64_t TNMHTTP::BodyLength() const {
    if (!SendsBody(requestKind_)) {
        return 0;
    }
    if (!OutputFileMode) {
        return static_cast<std::int64_t>(SendData.size());
    }
    std::error_code error;
    const auto size = std::filesystem::file_size(std::filesystem::path(Widen(SendData)), error);
    if (error) {
        throw EFileError("Cannot open file \"" + SendData + "\"");
    }
    return static_cast<std::int64_t>(size);
}

void TNMHTTP::BuildRequest() {
    const UrlTarget target{Url, Host, Port, path_};
    BuildRequestLines({requestKind_, target, Proxy, HeaderInfo, ExtraValue, BodyLength()},
                      requestLines_);
}

void TNMHTTP::SendRequest() {
    Write(requestLines_.Text());
    Writeln("");
    if (SendsBody(requestKind_)) {
        if (OutputFileMode) {
            SendFile(SendData);
        } else {
            Write(SendData);
        }
    }
}

void TNMHTTP::ReadResponseHeader() {
    // Nothing of an earlier response may pass for this one's.
    contentLength_ = 0;
    setCookieValue_.clear();
    location_.clear();
    std::ofstream file;
    if (OutputFileMode) {
        file.open(std::filesystem::path(Widen(Header)), std::ios::binary | std::ios::trunc);
        if (!file) {
            throw EFileError("Cannot create file \"" + Header + "\"");
        }
    } else {
        Header.clear();
    }
    ResponseHeaderReader reader;
    // Each line is stored before it is judged, so a header that fails keeps what arrived.
    const auto store = [&](const std::string& line) {
        if (OutputFileMode) {
            file.write(line.data(), static_cast<std::streamsize>(line.size()));
        } else {
            Header += line;
        }
    };
    const auto learn = [&] {
        replyNumber_ = reader.ReplyNumber();
        contentLength_ = reader.ContentLength();
        setCookieValue_ = reader.SetCookieValue();
        location_ = reader.Location().value_or("");
    };
    for (;;) {
        const std::string line = ReadLn();
        store(line);
        bool more = false;
        try {
            more = reader.Take(line);
        } catch (...) {
            learn();
            throw;
        }
        if (!more) {
            break;
        }
    }
    learn();
}
