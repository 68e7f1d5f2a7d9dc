#include "platform/linux/ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {
namespace {

constexpr std::size_t kReadChunkBytes = 4096;
// The folders execvp searches when PATH is not set.
constexpr const char* kDefaultPath = "/bin:/usr/bin";

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

// Starts argv with its standard output on outputFd; the child's id, or -1.
pid_t Spawn(const std::vector<std::string>& argv, int outputFd) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return -1;
  pid_t child = -1;
  const bool started =
      posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO) == 0 &&
      posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  return started ? child : -1;
}

// Reads until every writer has closed the pipe.
std::string ReadAll(int fd) {
  std::string text;
  char chunk[kReadChunkBytes];
  for (;;) {
    const ssize_t count = read(fd, chunk, sizeof chunk);
    if (count > 0)
      text.append(chunk, std::size_t(count));
    else if (count == 0 || errno != EINTR)
      return text;
  }
}

bool ExitedWithSuccess(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool IsOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  const std::string folders = path ? path : kDefaultPath;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = folders.find(':', start);
    const std::string folder = folders.substr(start, end - start);
    // An empty entry stands for the current folder.
    if (IsExecutableFile((folder.empty() ? "." : folder) + '/' + program)) return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

std::optional<std::string> RunAndReadLine(const std::vector<std::string>& argv) {
  int pipeFds[2];
  if (argv.empty() || pipe2(pipeFds, O_CLOEXEC) != 0) return std::nullopt;
  const pid_t child = Spawn(argv, pipeFds[1]);
  // Only the child's copy of the write end is left, so the reading ends when the child does.
  close(pipeFds[1]);
  std::string output = child > 0 ? ReadAll(pipeFds[0]) : std::string();
  close(pipeFds[0]);
  if (child <= 0 || !ExitedWithSuccess(child)) return std::nullopt;
  if (!output.empty() && output.back() == '\n') output.pop_back();
  return output;
}

}  // namespace platform
