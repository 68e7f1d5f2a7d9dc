// Typed entry with the standard Windows controls: an "EDIT" box or a drop-down
// "COMBOBOX" list, child windows of the editor window. A window procedure of our own in
// front of the standard one reports focus changes and Return to the editor host; the
// list's selection changes reach us through the editor window's WM_COMMAND.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "editor/TextEntry.h"

class IGraphics;

namespace platform {

class Win32TextEntry : public ITextEntryWidget {
 public:
  explicit Win32TextEntry(IGraphics& graphics) : graphics_(graphics) {}
  ~Win32TextEntry() override { Close(); }
  Win32TextEntry(const Win32TextEntry&) = delete;
  Win32TextEntry& operator=(const Win32TextEntry&) = delete;

  // The editor window the entries open in.
  void SetParent(HWND parent) { parent_ = parent; }
  HWND Handle() const { return entry_; }
  // A notification sent to the editor window; a new choice in the list commits it.
  void OnCommand(WPARAM wParam, LPARAM lParam);

  bool OpenEditBox(const IRect& rect, std::string_view text) override;
  bool OpenListBox(const IRect& rect, const std::vector<std::string>& items, int selected) override;
  void SetEditText(std::string_view text) override;
  void SelectItem(int index) override;
  std::string Text() const override;
  void Close() override;

 private:
  bool Create(const wchar_t* className, DWORD style, const IRect& rect, int height,
              std::string_view text);
  static LRESULT CALLBACK EntryProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  IGraphics& graphics_;
  HWND parent_ = nullptr;
  HWND entry_ = nullptr;
  HFONT font_ = nullptr;
  WNDPROC standardProc_ = nullptr;
  bool isList_ = false;
};

}  // namespace platform
