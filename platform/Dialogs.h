// Modal dialogs: message boxes and the open-file dialog. Tests replace both with
// scripted seams so that nothing ever waits for a click.
#pragma once

#include <string>

namespace platform {

// Shows a modal message box with an OK button. While a sink is installed the sink gets
// the texts instead and no window appears.
void ShowMessage(const std::string& text, const std::string& caption);

using MessageSink = void (*)(const std::string& text, const std::string& caption, void* user);
void SetMessageSink(MessageSink sink, void* user);

// While one of these lives on a thread (the host's audio callbacks), messages raised there
// are not shown: a modal box would stall the host's audio until clicked. The first one waits
// in a fixed slot, without allocating or blocking, until ShowDeferredMessage.
class ScopedMessageDeferral {
 public:
  ScopedMessageDeferral();
  ~ScopedMessageDeferral();
  ScopedMessageDeferral(const ScopedMessageDeferral&) = delete;
  ScopedMessageDeferral& operator=(const ScopedMessageDeferral&) = delete;
};
// Shows the message that waits, if any (interface thread, without the plug-in lock).
void ShowDeferredMessage();

enum class FileAction { Open = 0, Save = 1 };

// Asks the user for a file starting in folder; false (and an empty result) on cancel.
// parentWindow is the editor's native window, or null. While a file answer is scripted
// the answer is returned instead and no dialog appears.
bool PromptForFile(std::string& result, FileAction action, const std::string& folder,
                   void* parentWindow);

using FileAnswer = bool (*)(std::string& result, FileAction action, const std::string& folder,
                            void* user);
void SetFileAnswer(FileAnswer answer, void* user);

// The native implementations behind the seams, one per platform.
void ShowNativeMessage(const std::string& text, const std::string& caption);
bool PromptNativeFile(std::string& result, FileAction action, const std::string& folder,
                      void* parentWindow);

}  // namespace platform
