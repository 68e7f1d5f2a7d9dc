#include "platform/win32/GuiObjects.h"

#include <atomic>

#include "platform/EditorWindow.h"

namespace platform {

namespace {
std::atomic<long> gLiveGdi{0};
std::atomic<long> gLiveUser{0};

std::atomic<long>& Tally(GuiObject kind) { return kind == GuiObject::Gdi ? gLiveGdi : gLiveUser; }
}  // namespace

void NoteCreated(GuiObject kind, const void* handle) {
  if (handle) Tally(kind).fetch_add(1, std::memory_order_relaxed);
}

void NoteDestroyed(GuiObject kind) { Tally(kind).fetch_sub(1, std::memory_order_relaxed); }

GuiObjectCounts LiveGuiObjects() {
  return {gLiveGdi.load(std::memory_order_relaxed), gLiveUser.load(std::memory_order_relaxed)};
}

}  // namespace platform
