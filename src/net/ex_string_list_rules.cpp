#include "net/ex_string_list_rules.h"

#include "toolkit/string_rules.h"

#include <algorithm>

namespace {

// The key a sorted list is ordered and searched by: the name before the first
// ":", or the whole line when it has none. Ordering by whole lines would not
// do: "Accept-Language: de" comes before "Accept: */*" although its name
// comes after "Accept".
std::string SortKey(const std::string& line) {
    return LowerAscii(line.substr(0, line.find(':')));
}

bool LineLess(const std::string& a, const std::string& b) {
    const std::string keyA = SortKey(a);
    const std::string keyB = SortKey(b);
    return keyA != keyB ? keyA < keyB : LowerAscii(a) < LowerAscii(b);
}

} // namespace

int TExStringList::Add(const std::string& line) {
    auto at =
        sorted_ ? std::upper_bound(lines_.begin(), lines_.end(), line, LineLess) : lines_.end();
    return static_cast<int>(lines_.insert(at, line) - lines_.begin());
}

void TExStringList::Delete(int index) {
    lines_.erase(lines_.begin() + index);
}

std::string TExStringList::Text() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return text;
}

void TExStringList::SetSorted(bool sorted) {
    if (sorted && !sorted_) {
        std::stable_sort(lines_.begin(), lines_.end(), LineLess);
    }
    sorted_ = sorted;
}

int TExStringList::IndexOfHeader(const std::string& name) const {
    const std::string key = LowerAscii(name);
    const auto isHeader = [&](const std::string& line) {
        return line.find(':') != std::string::npos && SortKey(line) == key;
    };
    if (!sorted_) {
        const auto found = std::find_if(lines_.begin(), lines_.end(), isHeader);
        return found == lines_.end() ? -1 : static_cast<int>(found - lines_.begin());
    }
    // Halve down to the first line of that key; lines of the same key without
    // a ":" may come before the header.
    auto at = std::partition_point(lines_.begin(), lines_.end(),
                                   [&](const std::string& line) { return SortKey(line) < key; });
    for (; at != lines_.end() && SortKey(*at) == key; ++at) {
        if (isHeader(*at)) {
            return static_cast<int>(at - lines_.begin());
        }
    }
    return -1;
}

void TExStringList::SetHeader(const std::string& name, const std::string& value) {
    int index = IndexOfHeader(name);
    if (value.empty()) {
        if (index >= 0) {
            Delete(index);
        }
        return;
    }
    const std::string line = name + ": " + value;
    if (index < 0) {
        Add(line);
    } else if (sorted_) {
        Delete(index);
        Add(line);
    } else {
        lines_[index] = line;
    }
}
