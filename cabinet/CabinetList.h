// The WAVE files of the impulse-response folder, in the platform's stable listing order.
#pragma once

#include <string>
#include <vector>

class CabinetList {
 public:
  static constexpr int kMaxEntries = 1024;
  static constexpr int kMaxNameBytes = 255;

  // Lists the files of folder whose extension is ".wav", ".Wav" or ".WAV" (the first
  // kMaxEntries of them). Returns the index of the file named chosenFileName, or -1.
  int Build(const std::string& folder, const std::string& chosenFileName);

  int Count() const { return static_cast<int>(entries_.size()); }
  // The name shown for an entry: the file name without its extension, cut to
  // kMaxNameBytes bytes at a character boundary.
  const std::string& Name(int index) const { return entries_[index].name; }
  // The whole file name, with its own extension, for loading.
  const std::string& FileName(int index) const { return entries_[index].fileName; }

 private:
  struct Entry {
    std::string name;
    std::string fileName;
  };
  std::vector<Entry> entries_;
};
