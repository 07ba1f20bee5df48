#include "settings/settings_file.h"

#include "rules/profile_values.h"
#include "toolkit/exceptions.h"
#include "toolkit/wide.h"

#include <windows.h>

std::string TSettingsFile::ReadString(const std::string& section, const std::string& key,
                                      const std::string& fallback) const {
    std::wstring buffer(kProfileStringBuffer, L'\0');
    DWORD length = GetPrivateProfileStringW(
        Widen(section).c_str(), Widen(key).c_str(), Widen(fallback).c_str(), buffer.data(),
        static_cast<DWORD>(buffer.size()), Widen(path_).c_str());
    buffer.resize(length);
    return Narrow(buffer);
}

void TSettingsFile::WriteString(const std::string& section, const std::string& key,
                                const std::string& value) {
    if (!WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                    Widen(value).c_str(), Widen(path_).c_str())) {
        FailedWrite();
    }
}

int TSettingsFile::ReadInteger(const std::string& section, const std::string& key,
                               int fallback) const {
    return ParseProfileInteger(ReadString(section, key, ""), fallback);
}

void TSettingsFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, FormatProfileInteger(value));
}

bool TSettingsFile::ReadBool(const std::string& section, const std::string& key,
                             bool fallback) const {
    return ParseProfileBool(ReadString(section, key, ""), fallback);
}

void TSettingsFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, FormatProfileBool(value));
}

void TSettingsFile::EraseSection(const std::string& section) {
    if (!WritePrivateProfileStringW(Widen(section).c_str(), nullptr, nullptr,
                                    Widen(path_).c_str())) {
        FailedWrite();
    }
}

std::vector<std::string> TSettingsFile::ReadSection(const std::string& section) const {
    std::wstring buffer(kProfileKeyListBuffer, L'\0');
    DWORD length =
        GetPrivateProfileStringW(Widen(section).c_str(), nullptr, L"", buffer.data(),
                                 static_cast<DWORD>(buffer.size()), Widen(path_).c_str());
    buffer.resize(length);
    return SplitKeyList(Narrow(buffer));
}

void TSettingsFile::FailedWrite() const {
    throw EIniFileException("Unable to write to " + path_);
}
