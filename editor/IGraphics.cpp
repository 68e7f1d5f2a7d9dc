#include "editor/IGraphics.h"

#include <cmath>
#include <cstdlib>

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
// Scale

float IGraphics::SnapScaleFactor(float factor) {
  if (!(factor > 0.0f) || !std::isfinite(factor)) return 0.0f;
  if (factor < 1.25f) return 1.0f;
  return factor < 1.75f ? 1.5f : 2.0f;
}

float IGraphics::ScaleFactorFor(void* parent) const {
  if (const char* forced = std::getenv("VOLTREX_SCALE")) {
    const float scale = SnapScaleFactor(std::strtof(forced, nullptr));
    if (scale > 0.0f) return scale;
  }
  if (hostScale_ > 0.0f) return hostScale_;
  const float system = SnapScaleFactor(platform::SystemScaleFactor(parent));
  return system > 0.0f ? system : 1.0f;
}

int IGraphics::ToWindow(int editorPixels) const {
  const float scale = raster_ ? raster_->Scale() : ScaleFactorFor(nullptr);
  return static_cast<int>(std::floor(static_cast<float>(editorPixels) * scale + 0.5f));
}

IRect IGraphics::ToWindow(const IRect& r) const {
  return {ToWindow(r.L), ToWindow(r.T), ToWindow(r.R), ToWindow(r.B)};
}

int IGraphics::WindowWidth() const { return raster_ ? raster_->Width() : ToWindow(width_); }
int IGraphics::WindowHeight() const { return raster_ ? raster_->Height() : ToWindow(height_); }

void IGraphics::Rescale(float scale) {
  scale = SnapScaleFactor(scale);
  if (!raster_ || scale <= 0.0f || scale == raster_->Scale()) return;
  raster_ = std::make_unique<IGraphicsRaster>(width_, height_, scale);
  PrepDraw();
  if (plug_) plug_->ResizeEditorWindow(raster_->Width(), raster_->Height());
}

// ---------------------------------------------------------------------------------------
// The window

bool IGraphics::OpenWindow(void* parent) {
  const float scale = ScaleFactorFor(parent);
  IRect placement{0, 0, 0, 0};
  if (window_) {
    const IRect old = window_->Placement();
    placement = {old.L, old.T, old.L, old.T};
    window_.reset();
  }
  const auto size = [scale](int editorPixels) {
    return static_cast<int>(std::floor(static_cast<float>(editorPixels) * scale + 0.5f));
  };
  placement.R = placement.L + size(width_);
  placement.B = placement.T + size(height_);
  window_ = platform::OpenEditorWindow(*this, parent, placement, scale);
  if (!window_) return false;
  // The host asked for the size before the window existed, on the main screen's density:
  // a parent on a screen of another density gets the window's true size.
  if (plug_ && scale != ScaleFactorFor(nullptr)) plug_->ResizeEditorWindow(WindowWidth(), WindowHeight());
  return true;
}

void IGraphics::CloseWindow() { window_.reset(); }

void* IGraphics::NativeWindow() const { return window_ ? window_->NativeHandle() : nullptr; }

void IGraphics::IdleWindow() {
  if (window_) window_->Idle();
}

void IGraphics::WindowOpened(void* nativeWindow, float scale) {
  nativeWindow_ = nativeWindow;
  windowOpen_ = true;
  scale = SnapScaleFactor(scale);
  if (!raster_ || raster_->Scale() != scale)
    raster_ = std::make_unique<IGraphicsRaster>(width_, height_, scale > 0.0f ? scale : 1.0f);
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

int IGraphics::ControlAt(float x, float y) const {
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
  Press(ToEditor(x), ToEditor(y), mod);
}

// The host hears of the edit before the first value change, so that touch automation
// records it.
void IGraphics::Press(float x, float y, const IMouseMod& mod) {
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

void IGraphics::OnMouseUp(int windowX, int windowY, const IMouseMod& mod) {
  if (InputHeldByTextEntry()) return;
  const float x = ToEditor(windowX), y = ToEditor(windowY);
  const int target = mouseCapture_ != kNoControl ? mouseCapture_ : ControlAt(x, y);
  mouseCapture_ = kNoControl;
  if (target != kNoControl) {
    lastMouseX_ = x;
    lastMouseY_ = y;
    controls_[size_t(target)]->OnMouseUp(x, y, mod);
  }
  EndEdit();
}

void IGraphics::OnMouseDblClick(int windowX, int windowY, const IMouseMod& mod) {
  if (InputHeldByTextEntry()) return;
  const float x = ToEditor(windowX), y = ToEditor(windowY);
  const int target = ControlAt(x, y);
  if (target == kNoControl) return;
  IControl& control = *controls_[size_t(target)];
  if (control.DblAsSingleClick()) {
    OnMouseDown(windowX, windowY, mod);
    return;
  }
  lastMouseX_ = x;
  lastMouseY_ = y;
  control.OnMouseDblClick(x, y, mod);
}

void IGraphics::OnMouseMove(int windowX, int windowY, const IMouseMod& mod) {
  if (InputHeldByTextEntry()) return;
  const float x = ToEditor(windowX), y = ToEditor(windowY);
  if (mod.L || mod.R) {
    if (mouseCapture_ == kNoControl) return;
    const float dx = x - lastMouseX_;
    const float dy = y - lastMouseY_;
    if (dx == 0.0f && dy == 0.0f) return;
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

void IGraphics::OnMouseWheel(int windowX, int windowY, const IMouseMod& mod, int wheelDelta) {
  if (InputHeldByTextEntry()) return;
  const float x = ToEditor(windowX), y = ToEditor(windowY);
  const int detents = wheelDelta / kWheelDeltaPerDetent;
  const int target = ControlAt(x, y);
  if (detents == 0 || target == kNoControl) return;
  controls_[size_t(target)]->OnMouseWheel(x, y, mod, detents);
}

void IGraphics::OnKeyDown(int windowX, int windowY, int key) {
  if (InputHeldByTextEntry() || !IsKeyCode(key)) return;
  const float x = ToEditor(windowX), y = ToEditor(windowY);
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
  return raster_->ToBuffer(Paint(dirty));
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
  const IRect bounds{0, 0, width_, height_};
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
