// Opens the host's file dialog on a click and hands the chosen path to the plug-in: the
// value steps (0, 1, 0, ...) on every choice so that the parameter changes and the
// handler reads the path. The path may also be set by a state restore on another thread,
// so it lives in a fixed-capacity buffer with a sequence counter.
#pragma once

#include <string>

#include "editor/AtomicText.h"
#include "editor/IBitmap.h"
#include "editor/IControl.h"
#include "platform/Dialogs.h"

class IFileSelectorControl : public IControl {
 public:
  static constexpr std::size_t kPathCapacity = 4095;  // bytes

  enum class EFileSelectorState { None, Choosing, Chosen };

  IFileSelectorControl(IEffectBase* plug, const IRect& rect, int paramIdx, const IBitmap& bitmap,
                       platform::FileAction action, std::string folder = {});

  // A cancelled dialog changes nothing.
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void Draw(IGraphicsRaster& raster) override;

  // Any thread.
  void SetLastSelectedFile(std::string_view path);
  std::string GetLastSelectedFile() const;
  EFileSelectorState State() const { return state_; }
  const IBitmap& Bitmap() const { return bitmap_; }

 private:
  IBitmap bitmap_;
  platform::FileAction action_;
  std::string folder_;
  EFileSelectorState state_ = EFileSelectorState::None;  // interface thread only
  AtomicText<kPathCapacity> path_;
};
