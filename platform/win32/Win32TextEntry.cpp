#include "platform/win32/Win32TextEntry.h"

#include <algorithm>

#include "editor/IGraphics.h"
#include "platform/win32/GuiObjects.h"
#include "platform/win32/ThisModule.h"
#include "platform/win32/WideText.h"

namespace platform {
namespace {

constexpr int kFontHeightPx = 14;
constexpr int kListItemHeightPx = 16;
constexpr int kMaxVisibleListItems = 12;
constexpr int kEntryControlId = 1;
// Posted to the entry when it opens: it takes the focus once the editor host has
// finished opening it, so that the host sees the focus arrive.
constexpr UINT kTakeFocusMessage = WM_APP + 1;

HFONT CreateEntryFont(int heightPx) {
  return CreateFontW(heightPx, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, L"Arial");
}

}  // namespace

bool Win32TextEntry::OpenEditBox(const IRect& rect, std::string_view text) {
  isList_ = false;
  const IRect box = graphics_.ToWindow(rect);
  if (!Create(L"EDIT", ES_LEFT | ES_AUTOHSCROLL, box, box.H(), text)) return false;
  SendMessageW(entry_, EM_SETSEL, 0, -1);
  return true;
}

// Rectangles and sizes come in editor pixels and are scaled to the window's.
// The window of a drop-down list is as tall as its field plus the dropped list.
bool Win32TextEntry::OpenListBox(const IRect& rect, const std::vector<std::string>& items,
                                 int selected) {
  isList_ = true;
  const int visible = std::min(int(items.size()), kMaxVisibleListItems);
  const IRect box = graphics_.ToWindow(rect);
  const int height = box.H() + graphics_.ToWindow(visible * kListItemHeightPx + 2);
  if (!Create(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, box, height, {})) return false;
  for (const std::string& item : items)
    SendMessageW(entry_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  SelectItem(selected);
  return true;
}

bool Win32TextEntry::Create(const wchar_t* className, DWORD style, const IRect& rect, int height,
                            std::string_view text) {
  if (entry_ || !parent_) return false;
  entry_ = CreateWindowExW(0, className, Widen(std::string(text)).c_str(),
                           WS_CHILD | WS_VISIBLE | WS_BORDER | style, rect.L, rect.T, rect.W(),
                           height, parent_, reinterpret_cast<HMENU>(kEntryControlId),
                           ThisModule(), nullptr);
  NoteCreated(GuiObject::User, entry_);
  if (!entry_) return false;
  font_ = CreateEntryFont(graphics_.ToWindow(kFontHeightPx));
  NoteCreated(GuiObject::Gdi, font_);
  if (font_) SendMessageW(entry_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SetWindowLongPtrW(entry_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  standardProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(entry_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EntryProc)));
  PostMessageW(entry_, kTakeFocusMessage, 0, 0);
  return true;
}

void Win32TextEntry::SetEditText(std::string_view text) {
  if (entry_ && !isList_) SetWindowTextW(entry_, Widen(std::string(text)).c_str());
}

void Win32TextEntry::SelectItem(int index) {
  if (entry_ && isList_) SendMessageW(entry_, CB_SETCURSEL, WPARAM(index), 0);
}

std::string Win32TextEntry::Text() const {
  if (!entry_) return {};
  std::wstring text(TextEntry::kMaxTextChars + 1, L'\0');
  const int length = GetWindowTextW(entry_, text.data(), int(text.size()));
  text.resize(size_t(std::max(length, 0)));
  return Narrow(text);
}

// The standard procedure goes back in first, so that handing the focus back to the editor
// window is not reported as the entry losing it.
void Win32TextEntry::Close() {
  if (entry_) {
    SetWindowLongPtrW(entry_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(standardProc_));
    SetWindowLongPtrW(entry_, GWLP_USERDATA, 0);
    if (GetFocus() == entry_) SetFocus(parent_);
    DestroyWindow(entry_);
    NoteDestroyed(GuiObject::User);
    entry_ = nullptr;
    standardProc_ = nullptr;
  }
  if (font_) {
    DeleteObject(font_);
    NoteDestroyed(GuiObject::Gdi);
    font_ = nullptr;
  }
}

void Win32TextEntry::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (entry_ && isList_ && reinterpret_cast<HWND>(lParam) == entry_ &&
      HIWORD(wParam) == CBN_SELCHANGE)
    graphics_.OnTextEntryCommit();
}

LRESULT CALLBACK Win32TextEntry::EntryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Win32TextEntry*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->HandleMessage(hwnd, message, wParam, lParam);
}

LRESULT Win32TextEntry::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kTakeFocusMessage:
      SetFocus(hwnd);
      return 0;
    case WM_SETFOCUS:
      graphics_.OnTextEntryFocus(true);
      break;
    case WM_KILLFOCUS:
      graphics_.OnTextEntryFocus(false);
      break;
    // Hosts that run dialog-style key handling must leave Return to the entry.
    case WM_GETDLGCODE:
      return CallWindowProcW(standardProc_, hwnd, message, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN && !isList_) {
        graphics_.OnTextEntryCommit();
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == L'\r' && !isList_) return 0;  // a one-line edit box beeps at Return
      break;
    default:
      break;
  }
  return CallWindowProcW(standardProc_, hwnd, message, wParam, lParam);
}

}  // namespace platform
