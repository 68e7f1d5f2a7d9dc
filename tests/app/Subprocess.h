// The voltrex binary and a JACK server as child processes of a test: started with their
// own environment, their output kept in files, waited for with generous timeouts.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

class Subprocess {
 public:
  // Starts argv with the test's environment plus env; output goes to outputBase + ".out"
  // and ".err".
  Subprocess(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
             const std::string& outputBase);
  // Kills the process if it still runs.
  ~Subprocess();

  bool Started() const { return pid_ > 0; }
  void Signal(int signal) const;
  // The exit status, or -1 when it has not ended within seconds (or died of a signal).
  int Wait(double seconds);
  bool Running();
  std::string Out() const;
  std::string Err() const;

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  bool ended_ = false;
  std::string outputBase_;
};

// Runs to the end (or kills after seconds), gives the exit status; output in out and err.
int RunToEnd(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
             const std::string& outputBase, std::string* out = nullptr, std::string* err = nullptr,
             double seconds = 300.0);

std::string ReadText(const std::string& path);
// Waits until predicate holds, checking every few milliseconds; false after seconds.
template <typename Predicate>
bool WaitFor(Predicate predicate, double seconds);
void SleepSeconds(double seconds);
double Now();

template <typename Predicate>
bool WaitFor(Predicate predicate, double seconds) {
  const double end = Now() + seconds;
  while (!predicate()) {
    if (Now() > end) return false;
    SleepSeconds(0.02);
  }
  return true;
}
