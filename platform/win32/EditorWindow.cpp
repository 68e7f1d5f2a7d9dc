#include "platform/win32/EditorWindow.h"

#include <windowsx.h>

#include "editor/IGraphics.h"
#include "editor/KeyCodes.h"
#include "platform/win32/GuiObjects.h"
#include "platform/win32/ThisModule.h"
#include "platform/win32/WindowClass.h"

namespace platform {
namespace {

constexpr float kBaseDpi = 96.0f;  // USER_DEFAULT_SCREEN_DPI: scale 1
#ifndef WM_DPICHANGED_AFTERPARENT
constexpr UINT WM_DPICHANGED_AFTERPARENT = 0x02E3;
#endif

// GetDpiForWindow exists from Windows 10 1607 on: looked up at run time so that the
// plug-in still loads on older systems, where the device context's DPI (which Windows
// reports as 96 to DPI-unaware hosts) is used instead. The host's DPI awareness is never
// changed: the window follows the thread's, as a child window must.
UINT DpiOf(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window)) return dpi;
  }
  HDC dc = GetDC(window);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
  if (dc) ReleaseDC(window, dc);
  return dpi > 0 ? UINT(dpi) : UINT(kBaseDpi);
}

IMouseMod ModOf(WPARAM keys) {
  return {.L = (keys & MK_LBUTTON) != 0,
          .R = (keys & MK_RBUTTON) != 0,
          .S = (keys & MK_SHIFT) != 0,
          .C = (keys & MK_CONTROL) != 0,
          .A = GetKeyState(VK_MENU) < 0};
}

// Digits and letters have their upper-case characters as virtual-key codes; the numeric
// keypad's digits count as digits too.
int KeyCodeOfVirtualKey(WPARAM key) {
  switch (key) {
    case VK_SPACE: return kKeySpace;
    case VK_UP: return kKeyUp;
    case VK_DOWN: return kKeyDown;
    case VK_LEFT: return kKeyLeft;
    case VK_RIGHT: return kKeyRight;
    default: break;
  }
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return kKeyDigit0 + int(key - VK_NUMPAD0);
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return KeyCodeOfCharacter(char32_t(key));
  return kNoKey;
}

}  // namespace

std::unique_ptr<EditorWindow> OpenEditorWindow(IGraphics& graphics, void* parent,
                                               const IRect& placement, float scale) {
  auto window = std::make_unique<Win32EditorWindow>(graphics);
  if (!window->Open(static_cast<HWND>(parent), placement, scale)) return nullptr;
  return window;
}

float SystemScaleFactor(void* parent) { return static_cast<float>(DpiOf(static_cast<HWND>(parent))) / kBaseDpi; }

Win32EditorWindow::~Win32EditorWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (classAcquired_) ReleaseEditorWindowClass();
}

bool Win32EditorWindow::Open(HWND parent, const IRect& placement, float scale) {
  scale_ = scale;
  width_ = placement.W();
  height_ = placement.H();
  if (!parent || !surface_.Create(width_, height_)) return false;
  classAcquired_ = AcquireEditorWindowClass(&WindowProc);
  if (!classAcquired_) return false;
  CreateWindowExW(0, kEditorWindowClass, L"Voltrex", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                  placement.L, placement.T, placement.W(), placement.H(), parent, nullptr,
                  ThisModule(), this);
  if (!hwnd_) return false;
  Tick();  // the editor shows at once rather than one timer period later
  return true;
}

