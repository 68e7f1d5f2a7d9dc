// The bundle binary's two entry points: the plug-in descriptor and the editor descriptor.
// Each C callback forwards to the plug-in or editor object behind the handle; nothing
// thrown ever crosses into the host.
#include <new>
#include <string_view>

#include "lv2/core/lv2.h"
#include "lv2/instance-access/instance-access.h"
#include "lv2/options/options.h"
#include "lv2/state/state.h"
#include "lv2/ui/ui.h"
#include "lv2/worker/worker.h"
#include "plugin/lv2/Lv2Plugin.h"
#include "plugin/lv2/Lv2Ports.h"
#include "plugin/lv2/Lv2Ui.h"

namespace {

using lv2::Lv2Plugin;
using lv2::FindFeature;
using lv2::Lv2Ui;

Lv2Plugin* PluginOf(LV2_Handle handle) { return static_cast<Lv2Plugin*>(handle); }

// ---------------------------------------------------------------------------------------
// Plug-in

LV2_Handle Instantiate(const LV2_Descriptor*, double sampleRate, const char*,
                       const LV2_Feature* const* features) {
  try {
    return new Lv2Plugin(sampleRate, features);
  } catch (...) {
    return nullptr;
  }
}

void ConnectPort(LV2_Handle handle, uint32_t port, void* data) { PluginOf(handle)->ConnectPort(port, data); }

void Activate(LV2_Handle handle) { PluginOf(handle)->Activate(); }

void Run(LV2_Handle handle, uint32_t frames) { PluginOf(handle)->Run(frames); }

void Deactivate(LV2_Handle handle) { PluginOf(handle)->Deactivate(); }

void Cleanup(LV2_Handle handle) { delete PluginOf(handle); }

LV2_State_Status SaveState(LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state,
                           uint32_t, const LV2_Feature* const* features) {
  try {
    return PluginOf(handle)->Save(store, state, features);
  } catch (...) {
    return LV2_STATE_ERR_UNKNOWN;
  }
}

LV2_State_Status RestoreState(LV2_Handle handle, LV2_State_Retrieve_Function retrieve,
                              LV2_State_Handle state, uint32_t, const LV2_Feature* const* features) {
  try {
    return PluginOf(handle)->Restore(retrieve, state, features);
  } catch (...) {
    return LV2_STATE_ERR_UNKNOWN;
  }
}

uint32_t GetOptions(LV2_Handle handle, LV2_Options_Option* options) {
  return PluginOf(handle)->GetOptions(options);
}

uint32_t SetOptions(LV2_Handle handle, const LV2_Options_Option* options) {
  return PluginOf(handle)->SetOptions(options);
}

LV2_Worker_Status Work(LV2_Handle handle, LV2_Worker_Respond_Function, LV2_Worker_Respond_Handle,
                       uint32_t size, const void* data) {
  try {
    return PluginOf(handle)->Work(size, data);
  } catch (...) {
    return LV2_WORKER_ERR_UNKNOWN;
  }
}

// The worker sends no responses.
LV2_Worker_Status WorkResponse(LV2_Handle, uint32_t, const void*) { return LV2_WORKER_SUCCESS; }

const void* ExtensionData(const char* uri) {
  static const LV2_State_Interface state = {SaveState, RestoreState};
  static const LV2_Options_Interface options = {GetOptions, SetOptions};
  static const LV2_Worker_Interface worker = {Work, WorkResponse, nullptr};
  if (!uri) return nullptr;
  if (std::string_view(uri) == LV2_STATE__interface) return &state;
  if (std::string_view(uri) == LV2_OPTIONS__interface) return &options;
  if (std::string_view(uri) == LV2_WORKER__interface) return &worker;
  return nullptr;
}

const LV2_Descriptor kDescriptor = {lv2::kPluginUri, Instantiate, ConnectPort, Activate,
                                    Run,             Deactivate,  Cleanup,     ExtensionData};

// ---------------------------------------------------------------------------------------
// Editor

Lv2Ui* UiOf(LV2UI_Handle handle) { return static_cast<Lv2Ui*>(handle); }

LV2UI_Handle InstantiateUi(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                           LV2UI_Write_Function write, LV2UI_Controller controller,
                           LV2UI_Widget* widget, const LV2_Feature* const* features) {
  if (!pluginUri || std::string_view(pluginUri) != lv2::kPluginUri) return nullptr;
  auto* plugin = static_cast<Lv2Plugin*>(const_cast<void*>(FindFeature(features, LV2_INSTANCE_ACCESS_URI)));
  void* parent = const_cast<void*>(FindFeature(features, LV2_UI__parent));
  if (!plugin || !parent) return nullptr;
  try {
    return Lv2Ui::Create(*plugin, parent, write, controller,
                         static_cast<const LV2UI_Resize*>(FindFeature(features, LV2_UI__resize)),
                         static_cast<const LV2UI_Touch*>(FindFeature(features, LV2_UI__touch)), widget);
  } catch (...) {
    return nullptr;
  }
}

void CleanupUi(LV2UI_Handle handle) { delete UiOf(handle); }

void PortEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
  UiOf(handle)->PortEvent(port, size, format, buffer);
}

int IdleUi(LV2UI_Handle handle) { return UiOf(handle)->Idle(); }

const void* UiExtensionData(const char* uri) {
  static const LV2UI_Idle_Interface idle = {IdleUi};
  if (uri && std::string_view(uri) == LV2_UI__idleInterface) return &idle;
  return nullptr;
}

const LV2UI_Descriptor kUiDescriptor = {lv2::kUiUri, InstantiateUi, CleanupUi, PortEvent, UiExtensionData};

}  // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  return index == 0 ? &kUiDescriptor : nullptr;
}
