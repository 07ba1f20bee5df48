#pragma once
// The program-wide objects of the clock window, reachable from every part of
// the program that needs them. The main window owns them while it lives.
#include <string>

class TSettingsFile;
class TGlyphBitmap;
class TForm1;

// The program file's folder, always ending in "\".
extern std::string ProgramFolder;
// "Tikkora.ini" in ProgramFolder; null before the main window's creation and after its close.
extern TSettingsFile* SettingsFile;
extern TForm1* Form1;
