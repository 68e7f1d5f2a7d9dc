// A list of up to 100 names in fixed slots with a count, as the browser shows them. Each
// entry keeps its file or folder name beside the shown name, so a name cut to fit its slot,
// or one whose extension differs in case, still opens its own file.
#pragma once

#include <string_view>

class NameList {
 public:
  static constexpr int kMaxEntries = 100;
  static constexpr int kNameBytes = 100;      // 99 bytes and the terminator
  static constexpr int kFileNameBytes = 256;  // 255 bytes, the longest name file systems allow

  // Appends an entry, its name cut to 99 bytes. False (and nothing added) when the list is
  // full or the file name does not fit its slot, since a cut file name would open nothing.
  bool Add(std::string_view name, std::string_view fileName);
  void Clear() { count_ = 0; }

  int Count() const { return count_; }
  // The shown name and the file name of an entry; "" for any index outside the list.
  const char* Name(int index) const;
  const char* FileName(int index) const;

 private:
  bool Holds(int index) const { return index >= 0 && index < count_; }

  int count_ = 0;
  char names_[kMaxEntries][kNameBytes] = {};
  char fileNames_[kMaxEntries][kFileNameBytes] = {};
};
