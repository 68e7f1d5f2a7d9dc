// The Windows side of the editor window tests: a child of a frame of the test's own as the
// host's view, window messages sent as Windows sends them, and a message loop pumped for a
// bounded time. Also what only Windows has: the window class and the mouse capture.
#include <windows.h>

#include "amp/ParamIds.h"
#include "tests/window/EditorWindowTest.h"

namespace {

constexpr wchar_t kEditorClass[] = L"VoltrexWndClass";
constexpr wchar_t kHostClass[] = L"VoltrexTestHostWindow";
// Room for the editor at twice its size.
constexpr int kHostWidth = 1300;
constexpr int kHostHeight = 920;
constexpr int kDenseDpi = 192;
constexpr int kPumpSliceMs = 5;

bool RegisterHostClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = kHostClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  return registered;
}

void Pump(int ms) {
  const ULONGLONG end = GetTickCount64() + ULONGLONG(ms);
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (ms > 0) Sleep(kPumpSliceMs);
  } while (GetTickCount64() < end);
}

// A view for the editor, a child of one top-level frame that serves the whole run: under
// Wine without a window manager, destroying a top-level window waits seconds for the
// manager's answer.
HWND CreateHostView() {
  static HWND frame = RegisterHostClass()
      ? CreateWindowExW(0, kHostClass, L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                        kHostWidth + 100, kHostHeight + 100, nullptr, nullptr,
                        GetModuleHandleW(nullptr), nullptr)
      : nullptr;
  if (!frame) return nullptr;
  HWND view = CreateWindowExW(0, kHostClass, L"View", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                              0, 0, kHostWidth, kHostHeight, frame, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  Pump(20);
  return view;
}

HWND EditorIn(HWND parent) { return FindWindowExW(parent, nullptr, kEditorClass, nullptr); }

bool EditorClassRegistered() {
  HMODULE plugin = GetModuleHandleW(L"Voltrex.dll");
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  return plugin && GetClassInfoExW(plugin, kEditorClass, &info);
}

void Send(HWND window, UINT message, WPARAM keys, int x, int y) {
  SendMessageW(window, message, keys, MAKELPARAM(x, y));
}

}  // namespace

struct EditorWindowTest::Native {
  HWND host = nullptr;
  HWND editor = nullptr;

  HWND Entry() const { return editor ? FindWindowExW(editor, nullptr, nullptr, nullptr) : nullptr; }
};

const char* const EditorWindowTest::kScreenName = "editor-win32.png";

EditorWindowTest::EditorWindowTest() : native_(std::make_unique<Native>()) {}
EditorWindowTest::~EditorWindowTest() = default;

bool EditorWindowTest::CreateHostWindow() {
  native_->host = CreateHostView();
  return native_->host != nullptr;
}

void EditorWindowTest::DestroyHostWindow() {
  if (native_->host) DestroyWindow(native_->host);
  native_->host = nullptr;
  Pump(0);
}

bool EditorWindowTest::Open() {
  if (host_->Dispatch(vst2::effEditOpen, 0, 0, native_->host) != 1) return false;
  native_->editor = EditorIn(native_->host);
  Pump(kTicksMs);
  return native_->editor != nullptr;
}

void EditorWindowTest::Idle(int ms) { Pump(ms); }

void* EditorWindowTest::HostWindowHandle() { return native_->host; }

// The editor's own tally of the GDI and USER objects it holds, through the binary's
// vendor-specific query (Wine's GetGuiResources answers 0).
std::map<std::string, long> EditorWindowTest::ResourceCounts() {
  constexpr int32_t kGuiObjectsQuery = 0x56786F62;
  int32_t counts[2] = {-1, -1};
  host_->Dispatch(vst2::effVendorSpecific, kGuiObjectsQuery, 0, counts);
  return {{"GDI objects", counts[0]}, {"USER objects", counts[1]}};
}

int EditorWindowTest::EditorsInHost() {
  int count = 0;
  for (HWND w = EditorIn(native_->host); w; w = FindWindowExW(native_->host, w, kEditorClass, nullptr))
    ++count;
  return count;
}

IRect EditorWindowTest::EditorRect() {
  RECT rect{};
  GetWindowRect(native_->editor, &rect);
  MapWindowPoints(HWND_DESKTOP, native_->host, reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

void EditorWindowTest::MoveEditor(int x, int y) {
  MoveWindow(native_->editor, x, y, kEditorWidth, kEditorHeight, TRUE);
}

bool EditorWindowTest::EditorHasFocus() { return GetFocus() == native_->editor; }

std::vector<std::uint32_t> EditorWindowTest::Grab() {
  std::vector<std::uint32_t> pixels;
  const IRect rect = EditorRect();
  const int width = rect.W(), height = rect.H();
  HDC windowDc = GetDC(native_->editor);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && memoryDc) {
    HGDIOBJ previous = SelectObject(memoryDc, bitmap);
    if (BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY)) {
      GdiFlush();
      const auto* words = static_cast<const std::uint32_t*>(bits);
      pixels.assign(words, words + size_t(width) * size_t(height));
      for (std::uint32_t& pixel : pixels) pixel &= 0x00FFFFFFu;
    }
    SelectObject(memoryDc, previous);
  }
  if (bitmap) DeleteObject(bitmap);
  if (memoryDc) DeleteDC(memoryDc);
  ReleaseDC(native_->editor, windowDc);
  return pixels;
}

