#pragma once
// TNMHTTP: an HTTP/1.0 client on the socket component. One call runs a whole
// request on the calling thread: connect, send, read the header, read the
// body until the server closes, disconnect, and follow simple redirects.
#include "net/ex_string_list_rules.h"
#include "net/http_request_rules.h"
#include "net/powersock.h"

#include <functional>
#include <string>

// Redirects (300 to 302) one request follows before it gives up.
constexpr int kMaxRedirects = 20;

class TNMHTTP : public TPowersock {
  public:
    using TResultEvent = std::function<void(TNMHTTP* sender, CmdType cmd)>;
    using THandlerEvent = std::function<void(TNMHTTP* sender, bool& handled)>;
    using TNotify = std::function<void(TNMHTTP* sender)>;

    TNMHTTP();

    // With InputFileMode the name of the body's file, else the body itself.
    std::string Body = "Default.htm";
    // With OutputFileMode the name of the header's file, else the header itself.
    std::string Header = "Head.txt";
    THeaderInfo HeaderInfo;
    bool InputFileMode = false;
    bool OutputFileMode = false;
    bool EncodePostData = true;
    // The request body, or with OutputFileMode the name of its file.
    std::string SendData;
    std::string ExtraValue;
    std::string Url;
    // A response that announces a longer body fails with ESockError before
    // any of the body is read or its file is made; -1: no limit.
    std::int64_t MaxContentLength = -1;

    TResultEvent OnSuccess; // the code was 298 or lower
    TResultEvent OnFailure; // the code was 400 or higher
    TNotify OnAboutToSend;
    THandlerEvent OnRedirect; // 300 to 398; handled = true ends the request
    TNotify OnAuthenticationNeeded;

    const std::string& Path() const { return path_; }
    const TExStringList& RequestLines() const { return requestLines_; }
    const std::string& Location() const { return location_; }
    const std::string& SetCookieValue() const { return setCookieValue_; }
    CmdType RequestKind() const { return requestKind_; }

    virtual void RunRequest();
    virtual void ParseUrl();
    virtual void BuildRequest();
    virtual void ReadResponseHeader();
    virtual void SendRequest();
    virtual void Options(const std::string& url);
    virtual void Get(const std::string& url);
    virtual void Post(const std::string& url, const std::string& data);
    virtual void Put(const std::string& url, const std::string& data);
    virtual void Head(const std::string& url);
    virtual void Patch(const std::string& url, const std::string& data);
    virtual void Delete(const std::string& url);
    virtual void Trace(const std::string& url, const std::string& data);
    virtual void Copy(const std::string& url, const std::string& destination);
    virtual void Move(const std::string& url, const std::string& destination);
    // Announce the link in a "Link: " line; they send no body.
    virtual void Link(const std::string& url, const std::string& link);
    virtual void Unlink(const std::string& url, const std::string& link);
    // The header lines without a request line, then data as the body.
    virtual void Raw(const std::string& url, const std::string& data);

    void Abort() override;

  private:
    void Run(CmdType kind, const std::string& url);
    // One connection: request, header, body; returns the code to judge.
    void Exchange();
    std::int64_t BodyLength() const;

    std::string path_;
    TExStringList requestLines_;
    std::string location_;
    std::string setCookieValue_;
    CmdType requestKind_ = CmdType::Get;
};
