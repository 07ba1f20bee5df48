#pragma once
// What the rich text viewer decides without a window: which clicked links
// the shell may open, and which texts are too deeply nested to be given to
// the rich edit control as formatted text. Header-only, tested natively.
#include "toolkit/string_rules.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

// Only these schemes reach the shell: a click on file:, a UNC path or any
// other scheme could start a program or open a share.
inline bool IsOpenableLink(std::string_view link) {
    while (!link.empty() && (link.front() == ' ' || link.front() == '\t')) {
        link.remove_prefix(1);
    }
    auto startsWith = [&](std::string_view prefix) {
        return link.size() > prefix.size() && LowerAscii(link.substr(0, prefix.size())) == prefix;
    };
    // Control characters and quotes could split the text the shell parses.
    if (std::any_of(link.begin(), link.end(),
                    [](char c) { return IsControlChar(c) || c == '"'; })) {
        return false;
    }
    return startsWith("http://") || startsWith("https://") || startsWith("mailto:");
}

// Deeper group nesting than this is shown as plain text rather than parsed.
constexpr int kMaxRtfNesting = 64;
// Texts up to this many bytes are shown whole: the update's notes may be as large.
constexpr std::size_t kMaxViewerText = 1 << 20;

// Shown instead of rich text that is too large or too deeply nested.
constexpr const char* kUnshownRichText = "Dieser Text kann nicht angezeigt werden.";
// Ends a plain text that is cut, so that nothing is cut without a word.
constexpr const char* kCutTextNote = "\r\n\r\n[Der Text ist zu lang und wurde hier abgeschnitten.]";

// A plain text as it is shown: whole, or cut (never inside a UTF-8
// character) and ended by the note.
inline std::string ShownPlainText(std::string_view text) {
    if (text.size() <= kMaxViewerText) {
        return std::string(text);
    }
    // A character has at most three bytes after its first; more bytes of
    // that kind are no UTF-8, and the cut stays at the limit.
    std::size_t end = kMaxViewerText;
    auto continues = [&](std::size_t at) {
        return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
    };
    while (end > kMaxViewerText - 3 && continues(end)) {
        --end;
    }
    if (continues(end)) {
        end = kMaxViewerText;
    }
    return std::string(text.substr(0, end)) + kCutTextNote;
}

inline bool StartsAsRtf(std::string_view text) {
    return text.substr(0, 5) == "{\\rtf";
}

// The deepest "{" nesting of an RTF text, escaped braces left out.
inline int RtfNestingDepth(std::string_view text) {
    int depth = 0;
    int deepest = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            ++i;
        } else if (c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == '}' && depth > 0) {
            --depth;
        }
    }
    return deepest;
}

// Whether a text may go to the control as formatted text.
inline bool ShowAsRichText(std::string_view text) {
    return StartsAsRtf(text) && text.size() <= kMaxViewerText &&
           RtfNestingDepth(text) <= kMaxRtfNesting;
}
