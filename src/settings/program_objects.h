#pragma once
// The program-wide objects, reachable from every part of the program that
// needs them. The main window owns them while it lives.
#include <string>

class TSettingsFile;
class TBitmap;

// The program file's folder, always ending in "\".
extern std::string ProgramFolder;
// "Tikkora.ini" in ProgramFolder; null before the main window's creation and after its close.
extern TSettingsFile* SettingsFile;
// The transfer bitmap every glyph is copied through; lives as SettingsFile does.
extern TBitmap* GlyphBitmap;

// What the main window's parts are handed instead of reaching for the
// globals above: the same objects, set as those are.
struct ProgramObjects {
    std::string folder;
    TSettingsFile* settings = nullptr;
    TBitmap* glyphs = nullptr;
};

// The display style in use: GlyphBase = 10 × StyleIndex is the glyph of digit 0.
extern int GlyphBase;
extern int StyleIndex;
