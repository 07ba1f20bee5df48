#include "settings/program_objects.h"

std::string ProgramFolder;
TSettingsFile* SettingsFile = nullptr;
TBitmap* GlyphBitmap = nullptr;
int GlyphBase = 0;
int StyleIndex = 0;
bool UpdateRunning = false;
std::string UpdateBaseUrl;
