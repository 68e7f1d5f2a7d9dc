#include "editor/TextEntry.h"

#include <algorithm>
#include <charconv>

#include "editor/IControl.h"
#include "plugin/IEffectBase.h"

namespace {

int IndexOf(const std::vector<std::string>& items, const std::string& text) {
  const auto found = std::find(items.begin(), items.end(), text);
  return found == items.end() ? -1 : int(found - items.begin());
}

// A decimal number at the start of text (after blanks and a plus sign); 0 when there is none.
// Locale-independent: a host's decimal comma must not change what "1.5" means.
double ReadNumber(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  if (*text == '+') ++text;
  const char* end = text;
  while (*end) ++end;
  double value = 0.0;
  if (std::from_chars(text, end, value).ec != std::errc()) return 0.0;
  return value;
}

}  // namespace

bool TextEntry::Open(IControl* control, int paramIdx) {
  if (IsOpen() || !widget_ || !control || !plug_) return false;
  const IParam* param = plug_->GetParam(paramIdx);
  if (!param) return false;
  shownText_ = DisplayTextOf(paramIdx);
  const IRect& r = control->GetRECT();
  const int cx = r.L + r.W() / 2;
  const int cy = r.T + r.H() / 2;
  items_.clear();
  for (int i = 0; i < param->NDisplayTexts(); ++i) items_.emplace_back(param->DisplayTextAt(i));
  isList_ = !items_.empty();
  bool opened;
  if (isList_) {
    std::size_t longest = 0;
    for (const std::string& item : items_) longest = std::max(longest, item.size());
    const int width = std::max(kMinListWidthPx, int(longest) * kCharWidthPx + kListPaddingPx);
    const IRect box{cx - width / 2, cy, cx - width / 2 + width, cy + kEntryHeightPx};
    opened = widget_->OpenListBox(box, items_, IndexOf(items_, shownText_));
  } else {
    const IRect box{cx - kEditWidthPx / 2, cy - kEntryHeightPx / 2,
                    cx - kEditWidthPx / 2 + kEditWidthPx, cy - kEntryHeightPx / 2 + kEntryHeightPx};
    opened = widget_->OpenEditBox(box, shownText_);
  }
  if (!opened) return false;
  control_ = control;
  paramIdx_ = paramIdx;
  state_ = ETextEntryState::Idle;
  return true;
}

std::string TextEntry::DisplayTextOf(int paramIdx) const {
  char text[IParam::kTextBytes] = {};
  PlugLockGuard guard(plug_->Lock());
  if (const IParam* param = plug_->GetParam(paramIdx)) param->GetDisplayForHost(text);
  return text;
}

void TextEntry::Tick() {
  if (!IsOpen()) return;
  switch (state_) {
    case ETextEntryState::Live: {
      const std::string current = DisplayTextOf(paramIdx_);
      if (current == shownText_) return;
      shownText_ = current;
      if (isList_)
        widget_->SelectItem(IndexOf(items_, current));
      else
        widget_->SetEditText(current);
      return;
    }
    case ETextEntryState::Commit:
      Apply();
      Remove();
      return;
    case ETextEntryState::Cancel:
      Remove();
      return;
    default:
      return;
  }
}

bool TextEntry::ValueOfText(int paramIdx, const char* text, double* normalized) const {
  PlugLockGuard guard(plug_->Lock());
  const IParam* param = plug_->GetParam(paramIdx);
  if (!param) return false;
  double value = 0.0;
  if (param->NDisplayTexts() > 0) {
    if (!param->MapDisplayText(text, &value)) return false;
  } else {
    value = ReadNumber(text);
    if (param->NegateDisplay()) value = -value;
    value = std::clamp(value, param->Min(), param->Max());
  }
  *normalized = param->GetNormalized(value);
  return true;
}

void TextEntry::Apply() {
  std::string text = widget_->Text();
  if (text.size() > kMaxTextChars) text.resize(kMaxTextChars);
  double normalized = 0.0;
  if (ValueOfText(paramIdx_, text.c_str(), &normalized)) control_->SetValueFromUserInput(normalized);
}

void TextEntry::Discard() {
  if (IsOpen()) Remove();
}

void TextEntry::Remove() {
  widget_->Close();
  control_ = nullptr;
  paramIdx_ = -1;
  state_ = ETextEntryState::Idle;
}
