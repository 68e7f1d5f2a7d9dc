// Typed entry of a parameter's value: a small edit box (or, for a parameter with value
// texts, a drop-down list) the platform opens over a control. The editor host runs this
// state machine; the platform's widget sits behind ITextEntryWidget and reports focus and
// Return through the host. Everything here runs on the interface thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/IRect.h"

class IControl;
class IEffectBase;

enum class ETextEntryState : int { Idle = 0, HasFocus = 1, Live = 2, Cancel = 3, Commit = 4 };

// The platform's entry widget: a native edit box or combo box, or a scripted stand-in.
class ITextEntryWidget {
 public:
  virtual ~ITextEntryWidget() = default;
  // An edit box over rect holding text, all of it selected.
  virtual bool OpenEditBox(const IRect& rect, std::string_view text) = 0;
  // A drop-down list of items with item selected chosen.
  virtual bool OpenListBox(const IRect& rect, const std::vector<std::string>& items,
                           int selected) = 0;
  virtual void SetEditText(std::string_view text) = 0;
  virtual void SelectItem(int index) = 0;
  // The edit box's text or the chosen item's.
  virtual std::string Text() const = 0;
  virtual void Close() = 0;
};

class TextEntry {
 public:
  static constexpr int kCharWidthPx = 8;
  static constexpr int kListPaddingPx = 16;
  static constexpr int kMinListWidthPx = 24;
  static constexpr int kEntryHeightPx = 16;
  static constexpr int kEditWidthPx = 36;
  static constexpr std::size_t kMaxTextChars = 1000;

  explicit TextEntry(IEffectBase* plug) : plug_(plug) {}

  void SetWidget(ITextEntryWidget* widget) { widget_ = widget; }
  // Opens the entry for the control's parameter; ignored while one is open or without a
  // widget. True when an entry was opened.
  bool Open(IControl* control, int paramIdx);
  bool IsOpen() const { return control_ != nullptr; }
  ETextEntryState State() const { return state_; }
  void SetState(ETextEntryState state) { state_ = state; }
  IControl* Control() const { return control_; }
  int ParamIdx() const { return paramIdx_; }

  // Timer tick: keeps a live entry in step with its parameter, applies a committed one,
  // drops a cancelled one.
  void Tick();

  // Closes an open entry without applying it (the window goes away).
  void Discard();

  // The normalised value a typed text means for the parameter; false when it means none.
  bool ValueOfText(int paramIdx, const char* text, double* normalized) const;

 private:
  std::string DisplayTextOf(int paramIdx) const;
  void Apply();
  void Remove();

  IEffectBase* plug_;
  ITextEntryWidget* widget_ = nullptr;
  IControl* control_ = nullptr;
  int paramIdx_ = -1;
  bool isList_ = false;
  std::vector<std::string> items_;
  std::string shownText_;
  ETextEntryState state_ = ETextEntryState::Idle;
};
