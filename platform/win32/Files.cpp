#include "platform/Files.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/ThisModule.h"
#include "platform/win32/WideText.h"

namespace platform {

namespace {

constexpr DWORD kLongestPathChars = 32768;

// The file name of the module (DLL or program) that holds this code.
std::wstring ModulePath() {
  HMODULE module = ThisModule();
  if (!module) return {};
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return path.substr(0, length);
    if (path.size() >= kLongestPathChars) return {};
    path.resize(path.size() * 2);
  }
}

bool EndsWithSeparator(const std::string& folder) {
  return !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
}

}  // namespace

std::string LibraryFolder() {
  const std::string path = Narrow(ModulePath());
  const auto separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::vector<FolderEntry> ListFolder(const std::string& folder) {
  std::vector<FolderEntry> entries;
  const std::string pattern = folder + (EndsWithSeparator(folder) || folder.empty() ? "*" : "\\*");
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(Widen(pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::string name = Narrow(found.cFileName);
    if (name == "." || name == "..") continue;
    entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return NtfsNameLess(a.name, b.name); });
  return entries;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
  return _wfopen(Widen(path).c_str(), Widen(mode).c_str());
}

}  // namespace platform
