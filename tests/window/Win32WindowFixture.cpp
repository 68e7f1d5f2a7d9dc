#include "tests/window/Win32WindowFixture.h"

#include "tests/window/ReferenceEditor.h"

namespace {

constexpr wchar_t kHostClass[] = L"VoltrexTestHostWindow";
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

}  // namespace

void EditorWindowTest::SetUp() {
  parent_ = CreateHostWindow();
  ASSERT_TRUE(parent_);
  host_ = LoadPlugin();
  ASSERT_TRUE(host_);
  reference_ = std::make_unique<VoltrexPlug>(nullptr);
  reference_->Effect()->dispatcher(reference_->Effect(), vst2::effOpen, 0, 0, nullptr, 0.0f);
}

void EditorWindowTest::TearDown() {
  if (host_) host_->Dispatch(vst2::effEditClose);
  host_.reset();
  if (parent_) DestroyWindow(parent_);
  Pump(0);
}

// One top-level frame serves the whole run: under Wine without a window manager,
// destroying a top-level window waits seconds for the manager's answer.
HWND EditorWindowTest::CreateHostWindow() {
  static HWND frame = RegisterHostClass()
      ? CreateWindowExW(0, kHostClass, L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                        kParentWidth + 100, kParentHeight + 100, nullptr, nullptr,
                        GetModuleHandleW(nullptr), nullptr)
      : nullptr;
  if (!frame) return nullptr;
  HWND view = CreateWindowExW(0, kHostClass, L"View", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                              0, 0, kParentWidth, kParentHeight, frame, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  Pump(20);
  return view;
}

std::unique_ptr<vsthost::PluginHost> EditorWindowTest::LoadPlugin() {
  std::string error;
  auto host = vsthost::PluginHost::Load(PluginPath(), &error);
  EXPECT_TRUE(host) << error;
  if (host) host->Start();
  return host;
}

void EditorWindowTest::Pump(int ms) {
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

HWND EditorWindowTest::EditorIn(HWND parent) {
  return FindWindowExW(parent, nullptr, kEditorClass, nullptr);
}

bool EditorWindowTest::EditorClassRegistered() {
  HMODULE plugin = GetModuleHandleW(L"Voltrex.dll");
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  return plugin && GetClassInfoExW(plugin, kEditorClass, &info);
}

POINT EditorWindowTest::CentreOf(int paramIdx) {
  const auto [x, y] = CentreOfControl(*reference_->GetGUI(), paramIdx);
  EXPECT_GE(x, 0) << "no control of parameter " << paramIdx << " takes clicks";
  return {x, y};
}

int EditorWindowTest::CallsOf(int32_t opcode) {
  int count = 0;
  for (const auto& call : host_->Calls()) count += call.opcode == opcode;
  return count;
}

void EditorWindowTest::Send(HWND window, UINT message, WPARAM keys, int x, int y) {
  SendMessageW(window, message, keys, MAKELPARAM(x, y));
}

void EditorWindowTest::Click(HWND window, int x, int y) {
  Send(window, WM_LBUTTONDOWN, MK_LBUTTON, x, y);
  Send(window, WM_LBUTTONUP, 0, x, y);
}

void EditorWindowTest::RightClick(HWND window, int x, int y) {
  Send(window, WM_RBUTTONDOWN, MK_RBUTTON, x, y);
  Send(window, WM_RBUTTONUP, 0, x, y);
}

std::vector<std::uint32_t> EditorWindowTest::Grab(HWND window, int width, int height) {
  std::vector<std::uint32_t> pixels;
  HDC windowDc = GetDC(window);
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
  ReleaseDC(window, windowDc);
  return pixels;
}
