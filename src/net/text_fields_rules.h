#pragma once
// Field access on separated texts, counting from 1 as the URL and header
// rules are written.
#include <string>
#include <string_view>

// The characters between the (n-1)-th and the n-th separator; consecutive
// separators give empty fields, and a field past the end is empty.
std::string NthField(std::string_view text, char separator, int n);

// The 1-based position of the n-th separator; length + 1 when there are fewer
// than n separators or the n-th is the last character.
std::size_t NthSeparatorPos(std::string_view text, char separator, int n);

// A-Z to a-z and a-z to A-Z; other bytes (umlauts, NUL) stay as they are.
std::string UpperAscii(std::string_view text);