// The prefix's LogPixels decides; the test host is DPI-aware (main), so it sees it.
bool EditorWindowTest::MakeScreenDense() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi == kDenseDpi;
}

void EditorWindowTest::RestoreScreen() {}

void EditorWindowTest::Press(int x, int y) { Send(native_->editor, WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
void EditorWindowTest::DragTo(int x, int y) { Send(native_->editor, WM_MOUSEMOVE, MK_LBUTTON, x, y); }
void EditorWindowTest::Release(int x, int y) { Send(native_->editor, WM_LBUTTONUP, 0, x, y); }

void EditorWindowTest::DoubleClick(int x, int y) {
  Click(x, y);
  Send(native_->editor, WM_LBUTTONDBLCLK, MK_LBUTTON, x, y);
  Release(x, y);
}

void EditorWindowTest::RightClick(int x, int y) {
  Send(native_->editor, WM_RBUTTONDOWN, MK_RBUTTON, x, y);
  Send(native_->editor, WM_RBUTTONUP, 0, x, y);
}

// The wheel message carries screen coordinates.
void EditorWindowTest::Wheel(int x, int y, int detents) {
  POINT screen{x, y};
  ClientToScreen(native_->editor, &screen);
  SendMessageW(native_->editor, WM_MOUSEWHEEL, MAKEWPARAM(0, detents * WHEEL_DELTA),
               MAKELPARAM(screen.x, screen.y));
}

bool EditorWindowTest::EntryOpen() { return native_->Entry() != nullptr; }

bool EditorWindowTest::EntryHasFocus() {
  return native_->Entry() != nullptr && GetFocus() == native_->Entry();
}

void EditorWindowTest::Type(const std::string& keys) {
  for (char c : keys) SendMessageW(native_->Entry(), WM_CHAR, WPARAM(c), 0);
}

void EditorWindowTest::PressReturn() { SendMessageW(native_->Entry(), WM_KEYDOWN, VK_RETURN, 0); }

// What the list does when the user picks an entry.
void EditorWindowTest::ChooseRow(int row) {
  HWND list = native_->Entry();
  SendMessageW(list, CB_SETCURSEL, WPARAM(row), 0);
  SendMessageW(native_->editor, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
}

namespace {

using Win32EditorWindow = EditorWindowTest;

TEST_F(Win32EditorWindow, TheClassIsRegisteredWhileAnyEditorIsOpen) {
  EXPECT_EQ(host_->Dispatch(vst2::effEditOpen, 0, 0, nullptr), 0);
  EXPECT_FALSE(EditorClassRegistered()) << "a failed open leaves no class behind";
  ASSERT_TRUE(Open());
  EXPECT_TRUE(EditorClassRegistered());
  EXPECT_TRUE(GetClassLongPtrW(native_->editor, GCL_STYLE) & CS_DBLCLKS);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(native_->editor, GCLP_HCURSOR)),
            LoadCursorW(nullptr, IDC_ARROW));

  std::unique_ptr<vsthost::PluginHost> second = LoadPlugin();
  ASSERT_TRUE(second);
  HWND otherHost = CreateHostView();
  ASSERT_EQ(second->Dispatch(vst2::effEditOpen, 0, 0, otherHost), 1);
  HWND otherEditor = EditorIn(otherHost);
  ASSERT_TRUE(otherEditor);
  host_->Dispatch(vst2::effEditClose);
  EXPECT_TRUE(EditorClassRegistered());
  EXPECT_TRUE(IsWindow(otherEditor));
  // The host destroys its window before closing the editor: the class still goes.
  DestroyWindow(otherHost);
  EXPECT_FALSE(IsWindow(otherEditor));
  EXPECT_EQ(second->Dispatch(vst2::effEditClose), 1);
  EXPECT_FALSE(EditorClassRegistered());
}

TEST_F(Win32EditorWindow, TheEditorHoldsTheMouseUntilReleaseOrUntilAnotherWindowTakesIt) {
  ASSERT_TRUE(Open());
  const auto [x, y] = CentreOf(kGateThreshold);
  Press(x, y);
  EXPECT_EQ(GetCapture(), native_->editor);
  Release(x, y);
  EXPECT_EQ(GetCapture(), nullptr);
  DoubleClick(x, y);
  EXPECT_EQ(GetCapture(), nullptr);

  host_->ClearCalls();
  Press(x, y);
  EXPECT_EQ(CallsOf(vst2::audioMasterBeginEdit), 1);
  SetCapture(native_->host);
  EXPECT_EQ(CallsOf(vst2::audioMasterEndEdit), 1) << "the host hears the edit end";
  ReleaseCapture();
  const float before = Param(kGateThreshold);
  DragTo(x, y - 100);
  EXPECT_EQ(Param(kGateThreshold), before) << "the knob no longer follows the mouse";
}

TEST_F(Win32EditorWindow, TheListHoldsEveryModelWithTheCurrentOneSelected) {
  ASSERT_TRUE(Open());
  const auto [x, y] = CentreOf(kDstPreset);
  RightClick(x, y);
  Idle(kTicksMs);
  HWND list = FindWindowExW(native_->editor, nullptr, L"COMBOBOX", nullptr);
  ASSERT_TRUE(list);
  EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), kNumModels);
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 0);
}

}  // namespace
