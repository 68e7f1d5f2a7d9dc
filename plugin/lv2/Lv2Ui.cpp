#include "plugin/lv2/Lv2Ui.h"

#include <cmath>
#include <cstring>

#include "amp/PlayerParams.h"
#include "amp/VoltrexPlug.h"
#include "editor/IGraphics.h"
#include "plugin/lv2/Lv2Plugin.h"
#include "plugin/lv2/Lv2Ports.h"

namespace lv2 {

Lv2Ui* Lv2Ui::Create(Lv2Plugin& plugin, void* parent, LV2UI_Write_Function write,
                     LV2UI_Controller controller, const LV2UI_Resize* resize,
                     const LV2UI_Touch* touch, LV2UI_Widget* widget) {
  VoltrexPlug& amp = plugin.Amp();
  IGraphics* graphics = amp.GetGUI();
  if (!graphics || !parent || !write) return nullptr;
  {
    PlugLockGuard guard(amp.Lock());
    if (!graphics->OpenWindow(parent)) return nullptr;
    amp.OnGUIOpen();
  }
  if (widget) *widget = graphics->NativeWindow();
  if (resize && resize->ui_resize) resize->ui_resize(resize->handle, graphics->Width(), graphics->Height());
  auto* ui = new Lv2Ui(plugin, write, controller, touch);
  // Ports the host still shows with values the amp has since changed are written first.
  plugin.FlagStalePorts();
  return ui;
}

Lv2Ui::Lv2Ui(Lv2Plugin& plugin, LV2UI_Write_Function write, LV2UI_Controller controller,
             const LV2UI_Touch* touch)
    : plugin_(plugin), write_(write), controller_(controller), touch_(touch) {}

Lv2Ui::~Lv2Ui() {
  VoltrexPlug& amp = plugin_.Amp();
  PlugLockGuard guard(amp.Lock());
  amp.OnGUIClose();
  if (IGraphics* graphics = amp.GetGUI()) graphics->CloseWindow();
}

void Lv2Ui::PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
  if (format != 0 || size != sizeof(float) || !buffer) return;
  if (port < kFirstControlPort || port >= kFirstControlPort + Lv2Plugin::kControlPorts) return;
  const int controlPort = int(port - kFirstControlPort);
  float value = 0.0f;
  std::memcpy(&value, buffer, sizeof value);
  if (!std::isfinite(value)) return;
  // A value the plug-in has already seen is the host's old one: the amp's own wins.
  if (value == plugin_.LastSeenPortValue(controlPort)) {
    if (value != plugin_.AmpPortValue(controlPort)) plugin_.FlagStalePorts();
    return;
  }
  // A new host value: the controls move now, the amp takes it at its next run.
  VoltrexPlug& amp = plugin_.Amp();
  PlugLockGuard guard(amp.Lock());
  const int index = PlayerParams()[size_t(controlPort)].id;
  if (IGraphics* graphics = amp.GetGUI()) {
    graphics->SetParameterFromPlug(index, amp.GetParam(index)->GetNormalized(double(value)), true);
  }
}

void Lv2Ui::WritePort(int controlPort, float value, int gesture) {
  const uint32_t port = kFirstControlPort + uint32_t(controlPort);
  if (gesture > 0) {
    if (touch_ && touch_->touch) touch_->touch(touch_->handle, port, true);
  } else if (gesture < 0) {
    if (touch_ && touch_->touch) touch_->touch(touch_->handle, port, false);
  } else {
    write_(controller_, port, sizeof value, 0, &value);
  }
}

int Lv2Ui::Idle() {
  plugin_.TakeChangedPorts([this](int port, float value, int gesture) { WritePort(port, value, gesture); });
  VoltrexPlug& amp = plugin_.Amp();
  // The window waits for a block in progress, then runs its events without the lock,
  // which the controls take themselves.
  { PlugLockGuard guard(amp.Lock()); }
  if (IGraphics* graphics = amp.GetGUI()) graphics->IdleWindow();
  return 0;
}

}  // namespace lv2
