#include "platform/Dialogs.h"


namespace platform {
namespace {

struct MessageSeam {
  MessageSink sink = nullptr;
  void* user = nullptr;
};
struct FileSeam {
  FileAnswer answer = nullptr;
  void* user = nullptr;
};
MessageSeam gMessageSeam;
FileSeam gFileSeam;

}  // namespace

void SetMessageSink(MessageSink sink, void* user) { gMessageSeam = {sink, user}; }

void ShowMessage(const std::string& text, const std::string& caption) {
  if (gMessageSeam.sink) {
    gMessageSeam.sink(text, caption, gMessageSeam.user);
    return;
  }
  ShowNativeMessage(text, caption);
}

void SetFileAnswer(FileAnswer answer, void* user) { gFileSeam = {answer, user}; }

bool PromptForFile(std::string& result, FileAction action, const std::string& folder,
                   void* parentWindow) {
  result.clear();
  if (gFileSeam.answer) return gFileSeam.answer(result, action, folder, gFileSeam.user);
  return PromptNativeFile(result, action, folder, parentWindow);
}

}  // namespace platform
