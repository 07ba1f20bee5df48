#include "net/ex_string_list.h"

#include "toolkit/strings.h"

#include <algorithm>

namespace {

// The key a sorted list is ordered by and a header is found by.
std::string HeaderKey(const std::string& line) {
    const std::size_t colon = line.find(':');
    return colon == std::string::npos ? std::string() : LowerAscii(line.substr(0, colon));
}

bool LineLess(const std::string& a, const std::string& b) {
    return LowerAscii(a) < LowerAscii(b);
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
    if (!sorted_) {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (lines_[i].find(':') != std::string::npos && HeaderKey(lines_[i]) == key) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    // A sorted list is ordered by whole lines, which orders the names too:
    // halve down to the first line not before the name, then look there.
    int low = 0;
    int high = Count() - 1;
    int found = -1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const std::string& line = lines_[middle];
        const std::string middleKey =
            line.find(':') == std::string::npos ? LowerAscii(line) : HeaderKey(line);
        if (middleKey < key) {
            low = middle + 1;
        } else {
            if (middleKey == key && line.find(':') != std::string::npos) {
                found = middle;
            }
            high = middle - 1;
        }
    }
    return found;
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
