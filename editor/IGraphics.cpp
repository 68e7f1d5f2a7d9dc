#include "editor/IGraphics.h"

#include "editor/BitmapLoader.h"
#include "editor/IBitmapControl.h"
#include "editor/KeyCodes.h"
#include "platform/EditorWindow.h"
#include "platform/Files.h"
#include "plugin/IEffectBase.h"

IGraphics::IGraphics(IEffectBase* plug, int width, int height, int fps)
    : plug_(plug),
      width_(width),
      height_(height),
      fps_(fps > 0 ? fps : kDefaultFps),
      textEntry_(plug) {}

IGraphics::~IGraphics() { CloseWindow(); }

// ---------------------------------------------------------------------------------------
// Building

int IGraphics::AttachBackground(int resourceId, const char* name) {
  auto background = std::make_unique<IBitmapControl>(plug_, 0, 0, LoadIBitmap(resourceId, name, 1));
  background->SetGraphics(this);
  controls_.insert(controls_.begin(), std::move(background));
  return 0;
}

int IGraphics::AttachControl(IControl* control) {
  control->SetGraphics(this);
  controls_.emplace_back(control);
  return NControls() - 1;
}

IControl* IGraphics::GetControl(int index) {
  return index >= 0 && index < NControls() ? controls_[size_t(index)].get() : nullptr;
}

// ---------------------------------------------------------------------------------------
// What the plug-in does to controls

void IGraphics::SetParameterFromPlug(int paramIdx, double value, bool normalized) {
  if (!normalized) {
    const IParam* param = plug_->GetParam(paramIdx);
    if (!param) return;
    value = param->GetNormalized(value);
  }
  for (auto& control : controls_) {
    if (control->ParamIdx() == paramIdx) control->SetValueFromPlug(value);
  }
}

void IGraphics::SetControlFromPlug(int controlIdx, double normalized) {
  if (IControl* control = GetControl(controlIdx)) control->SetValueFromPlug(normalized);
}

void IGraphics::Forward(int paramIdx, double normalized) {
  for (auto& control : controls_) {
    if (control->ParamIdx() == paramIdx) control->SetAndPush(normalized);
  }
}

void IGraphics::HideControl(int paramIdx, bool hide) {
  for (auto& control : controls_) {
    if (control->ParamIdx() == paramIdx) control->Hide(hide);
  }
}

void IGraphics::GrayOutControl(int paramIdx, bool gray) {
  for (auto& control : controls_) {
    if (control->ParamIdx() == paramIdx) control->GrayOut(gray);
  }
}

void IGraphics::PrepDraw() {
  for (auto& control : controls_) control->SetDirty(false);
}

// ---------------------------------------------------------------------------------------
// The window

bool IGraphics::OpenWindow(void* parent) {
  IRect placement{0, 0, width_, height_};
  if (window_) {
    placement = window_->Placement();
    window_.reset();
  }
  window_ = platform::OpenEditorWindow(*this, parent, placement);
  return window_ != nullptr;
}

void IGraphics::CloseWindow() { window_.reset(); }

void* IGraphics::NativeWindow() const { return window_ ? window_->NativeHandle() : nullptr; }

void IGraphics::IdleWindow() {
  if (window_) window_->Idle();
}

void IGraphics::WindowOpened(void* nativeWindow) {
  nativeWindow_ = nativeWindow;
  windowOpen_ = true;
  if (!raster_) raster_ = std::make_unique<IGraphicsRaster>(width_, height_);
  mouseCapture_ = kNoControl;
  mouseOver_ = kNoControl;
  PrepDraw();
}

void IGraphics::WindowClosed() {
  EndEdit();
  textEntry_.Discard();
  windowOpen_ = false;
  nativeWindow_ = nullptr;
  raster_.reset();
  mouseCapture_ = kNoControl;
  mouseOver_ = kNoControl;
}

// ---------------------------------------------------------------------------------------
// Input

int IGraphics::ControlAt(int x, int y) const {
  for (int i = NControls() - 1; i >= 0; --i) {
    const IControl& control = *controls_[size_t(i)];
    if (!control.IsHidden() && !control.IsGrayed() && control.IsHit(x, y)) return i;
  }
  return kNoControl;
}

// While the entry widget holds the keyboard focus the editor takes no input but a right
// click, which cancels the entry.
bool IGraphics::InputHeldByTextEntry() const {
  return textEntry_.IsOpen() && textEntry_.State() == ETextEntryState::HasFocus;
}

void IGraphics::OnMouseDown(int x, int y, const IMouseMod& mod) {
  if (textEntry_.IsOpen()) {
    if (mod.R) {
      textEntry_.SetState(ETextEntryState::Cancel);
      return;
    }
    if (InputHeldByTextEntry()) return;
    textEntry_.SetState(ETextEntryState::Commit);
  }
  Press(x, y, mod);
}

// The host hears of the edit before the first value change, so that touch automation
// records it.
void IGraphics::Press(int x, int y, const IMouseMod& mod) {
  EndEdit();
  mouseCapture_ = ControlAt(x, y);
  if (mouseCapture_ == kNoControl) return;
  IControl& control = *controls_[size_t(mouseCapture_)];
  lastMouseX_ = x;
  lastMouseY_ = y;
  if (control.ParamIdx() != IControl::kNoParameter && plug_) {
    editParam_ = control.ParamIdx();
    plug_->BeginInformHostOfParamChange(editParam_);
  }
  control.OnMouseDown(x, y, mod);
}

