#include "platform/Dialogs.h"

#include <algorithm>
#include <atomic>
#include <cstring>

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

// One message raised on a deferring thread, shared by every instance in the process. A
// writer claims the slot (empty -> writing), fills it and publishes it (full); the reader
// takes it the same way (full -> writing -> empty). A message raised while one waits is dropped.
constexpr std::size_t kDeferredTextBytes = 1024;
constexpr std::size_t kDeferredCaptionBytes = 64;
enum SlotState : int { kEmpty, kWriting, kFull };
struct DeferredMessage {
  std::atomic<int> state{kEmpty};
  char text[kDeferredTextBytes] = {};
  char caption[kDeferredCaptionBytes] = {};
};
DeferredMessage gDeferred;
thread_local int tDeferralDepth = 0;

void CopyCut(char* slot, std::size_t slotBytes, const std::string& text) {
  const std::size_t n = std::min(text.size(), slotBytes - 1);
  std::memcpy(slot, text.data(), n);
  slot[n] = '\0';
}

void Defer(const std::string& text, const std::string& caption) {
  int expected = kEmpty;
  if (!gDeferred.state.compare_exchange_strong(expected, kWriting, std::memory_order_acquire)) return;
  CopyCut(gDeferred.text, kDeferredTextBytes, text);
  CopyCut(gDeferred.caption, kDeferredCaptionBytes, caption);
  gDeferred.state.store(kFull, std::memory_order_release);
}

void Show(const std::string& text, const std::string& caption) {
  if (gMessageSeam.sink) {
    gMessageSeam.sink(text, caption, gMessageSeam.user);
    return;
  }
  ShowNativeMessage(text, caption);
}

}  // namespace

void SetMessageSink(MessageSink sink, void* user) { gMessageSeam = {sink, user}; }

ScopedMessageDeferral::ScopedMessageDeferral() { ++tDeferralDepth; }
ScopedMessageDeferral::~ScopedMessageDeferral() { --tDeferralDepth; }

void ShowMessage(const std::string& text, const std::string& caption) {
  if (tDeferralDepth > 0) {
    Defer(text, caption);
    return;
  }
  Show(text, caption);
}

void ShowDeferredMessage() {
  int expected = kFull;
  if (!gDeferred.state.compare_exchange_strong(expected, kWriting, std::memory_order_acquire)) return;
  const std::string text(gDeferred.text);
  const std::string caption(gDeferred.caption);
  gDeferred.state.store(kEmpty, std::memory_order_release);
  Show(text, caption);
}

void SetFileAnswer(FileAnswer answer, void* user) { gFileSeam = {answer, user}; }

bool PromptForFile(std::string& result, FileAction action, const std::string& folder,
                   void* parentWindow) {
  result.clear();
  if (gFileSeam.answer) return gFileSeam.answer(result, action, folder, gFileSeam.user);
  return PromptNativeFile(result, action, folder, parentWindow);
}

}  // namespace platform
