// A fresh folder under the system's temporary folder, removed with its contents at the end.
#pragma once

#include <filesystem>
#include <string>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  // The folder's path ending in a separator.
  std::string Path() const;

 private:
  std::filesystem::path path_;
};
