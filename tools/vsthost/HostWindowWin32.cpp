#include <windows.h>

#include "tools/vsthost/HostWindow.h"

namespace vsthost {

namespace {
constexpr wchar_t kClassName[] = L"VsthostStressWindow";
constexpr int kWidth = 800;
constexpr int kHeight = 600;

bool RegisterWindowClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExW(&windowClass) != 0;
  }();
  return registered;
}
}  // namespace

struct HostWindow::Native {
  HWND window = nullptr;
};

HostWindow::HostWindow(std::unique_ptr<Native> native) : native_(std::move(native)) {}

// Hidden: the editor opens as its child all the same, and nothing appears on screen.
std::unique_ptr<HostWindow> HostWindow::Create() {
  if (!RegisterWindowClass()) return nullptr;
  auto native = std::make_unique<Native>();
  native->window = CreateWindowExW(0, kClassName, L"vsthost stress", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                   kWidth, kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!native->window) return nullptr;
  return std::unique_ptr<HostWindow>(new HostWindow(std::move(native)));
}

HostWindow::~HostWindow() { DestroyWindow(native_->window); }

void* HostWindow::NativeHandle() const { return native_->window; }

void HostWindow::PumpEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace vsthost
