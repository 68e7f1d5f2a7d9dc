#include "platform/win32/WindowClass.h"

#include <mutex>

#include "platform/win32/ThisModule.h"

namespace platform {
namespace {

std::mutex classLock;
int openWindows = 0;  // guarded by classLock

}  // namespace

bool AcquireEditorWindowClass(WNDPROC proc) {
  std::lock_guard<std::mutex> guard(classLock);
  if (openWindows == 0) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = ThisModule();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kEditorWindowClass;
    if (!RegisterClassExW(&windowClass)) return false;
  }
  ++openWindows;
  return true;
}

void ReleaseEditorWindowClass() {
  std::lock_guard<std::mutex> guard(classLock);
  if (openWindows == 0) return;
  if (--openWindows == 0) UnregisterClassW(kEditorWindowClass, ThisModule());
}

}  // namespace platform
