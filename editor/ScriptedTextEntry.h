// A text-entry widget without a window: it remembers what the editor opened and lets a
// test or a script type, choose, press Return and move the focus.
#pragma once

#include <string>
#include <vector>

#include "editor/TextEntry.h"

class IGraphics;

class ScriptedTextEntry : public ITextEntryWidget {
 public:
  enum class Kind { None, EditBox, ListBox };

  explicit ScriptedTextEntry(IGraphics& graphics) : graphics_(graphics) {}

  bool OpenEditBox(const IRect& rect, std::string_view text) override;
  bool OpenListBox(const IRect& rect, const std::vector<std::string>& items, int selected) override;
  void SetEditText(std::string_view text) override { text_ = text; }
  void SelectItem(int index) override;
  std::string Text() const override { return text_; }
  void Close() override { kind_ = Kind::None; }

  // What the user does.
  void Type(std::string_view text) { text_ = text; }
  void PressReturn();
  // Picks a list entry, which commits it.
  bool Choose(std::string_view item);
  void Focus(bool gained);

  Kind Open() const { return kind_; }
  const IRect& Rect() const { return rect_; }
  const std::vector<std::string>& Items() const { return items_; }
  int Selected() const { return selected_; }

 private:
  IGraphics& graphics_;
  Kind kind_ = Kind::None;
  IRect rect_;
  std::string text_;
  std::vector<std::string> items_;
  int selected_ = -1;
};