IRect Win32EditorWindow::Placement() const {
  RECT rect{0, 0, width_, height_};
  if (hwnd_) {
    GetWindowRect(hwnd_, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
  }
  return {rect.left, rect.top, rect.right, rect.bottom};
}

// The window's user data points at this object, which belongs to the editor host.
LRESULT CALLBACK Win32EditorWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32EditorWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<Win32EditorWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Win32EditorWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleMouse(message, wParam, lParam)) return 0;
  switch (message) {
    case WM_CREATE:
      OnCreated();
      return 0;
    case WM_DESTROY:
      OnDestroyed();
      return 0;
    case WM_TIMER:
      if (wParam == kTimerId) Tick();
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painting covers every pixel
    case WM_PRINTCLIENT: {
      const RECT all{0, 0, width_, height_};
      surface_.BlitTo(reinterpret_cast<HDC>(wParam), all);
      return 0;
    }
    case WM_KEYDOWN:
      if (KeyDown(wParam)) return 0;
      break;
    // Hosts that run dialog-style key handling must leave the arrows and letters to us.
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_COMMAND:
      textEntry_.OnCommand(wParam, lParam);
      return 0;
    case WM_DPICHANGED_AFTERPARENT:
      FollowParentDpi();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

// Buttons capture the mouse so that a drag outside the window still reaches the control;
// a press also takes the keyboard focus, unless a text entry is open and holds it.
bool Win32EditorWindow::HandleMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (!graphics_.GetTextEntry().IsOpen()) SetFocus(hwnd_);
      SetCapture(hwnd_);
      graphics_.OnMouseDown(x, y, ModOf(wParam));
      return true;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      graphics_.OnMouseUp(x, y, ModOf(wParam));
      ReleaseCapture();
      return true;
    // Another window took the mouse in mid-drag (a dialog, the host): the drag ends there,
    // so that the host hears the edit end.
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd_ && graphics_.MouseCapture() != IGraphics::kNoControl)
        EndDragAtPointer();
      return true;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      SetCapture(hwnd_);
      graphics_.OnMouseDblClick(x, y, ModOf(wParam));
      return true;
    case WM_MOUSEMOVE:
      if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
      }
      graphics_.OnMouseMove(x, y, ModOf(wParam));
      return true;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      graphics_.OnMouseLeave();
      return true;
    case WM_MOUSEWHEEL: {
      POINT point{x, y};  // screen coordinates for this message
      ScreenToClient(hwnd_, &point);
      graphics_.OnMouseWheel(point.x, point.y, ModOf(GET_KEYSTATE_WPARAM(wParam)),
                             GET_WHEEL_DELTA_WPARAM(wParam));
      return true;
    }
    default:
      return false;
  }
}

void Win32EditorWindow::OnCreated() {
  NoteCreated(GuiObject::User, hwnd_);
  textEntry_.SetParent(hwnd_);
  graphics_.SetTextEntryWidget(&textEntry_);
  graphics_.WindowOpened(hwnd_, scale_);
  attached_ = true;
  SetTimer(hwnd_, kTimerId, UINT(graphics_.TimerPeriodMs()), nullptr);
  SetFocus(hwnd_);
}

// Also reached when the host destroys its own window before asking the editor to close.
void Win32EditorWindow::OnDestroyed() {
  NoteDestroyed(GuiObject::User);
  KillTimer(hwnd_, kTimerId);
  if (GetCapture() == hwnd_) ReleaseCapture();
  if (!attached_) return;
  attached_ = false;
  graphics_.WindowClosed();
  graphics_.SetTextEntryWidget(nullptr);
  textEntry_.Close();
}

// A factor forced by VOLTREX_SCALE or given by the host stays; one taken from the system
// follows it. The editor redraws at the new factor and asks the host to resize its window.
void Win32EditorWindow::FollowParentDpi() {
  const float scale = graphics_.ScaleFactorFor(GetParent(hwnd_));
  if (scale == scale_) return;
  graphics_.Rescale(scale);
  const IGraphicsRaster* raster = graphics_.Raster();
  if (!raster || !surface_.Create(raster->Width(), raster->Height())) return;
  scale_ = scale;
  width_ = raster->Width();
  height_ = raster->Height();
  SetWindowPos(hwnd_, nullptr, 0, 0, width_, height_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Tick();
}

void Win32EditorWindow::Tick() {
  const IRect painted = graphics_.OnTimerTick();
  const IGraphicsRaster* raster = graphics_.Raster();
  if (painted.Empty() || !raster || !hwnd_ || raster->Width() != width_) return;
  surface_.CopyFrom(raster->Pixels(), painted);
  const RECT rect{painted.L, painted.T, painted.R, painted.B};
  InvalidateRect(hwnd_, &rect, FALSE);
  UpdateWindow(hwnd_);
}

void Win32EditorWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  if (dc) surface_.BlitTo(dc, paint.rcPaint);
  EndPaint(hwnd_, &paint);
}

void Win32EditorWindow::EndDragAtPointer() {
  POINT pointer{};
  GetCursorPos(&pointer);
  ScreenToClient(hwnd_, &pointer);
  graphics_.OnMouseUp(pointer.x, pointer.y, {});
}

bool Win32EditorWindow::KeyDown(WPARAM virtualKey) {
  const int key = KeyCodeOfVirtualKey(virtualKey);
  if (key == kNoKey) return false;
  POINT pointer{};
  GetCursorPos(&pointer);
  ScreenToClient(hwnd_, &pointer);
  graphics_.OnKeyDown(pointer.x, pointer.y, key);
  return true;
}

}  // namespace platform