void IGraphics::EndEdit() {
  if (editParam_ == IControl::kNoParameter) return;
  const int param = editParam_;
  editParam_ = IControl::kNoParameter;
  if (plug_) plug_->EndInformHostOfParamChange(param);
}

void IGraphics::OnMouseUp(int x, int y, const IMouseMod& mod) {
  if (InputHeldByTextEntry()) return;
  const int target = mouseCapture_ != kNoControl ? mouseCapture_ : ControlAt(x, y);
  mouseCapture_ = kNoControl;
  if (target != kNoControl) {
    lastMouseX_ = x;
    lastMouseY_ = y;
    controls_[size_t(target)]->OnMouseUp(x, y, mod);
  }
  EndEdit();
}

void IGraphics::OnMouseDblClick(int x, int y, const IMouseMod& mod) {
  if (InputHeldByTextEntry()) return;
  const int target = ControlAt(x, y);
  if (target == kNoControl) return;
  IControl& control = *controls_[size_t(target)];
  if (control.DblAsSingleClick()) {
    OnMouseDown(x, y, mod);
    return;
  }
  lastMouseX_ = x;
  lastMouseY_ = y;
  control.OnMouseDblClick(x, y, mod);
}

void IGraphics::OnMouseMove(int x, int y, const IMouseMod& mod) {
  if (InputHeldByTextEntry()) return;
  if (mod.L || mod.R) {
    if (mouseCapture_ == kNoControl) return;
    const int dx = x - lastMouseX_;
    const int dy = y - lastMouseY_;
    if (dx == 0 && dy == 0) return;
    lastMouseX_ = x;
    lastMouseY_ = y;
    controls_[size_t(mouseCapture_)]->OnMouseDrag(x, y, dx, dy, mod);
    return;
  }
  if (!handleMouseOver_) return;
  const int over = ControlAt(x, y);
  if (over != mouseOver_ && mouseOver_ != kNoControl) controls_[size_t(mouseOver_)]->OnMouseOut();
  mouseOver_ = over;
  if (over == kNoControl) return;
  lastMouseX_ = x;
  lastMouseY_ = y;
  controls_[size_t(over)]->OnMouseOver(x, y, mod);
}

void IGraphics::OnMouseLeave() {
  if (InputHeldByTextEntry()) return;
  for (auto& control : controls_) control->OnMouseOut();
  mouseOver_ = kNoControl;
}

void IGraphics::OnMouseWheel(int x, int y, const IMouseMod& mod, int wheelDelta) {
  if (InputHeldByTextEntry()) return;
  const int detents = wheelDelta / kWheelDeltaPerDetent;
  const int target = ControlAt(x, y);
  if (detents == 0 || target == kNoControl) return;
  controls_[size_t(target)]->OnMouseWheel(x, y, mod, detents);
}

void IGraphics::OnKeyDown(int x, int y, int key) {
  if (InputHeldByTextEntry() || !IsKeyCode(key)) return;
  const int target = ControlAt(x, y);
  if (target != kNoControl) controls_[size_t(target)]->OnKeyDown(x, y, key);
}

// ---------------------------------------------------------------------------------------
// Timer tick and painting

IRect IGraphics::OnTimerTick() {
  platform::ShowDeferredMessage();  // one raised on the audio thread, shown here instead
  textEntry_.Tick();
  if (!raster_) return {};
  IRect dirty;
  bool anyDirty = false;
  for (const auto& control : controls_) {
    if (!control->IsDirty()) continue;
    anyDirty = true;
    dirty = dirty.Union(control->GetRECT());
  }
  if (!anyDirty) return {};
  if (textEntry_.IsOpen()) textEntry_.SetState(ETextEntryState::Live);
  return Paint(dirty);
}

IRect IGraphics::WithWholeControls(IRect area) const {
  for (bool grown = !area.Empty(); grown;) {
    grown = false;
    for (const auto& control : controls_) {
      if (control->IsHidden() || !control->GetRECT().Intersects(area)) continue;
      const IRect wider = area.Union(control->GetRECT());
      if (wider == area) continue;
      area = wider;
      grown = true;
    }
  }
  return area;
}

IRect IGraphics::Paint(const IRect& dirty) {
  const IRect bounds = raster_->Bounds();
  const IRect area = WithWholeControls(dirty.Intersect(bounds));
  for (auto& control : controls_) {
    if (!control->IsHidden() && control->GetRECT().Intersects(area)) control->Draw(*raster_);
  }
  for (auto& control : controls_) control->Clean();
  return area.Intersect(bounds);
}

// ---------------------------------------------------------------------------------------
// Typed entry and files

void IGraphics::PromptUserInput(IControl* control, int paramIdx) { textEntry_.Open(control, paramIdx); }

void IGraphics::OnTextEntryFocus(bool gained) {
  textEntry_.SetState(gained ? ETextEntryState::HasFocus : ETextEntryState::Idle);
}

void IGraphics::OnTextEntryCommit() { textEntry_.SetState(ETextEntryState::Commit); }

bool IGraphics::PromptForFile(std::string& result, platform::FileAction action,
                              const std::string& folder) {
  result.clear();
  if (!windowOpen_) return false;
  return platform::PromptForFile(result, action, folder.empty() ? PluginPath() : folder,
                                 nativeWindow_);
}

std::string IGraphics::PluginPath() { return platform::LibraryFolder(); }
