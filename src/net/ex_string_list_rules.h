#pragma once
// The request's lines: a list of texts that also finds and rewrites header
// lines by their name.
#include <string>
#include <vector>

class TExStringList {
  public:
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int index) const { return lines_.at(index); }
    void Clear() { lines_.clear(); }
    // Appends, or with Sorted inserts at its place; returns the index.
    int Add(const std::string& line);
    void Delete(int index);
    // Every line followed by CR LF.
    std::string Text() const;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);

    // The first line whose text before its first ":" is name, in any letter
    // case; -1 if there is none.
    int IndexOfHeader(const std::string& name) const;
    // Rewrites (or appends) the line "name: value"; an empty value deletes it.
    void SetHeader(const std::string& name, const std::string& value);

  private:
    std::vector<std::string> lines_;
    bool sorted_ = false;
};
