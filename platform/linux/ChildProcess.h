// Running a desktop tool as a child process and reading its answer. No shell comes in
// between: every argument reaches the program exactly as given, whatever it contains.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// True when one of PATH's folders holds an executable file of that name.
bool IsOnPath(const std::string& program);

// Runs argv[0], found on PATH, with argv and waits for it to end. Gives everything it wrote
// to standard output less one final newline; nullopt when it could not start or ended
// with a status other than 0.
std::optional<std::string> RunAndReadLine(const std::vector<std::string>& argv);

}  // namespace platform
