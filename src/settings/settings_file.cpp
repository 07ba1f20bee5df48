#include "settings/settings_file.h"

#include "rules/profile_values.h"
#include "toolkit/exceptions.h"
#include "toolkit/gdi.h"
#include "toolkit/wide.h"

#include <windows.h>

namespace {

// Sections and keys are found without regard to ASCII letter case.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string TSettingsFile::ReadString(const std::string& section, const std::string& key,
                                      const std::string& fallback) const {
    if (holds_ == 0) {
        return ReadFromFile(section, key, fallback);
    }
    HeldKey heldKey{section, key, fallback};
    if (auto found = held_.find(heldKey); found != held_.end()) {
        return found->second;
    }
    std::string value = ReadFromFile(section, key, fallback);
    held_.emplace(std::move(heldKey), value);
    return value;
}

void TSettingsFile::Forget(const std::string& section, const std::string* key) {
    ++changes_;
    std::erase_if(held_, [&](const auto& entry) {
        return SameName(std::get<0>(entry.first), section) &&
               (!key || SameName(std::get<1>(entry.first), *key));
    });
}

std::string TSettingsFile::ReadFromFile(const std::string& section, const std::string& key,
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
    // Forgotten first: even a refused write may have changed the file.
    Forget(section, &key);
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
    Forget(section, nullptr);
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

KeepsCharacter TSettingsFile::CharacterTest() const {
    bool unicode = GetACP() == CP_UTF8;
    HANDLE file = CreateFileW(Widen(path_).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        UniqueKernelHandle owner(file);
        unsigned char mark[2] = {};
        DWORD read = 0;
        unicode = unicode || (ReadFile(file, mark, 2, &read, nullptr) && read == 2 &&
                              mark[0] == 0xFF && mark[1] == 0xFE);
    }
    if (unicode) {
        return [](char32_t) { return true; };
    }
    return [](char32_t character) {
        std::wstring wide;
        if (character >= 0x10000) {
            wide += static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10));
            wide += static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(character);
        }
        char bytes[8];
        BOOL usedDefault = FALSE;
        // No best fit: "é" written as "e" would be a different message.
        const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                               static_cast<int>(wide.size()), bytes, sizeof(bytes),
                                               nullptr, &usedDefault);
        return length > 0 && !usedDefault;
    };
}

void TSettingsFile::FailedWrite() {
    const std::string refusal = "Unable to write to " + path_;
    if (defers_ == 0) {
        throw EIniFileException(refusal);
    }
    if (firstRefusal_.empty()) {
        firstRefusal_ = refusal;
    }
}

void TSettingsFile::DeferredWriteFailures::ThrowFirst() const {
    if (!file_->firstRefusal_.empty()) {
        throw EIniFileException(file_->firstRefusal_);
    }
}
