#pragma once
#include <string>
#include <string_view>

// The folder part of a program file's path, up to and including the last "\";
// a "\" is appended when that is not the last character.
std::string FolderOfProgramFile(std::string_view programFile);
