#pragma once
// Small text helpers shared by all window-free code.
#include <string>
#include <string_view>

// Folds A-Z to a-z and leaves every other byte alone, as the settings
// comparisons expect ("Top", "TOP" and "top" are equal; umlauts are not folded).
std::string LowerAscii(std::string_view text);

// Removes leading and trailing characters up to and including the blank,
// i.e. blanks and control characters.
std::string Trim(std::string_view text);

// The first n bytes of text, never cutting a UTF-8 sequence in half.
std::string LeftUtf8(std::string_view text, std::size_t n);

// The C0 control characters and DEL.
bool IsControlChar(char c);

// The value of a hexadecimal digit in either letter case; -1 for any other byte.
int HexDigitValue(char c);

// A single "&" is dropped and "&&" becomes "&", scanning up to the
// last-but-one character; the last character is kept whatever it is.
std::string StripAccelerators(std::string_view caption);

// A label's caption as the name of its field: no access key marker, no colon.
std::string LabelName(std::string_view caption);
