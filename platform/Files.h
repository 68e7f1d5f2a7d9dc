// The file system as the core sees it: UTF-8 narrow paths, the platform's separator,
// folder listings in one stable order on every platform.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace platform {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

struct FolderEntry {
  std::string name;  // file or folder name, without the folder
  bool isFolder = false;
};

// The folder holding the plug-in binary (or the running program when linked statically),
// ending in the separator. Empty when it cannot be found.
std::string LibraryFolder();

// Entries of a folder, without "." and "..", sorted as NTFS sorts names (character by
// character after upper-casing). Empty when the folder cannot be read.
std::vector<FolderEntry> ListFolder(const std::string& folder);

// Opens a file by UTF-8 path (wide-character API on Windows); null on failure.
std::FILE* OpenFile(const std::string& path, const char* mode);

// The order ListFolder sorts by: true when a sorts before b.
bool NtfsNameLess(const std::string& a, const std::string& b);

}  // namespace platform
