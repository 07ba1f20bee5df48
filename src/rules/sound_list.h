#pragma once
// Choosing the stored alarm sound in the list of wave files, without a window.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The index of the first entry equal to name when letter case is ignored, as
// the file system compares names (ASCII and the Latin-1 letters such as
// "Ä"/"ä"); nothing when no entry matches.
std::optional<std::size_t> FindSoundEntry(const std::vector<std::string>& entries,
                                          std::string_view name);

// A UTF-8 text with the letters of ASCII and Latin-1 folded to lower case.
std::string FoldFileNameCase(std::string_view text);
