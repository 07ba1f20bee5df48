#include "settings/alarm_settings.h"

#include "toolkit/wide.h"

StoredAlarm ReadStoredAlarm(const TSettingsFile& file) {
    return ReadStoredAlarm([&file](const std::string& key, const std::string& fallback) {
        return file.ReadString("Wecker", key, fallback);
    });
}

bool TStoredAlarmReader::Stamp::operator==(const Stamp& other) const {
    return file == other.file && changes == other.changes && found == other.found &&
           CompareFileTime(&written, &other.written) == 0 && sizeHigh == other.sizeHigh &&
           sizeLow == other.sizeLow;
}

TStoredAlarmReader::Stamp TStoredAlarmReader::StampOf(const TSettingsFile& file) {
    if (stamp_.file != &file) {
        path_ = Widen(file.FileName());
    }
    Stamp stamp;
    stamp.file = &file;
    stamp.changes = file.Changes();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data)) {
        stamp.found = true;
        stamp.written = data.ftLastWriteTime;
        stamp.sizeHigh = data.nFileSizeHigh;
        stamp.sizeLow = data.nFileSizeLow;
    }
    return stamp;
}

const StoredAlarm& TStoredAlarmReader::Read(const TSettingsFile& file, bool lookAtFile) {
    if (!lookAtFile && alarm_ && stamp_.file == &file && stamp_.changes == file.Changes()) {
        return *alarm_;
    }
    const Stamp stamp = StampOf(file);
    if (!alarm_ || !(stamp == stamp_)) {
        alarm_ = ReadStoredAlarm(file);
        stamp_ = stamp;
    }
    return *alarm_;
}
