#include "editor/ScriptedTextEntry.h"

#include <algorithm>

#include "editor/IGraphics.h"

bool ScriptedTextEntry::OpenEditBox(const IRect& rect, std::string_view text) {
  kind_ = Kind::EditBox;
  rect_ = rect;
  text_ = text;
  items_.clear();
  selected_ = -1;
  return true;
}

bool ScriptedTextEntry::OpenListBox(const IRect& rect, const std::vector<std::string>& items,
                                    int selected) {
  kind_ = Kind::ListBox;
  rect_ = rect;
  items_ = items;
  SelectItem(selected);
  return true;
}

void ScriptedTextEntry::SelectItem(int index) {
  selected_ = index >= 0 && index < int(items_.size()) ? index : -1;
  text_ = selected_ >= 0 ? items_[size_t(selected_)] : std::string();
}

void ScriptedTextEntry::PressReturn() {
  if (kind_ == Kind::EditBox) graphics_.OnTextEntryCommit();
}

bool ScriptedTextEntry::Choose(std::string_view item) {
  const auto found = std::find(items_.begin(), items_.end(), item);
  if (kind_ != Kind::ListBox || found == items_.end()) return false;
  SelectItem(int(found - items_.begin()));
  graphics_.OnTextEntryCommit();
  return true;
}

void ScriptedTextEntry::Focus(bool gained) {
  if (kind_ != Kind::None) graphics_.OnTextEntryFocus(gained);
}
