#include "tests/app/Subprocess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

std::vector<std::string> Environment(const std::map<std::string, std::string>& overrides) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry(*e);
    if (!overrides.count(entry.substr(0, entry.find('=')))) env.push_back(entry);
  }
  for (const auto& [name, value] : overrides) env.push_back(name + "=" + value);
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void SleepSeconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

std::string ReadText(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

Subprocess::Subprocess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
                       const std::string& outputBase)
    : outputBase_(outputBase) {
  std::vector<std::string> args = argv;
  std::vector<std::string> environment = Environment(env);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, (outputBase + ".out").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (outputBase + ".err").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (posix_spawnp(&pid_, args[0].c_str(), &actions, nullptr, Pointers(args).data(),
                   Pointers(environment).data()) != 0)
    pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
}

Subprocess::~Subprocess() {
  if (pid_ > 0 && !ended_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
  }
}

void Subprocess::Signal(int signal) const {
  if (pid_ > 0 && !ended_) kill(pid_, signal);
}

bool Subprocess::Running() {
  if (pid_ <= 0 || ended_) return false;
  if (waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
  return !ended_;
}

int Subprocess::Wait(double seconds) {
  WaitFor([this] { return !Running(); }, seconds);
  if (!ended_ || !WIFEXITED(status_)) return -1;
  return WEXITSTATUS(status_);
}

std::string Subprocess::Out() const { return ReadText(outputBase_ + ".out"); }
std::string Subprocess::Err() const { return ReadText(outputBase_ + ".err"); }

int RunToEnd(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
             const std::string& outputBase, std::string* out, std::string* err, double seconds) {
  Subprocess process(argv, env, outputBase);
  const int status = process.Wait(seconds);
  if (out) *out = process.Out();
  if (err) *err = process.Err();
  return status;
}
