#pragma once
// The help's topics by context number: the page of Tikkora.chm that holds a
// topic and the text of its pop-up. The pop-up texts live in the program, so
// context help works without the help file; each page carries the same text
// in its paragraph of class "popup".
#include <span>
#include <string>

struct HelpTopic {
    int context;
    const char* page;  // inside Tikkora.chm
    const char* popup; // UTF-8, plain text
};

constexpr char kHelpFileName[] = "Tikkora.chm";
constexpr char kHelpContentsPage[] = "index.htm";
// The about box jumps here from "Nutzungsbedingungen".
constexpr char kTermsOfUsePage[] = "nutzungsbedingungen.htm";
// Shown for a context number that has no topic (0 on the controls without one).
constexpr char kNoHelpText[] = "Zu diesem Element gibt es keine Hilfe.";

// Every topic that has a context number, ordered by number.
std::span<const HelpTopic> HelpTopics();
// Null when no topic has that number.
const HelpTopic* FindHelpTopic(int context);
// The topic's pop-up text, or kNoHelpText.
std::string HelpPopupText(int context);
// The page of a menu item's topic; the contents page for a number without one.
// The menu's "Standard" has a page of its own, though its number (11) is the
// about box's web link's too.
std::string MenuTopicPage(int context);
