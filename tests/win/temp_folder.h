#pragma once
// A fresh folder under the temporary folder for one test, removed with its files.
#include "toolkit/wide.h"

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

class TempFolder {
  public:
    TempFolder() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        path_ = Narrow(temp) + "tikkora-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter) + "\\";
        CreateDirectoryW(Widen(path_).c_str(), nullptr);
    }
    ~TempFolder() {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(Widen(path_ + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = Widen(path_) + found.cFileName;
                SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveDirectoryW(name.c_str());
                } else {
                    DeleteFileW(name.c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(Widen(path_).c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Ends in "\".
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + name; }

    void Write(const std::string& name, const std::string& text) const {
        std::ofstream file(Widen(File(name)).c_str(), std::ios::binary);
        file << text;
    }
    std::string Read(const std::string& name) const {
        std::ifstream file(Widen(File(name)).c_str(), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

  private:
    std::string path_;
};
