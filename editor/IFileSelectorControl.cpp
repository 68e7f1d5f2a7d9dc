#include "editor/IFileSelectorControl.h"

#include <array>

#include "editor/IGraphics.h"
#include "editor/IGraphicsRaster.h"

namespace {

constexpr int kIdleFrame = 1;
constexpr int kChoosingFrame = 2;

}  // namespace

IFileSelectorControl::IFileSelectorControl(IEffectBase* plug, const IRect& rect, int paramIdx,
                                           const IBitmap& bitmap, platform::FileAction action,
                                           std::string folder)
    : IControl(plug, rect, paramIdx), bitmap_(bitmap), action_(action), folder_(std::move(folder)) {}

void IFileSelectorControl::OnMouseDown(float, float, const IMouseMod&) {
  if (!Graphics()) return;
  state_ = EFileSelectorState::Choosing;
  SetDirty(false);
  std::string chosen;
  if (!Graphics()->PromptForFile(chosen, action_, folder_) || chosen.empty()) {
    state_ = EFileSelectorState::None;
    SetDirty(false);
    return;
  }
  path_.Store(chosen);
  SetValue(GetValue() >= 1.0 ? 0.0 : GetValue() + 1.0);
  state_ = EFileSelectorState::Chosen;
  SetDirty(true);
}

void IFileSelectorControl::Draw(IGraphicsRaster& raster) {
  const bool choosing = state_ == EFileSelectorState::Choosing;
  if (bitmap_.N >= 2)
    raster.DrawBitmap(bitmap_, GetRECT(), choosing ? kChoosingFrame : kIdleFrame, Blend());
  else if (choosing)
    raster.DrawBitmap(bitmap_, GetRECT(), kIdleFrame, Blend());
}

void IFileSelectorControl::SetLastSelectedFile(std::string_view path) { path_.Store(path); }

std::string IFileSelectorControl::GetLastSelectedFile() const {
  std::array<char, kPathCapacity + 1> copy{};
  path_.Load(copy.data());
  return copy.data();
}
