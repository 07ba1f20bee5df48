#pragma once
// The settings file "Tikkora.ini": a profile file read and written through the
// platform's profile functions. Every read goes to the file and every write is
// made at once, except while the owner holds reads (below). A refused write
// throws EIniFileException, unless the owner defers refusals (below).
#include "rules/message_history.h"

#include <map>
#include <string>
#include <tuple>
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

    // While the returned object lives, a string read that was made once is
    // answered from memory when it is made again (same section, key and
    // default), so that a start-up that applies the same keys several times
    // reads each from the file once. A write or erase through this object
    // still goes to the file at once and forgets what it touched, so the next
    // read of it goes to the file again. Meant for spans in which no other
    // program can be expected to change the file, such as the start-up.
    class HeldReads {
      public:
        explicit HeldReads(const TSettingsFile& file) : file_(&file) { ++file_->holds_; }
        HeldReads(const HeldReads&) = delete;
        HeldReads& operator=(const HeldReads&) = delete;
        ~HeldReads() {
            if (--file_->holds_ == 0) {
                file_->held_.clear();
            }
        }

      private:
        const TSettingsFile* file_;
    };
    [[nodiscard]] HeldReads HoldReads() const { return HeldReads(*this); }

    // Counts the writes and erases made through this object, so that a reader
    // that keeps what it read knows when to read it again.
    unsigned Changes() const { return changes_; }

    // While the returned object lives, a refused write throws nothing and the
    // first refusal is kept: a span of many writes (the start-up) is carried
    // through to its end, and the refusal is told once there.
    class DeferredWriteFailures {
      public:
        explicit DeferredWriteFailures(TSettingsFile& file) : file_(&file) { ++file_->defers_; }
        DeferredWriteFailures(const DeferredWriteFailures&) = delete;
        DeferredWriteFailures& operator=(const DeferredWriteFailures&) = delete;
        ~DeferredWriteFailures() {
            if (--file_->defers_ == 0) {
                file_->firstRefusal_.clear();
            }
        }
        // Throws the EIniFileException of the first refused write, if any.
        void ThrowFirst() const;

      private:
        TSettingsFile* file_;
    };
    [[nodiscard]] DeferredWriteFailures DeferWriteFailures() {
        return DeferredWriteFailures(*this);
    }

  private:
    void FailedWrite();
    std::string ReadFromFile(const std::string& section, const std::string& key,
                             const std::string& fallback) const;
    void Forget(const std::string& section, const std::string* key);

    std::string path_;
    using HeldKey = std::tuple<std::string, std::string, std::string>;
    mutable std::map<HeldKey, std::string> held_;
    mutable int holds_ = 0;
    unsigned changes_ = 0;
    int defers_ = 0;
    std::string firstRefusal_;
};
