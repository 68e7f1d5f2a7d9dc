// The editor's window on Windows: a child window of class "VoltrexWndClass" inside the
// host's window. Its timer asks the editor host to paint and blits what was painted; its
// mouse, wheel and key messages go to the editor host in window coordinates.
#pragma once

#include <windows.h>

#include "platform/EditorWindow.h"
#include "platform/win32/DibSurface.h"
#include "platform/win32/Win32TextEntry.h"

namespace platform {

class Win32EditorWindow final : public EditorWindow {
 public:
  static constexpr UINT_PTR kTimerId = 1;

  explicit Win32EditorWindow(IGraphics& graphics) : graphics_(graphics), textEntry_(graphics) {}
  ~Win32EditorWindow() override;
  Win32EditorWindow(const Win32EditorWindow&) = delete;
  Win32EditorWindow& operator=(const Win32EditorWindow&) = delete;

  // Creates the window at placement inside parent and draws the editor into it at scale;
  // false on failure (then the class registration is undone again when no other window
  // uses it).
  bool Open(HWND parent, const IRect& placement, float scale);

  void* NativeHandle() const override { return hwnd_; }
  IRect Placement() const override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool HandleMouse(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreated();
  void OnDestroyed();
  void Tick();
  void Paint();
  void EndDragAtPointer();
  // The host's window moved to a screen of another density.
  void FollowParentDpi();
  // False for keys without a code, which are left to the default handling.
  bool KeyDown(WPARAM virtualKey);

  IGraphics& graphics_;
  HWND hwnd_ = nullptr;
  bool classAcquired_ = false;
  bool attached_ = false;      // the editor host knows of this window
  bool trackingLeave_ = false;  // a mouse-leave notification is requested
  float scale_ = 1.0f;
  int width_ = 0;  // the window's size in its own pixels
  int height_ = 0;
  DibSurface surface_;
  Win32TextEntry textEntry_;
};

}  // namespace platform
