// Typed entry on X11, which has no standard widgets: a small child window of the editor
// drawn with the server's default font. An edit box takes typed characters, Backspace and
// Return; a list shows the value texts, scrolls with the wheel and the arrow keys, and
// commits the row clicked or the one chosen when Return is pressed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/TextEntry.h"

// Xlib last: it defines macros (None, Bool, Status) that clash with ordinary names.
#include <X11/Xlib.h>

class IGraphics;

namespace platform {

class X11TextEntry : public ITextEntryWidget {
 public:
  explicit X11TextEntry(IGraphics& graphics) : graphics_(graphics) {}
  ~X11TextEntry() override { Close(); }
  X11TextEntry(const X11TextEntry&) = delete;
  X11TextEntry& operator=(const X11TextEntry&) = delete;

  // The editor window the entries open in, on its display connection.
  void Attach(Display* display, ::Window parent);
  ::Window Handle() const { return window_; }
  // An event of the entry's window.
  void Handle(XEvent& event);
  // The host's editor idle: the entry takes the focus once the editor host has finished
  // opening it, so that the host sees the focus arrive.
  void Idle();

  bool OpenEditBox(const IRect& rect, std::string_view text) override;
  bool OpenListBox(const IRect& rect, const std::vector<std::string>& items, int selected) override;
  void SetEditText(std::string_view text) override;
  void SelectItem(int index) override;
  std::string Text() const override;
  void Close() override;

 private:
  bool Create(const IRect& rect, int height);
  int RowHeight() const;  // a list row in the window's pixels
  void Draw();
  void Key(XKeyEvent& event);
  void Scroll(int rows);
  void Focus(const XFocusChangeEvent& event, bool gained);

  IGraphics& graphics_;
  Display* display_ = nullptr;
  ::Window parent_ = 0;
  ::Window window_ = 0;
  GC gc_ = nullptr;
  bool isList_ = false;
  bool focusPending_ = false;
  bool allSelected_ = false;  // typing replaces the whole text
  std::string text_;
  std::vector<std::string> items_;
  int selected_ = -1;
  int firstRow_ = 0;  // the list's first visible item
};

}  // namespace platform
