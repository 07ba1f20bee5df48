#pragma once
// Form encoding of the data a Post sends.
#include <functional>
#include <string>

class TNMURL {
  public:
    std::string InputString;
    std::function<void(TNMURL* sender, const std::string& operation, const std::string& errMsg)>
        OnError;

    // Space to "+", digits and ASCII letters as they are, every other byte as
    // "%" and two upper-case hexadecimal digits. A failure is reported through
    // OnError and returns the text unchanged.
    std::string Encode(const std::string& text);
    // Encode(InputString).
    std::string Encode() { return Encode(InputString); }
};
