#include "presets/NameList.h"

#include "presets/Utf8Cut.h"

bool NameList::Add(std::string_view name, std::string_view fileName) {
  if (count_ >= kMaxEntries || fileName.size() >= std::size_t(kFileNameBytes)) return false;
  CopyIntoSlot(names_[count_], kNameBytes, name);
  CopyIntoSlot(fileNames_[count_], kFileNameBytes, fileName);
  ++count_;
  return true;
}

const char* NameList::Name(int index) const { return Holds(index) ? names_[index] : ""; }

const char* NameList::FileName(int index) const {
  return Holds(index) ? fileNames_[index] : "";
}
