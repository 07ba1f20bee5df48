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
// The display style in use: GlyphBase = 10 × StyleIndex is the glyph of digit 0.
extern int GlyphBase;
extern int StyleIndex;
// An update run is under way; the automatic check does nothing meanwhile.
extern bool UpdateRunning;
// The folder on the update server, "http://..." without a trailing "/".
extern std::string UpdateBaseUrl;

// What the parts are handed instead of reaching for the names above: the very
// same objects, so that there is one of each. Only the start-up and the close
// of the main window set them by their names.
struct ProgramObjects {
    std::string& folder = ProgramFolder;
    TSettingsFile*& settings = SettingsFile;
    TBitmap*& glyphs = GlyphBitmap;
    int& glyphBase = GlyphBase;
    int& styleIndex = StyleIndex;
    bool& updateRunning = UpdateRunning;
    std::string& updateBaseUrl = UpdateBaseUrl;
};
