#pragma once
// The request an HTTP/1.0 client sends: its kinds and its header lines.
#include "net/ex_string_list_rules.h"
#include "net/url_parts_rules.h"

#include <cstdint>
#include <string>

enum class CmdType : std::uint8_t {
    Get = 0,
    Options = 1,
    Head = 2,
    Post = 3,
    Put = 4,
    Patch = 5,
    Copy = 6,
    Move = 7,
    Delete = 8,
    Link = 9,
    Unlink = 10,
    Trace = 11,
    // Header lines and a body without a request line, for a caller that
    // writes its own (nothing here uses it).
    Raw = 12,
};

// Values the caller adds to every request; empty ones are left out.
struct THeaderInfo {
    std::string LocalMailAddress;
    std::string LocalProgram;
    std::string Cookie;
    std::string Referer;
    std::string UserId;
    std::string Password;
};

// "GET ", "POST ", ...; empty for Raw.
std::string MethodWord(CmdType kind);
// The kinds that announce and send a body.
bool SendsBody(CmdType kind);

struct RequestSpec {
    CmdType kind = CmdType::Get;
    const UrlTarget& target;
    const std::string& proxy; // empty: direct
    const THeaderInfo& info;
    const std::string& extraValue; // destination of Copy/Move, link of Link/Unlink
    std::int64_t bodyLength = 0;   // bytes of the body the kinds with a body send
};

// Fills lines with the request line and the header lines, in their order.
// Raises ESockError when a value holds a control character other than a tab.
void BuildRequestLines(const RequestSpec& request, TExStringList& lines);

// The bytes of the request head: every line with CR LF, then one CR LF.
std::string RequestHead(const TExStringList& lines);
