#include <cstdio>

#include "platform/Dialogs.h"

namespace platform {

// Without a toolkit the message goes to standard error, where a host's log shows it.
void ShowNativeMessage(const std::string& text, const std::string& caption) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

// No file dialog on Linux yet: the prompt answers as if cancelled.
bool PromptNativeFile(std::string&, FileAction, const std::string&, void*) { return false; }

}  // namespace platform
