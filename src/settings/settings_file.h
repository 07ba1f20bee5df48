#pragma once
// The settings file "Tikkora.ini": a profile file read and written through the
// platform's profile functions. Nothing is cached; every read goes to the file
// and every write is made at once. A refused write throws EIniFileException.
#include "rules/message_history.h"

#include <string>
#include <vector>

class TSettingsFile {
  public:
    explicit TSettingsFile(std::string path) : path_(std::move(path)) {}

    const std::string& FileName() const { return path_; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
    void WriteInteger(const std::string& section, const std::string& key, int value);
    bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
    void WriteBool(const std::string& section, const std::string& key, bool value);
    void EraseSection(const std::string& section);
    // The section's key names in file order.
    std::vector<std::string> ReadSection(const std::string& section) const;
    // Which characters a write keeps, decided by the file as it is now: a
    // Unicode file keeps all, any other those of the system's code page.
    KeepsCharacter CharacterTest() const;

  private:
    [[noreturn]] void FailedWrite() const;

    std::string path_;
};
