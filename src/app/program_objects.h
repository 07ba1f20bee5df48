#pragma once
// The program-wide objects of the clock window, reachable from every part of
// the program that needs them. The main window owns them while it lives.
#include <string>

class TSettingsFile;
class TBitmap;
class TForm1;

// The program file's folder, always ending in "\".
extern std::string ProgramFolder;
// "Tikkora.ini" in ProgramFolder; null before the main window's creation and after its close.
extern TSettingsFile* SettingsFile;
// The transfer bitmap every glyph is copied through; lives as SettingsFile does.
extern TBitmap* GlyphBitmap;
extern TForm1* Form1;

// The display style in use: GlyphBase = 10 × StyleIndex is the glyph of digit 0.
extern int GlyphBase;
extern int StyleIndex;
