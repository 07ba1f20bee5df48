#pragma once
// How values are encoded in the settings file. Window-free so the rules can be
// tested on their own; the settings file object applies them to what the
// platform's profile functions read.
#include <string>
#include <string_view>
#include <vector>

// Reading a string goes through a buffer of this many characters, so at most
// one less comes back.
constexpr std::size_t kProfileStringBuffer = 2048;
// Reading a section's key names goes through a buffer of this many characters.
constexpr std::size_t kProfileKeyListBuffer = 16384;

// Integer rule: leading blanks are skipped, a sign is allowed, "$" or (in a
// text longer than 2 characters) "0x"/"0X" make it hexadecimal; anything that
// is not a whole valid number in 32 bits yields fallback.
int ParseProfileInteger(std::string_view text, int fallback);

// Boolean rule: read as an integer; non-zero is true.
bool ParseProfileBool(std::string_view text, bool fallback);

std::string FormatProfileInteger(int value);
inline std::string FormatProfileBool(bool value) {
    return value ? "1" : "0";
}

// Splits the platform's key list (names separated by NULs, ending in two
// NULs, possibly cut short by the buffer) into names in file order.
std::vector<std::string> SplitKeyList(std::string_view list);
