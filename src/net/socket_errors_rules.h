#pragma once
// The texts the socket layer gives its error numbers.
#include <string>

// "" for 0; "10061:Connection refused" for a known number; "Unknown Error
// No. 12345" for any other.
std::string SocketErrorText(int code);
