#pragma once
// Conversion between the program's UTF-8 strings and the UTF-16 of the W functions.
#include <string>
#include <string_view>

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
