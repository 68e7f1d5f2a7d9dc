#include "platform/Files.h"

#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace platform {

namespace {

// The file that holds this code: the shared library when loaded as a plug-in, otherwise
// the program itself.
std::string ModulePath() {
  Dl_info info{};
  std::string path;
  if (dladdr(reinterpret_cast<void*>(&LibraryFolder), &info) && info.dli_fname &&
      std::string(info.dli_fname).find('/') != std::string::npos)
    path = info.dli_fname;
  else
    path = "/proc/self/exe";
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

bool IsFolder(const std::string& folder, const dirent& entry) {
  if (entry.d_type == DT_DIR) return true;
  if (entry.d_type != DT_UNKNOWN && entry.d_type != DT_LNK) return false;
  struct stat info {};
  return stat((folder + '/' + entry.d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string LibraryFolder() {
  const std::string path = ModulePath();
  const auto separator = path.rfind('/');
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::vector<FolderEntry> ListFolder(const std::string& folder) {
  std::vector<FolderEntry> entries;
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return entries;
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    entries.push_back({name, IsFolder(folder, *entry)});
  }
  closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return NtfsNameLess(a.name, b.name); });
  return entries;
}

std::FILE* OpenFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

}  // namespace platform
