#pragma once
// The list of recently used alarm messages and how it is kept in the [meldungen]
// section of the settings file, without a window. The list is newest first.
//
// In the file every message is a key and its position the value. A profile key
// cannot hold every text: it ends at the first "=", a line starting with ";" is
// a comment and one starting with "[" opens a section, blanks around a key are
// dropped, keys are found without regard to letter case, and characters
// outside the file's code page are lost. Such a message is written under a
// stand-in key ("*" and its position) and the value carries the text itself,
// escaped: position, "|", text. Files written before (plain keys, plain
// positions) read exactly as they always did.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

constexpr std::size_t kMessageHistoryLimit = 20;

// Whether the settings file keeps a character (a Unicode code point) as it
// is: all of them in a Unicode file, those of its code page in any other.
using KeepsCharacter = std::function<bool(char32_t)>;

// Puts a confirmed message on top of the list: a text that is blank after
// trimming changes nothing, and so does one that no line of the file could
// hold, so that it pushes no storable message out; otherwise every entry
// equal to it (letter case counts) goes, the text as typed is inserted first,
// and the list is cut to kMessageHistoryLimit entries. Returns whether the
// text was taken.
bool RememberMessage(std::vector<std::string>& history, const std::string& typed,
                     const KeepsCharacter& keeps);

// True when the text comes back unchanged as a profile key.
bool IsPlainHistoryKey(std::string_view text, const KeepsCharacter& keeps);

struct HistoryLine {
    std::string key;
    std::string value;
};

// The lines of the section for the list, in list order; an entry that no line
// could hold is left out.
std::vector<HistoryLine> HistoryLines(const std::vector<std::string>& history,
                                      const KeepsCharacter& keeps);

// The message a line of the section stands for.
std::string HistoryEntry(std::string_view key, std::string_view value);

// The key names that can be trusted from a key list read through a buffer of
// bufferChars UTF-16 characters: when the list filled the buffer, the last
// name may have been cut and is left out.
std::vector<std::string> WholeKeyNames(std::vector<std::string> names, std::size_t bufferChars);

// Percent-escaping of the characters that a profile value would not keep.
std::string EscapeHistoryText(std::string_view text, const KeepsCharacter& keeps);
std::string UnescapeHistoryText(std::string_view text);
