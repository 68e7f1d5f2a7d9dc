#include "tests/lv2/Lv2TestHost.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "lv2/atom/atom.h"
#include "lv2/buf-size/buf-size.h"
#include "lv2/midi/midi.h"
#include "lv2/parameters/parameters.h"
#include "lv2/state/state.h"

namespace lv2test {

namespace {

constexpr size_t kSequenceBytes = 8192;

LV2_URID MapUri(LV2_URID_Map_Handle handle, const char* uri) {
  return static_cast<UridMap*>(handle)->Map(uri);
}

const char* UnmapUrid(LV2_URID_Unmap_Handle handle, LV2_URID urid) {
  return static_cast<UridMap*>(handle)->Unmap(urid);
}

const void* GetPortValue(const char* symbol, void* user, uint32_t* size, uint32_t* type) {
  auto* instance = static_cast<std::pair<Instance*, LV2_URID>*>(user);
  static float value = 0.0f;
  value = instance->first->Control(symbol);
  *size = sizeof(float);
  *type = instance->second;
  return &value;
}

void SetPortValue(const char* symbol, void* user, const void* value, uint32_t size, uint32_t) {
  if (size != sizeof(float)) return;
  float f = 0.0f;
  std::memcpy(&f, value, sizeof f);
  static_cast<Instance*>(user)->SetControl(symbol, f);
}

}  // namespace

const char* PluginUri() { return "urn:voltrex:amp"; }

World& World::Get() {
  static World loaded = [] {
    World w;
    w.world = lilv_world_new();
    // The bundle, and the core specification that names the plug-in classes.
    for (const char* path : {"/usr/lib/lv2/core.lv2/", VOLTREX_LV2_BUNDLE}) {
      LilvNode* bundle = lilv_new_file_uri(w.world, nullptr, path);
      lilv_world_load_bundle(w.world, bundle);
      lilv_node_free(bundle);
    }
    lilv_world_load_specifications(w.world);
    lilv_world_load_plugin_classes(w.world);
    LilvNode* uri = lilv_new_uri(w.world, PluginUri());
    w.plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(w.world), uri);
    lilv_node_free(uri);
    return w;
  }();
  return loaded;
}

UridMap::UridMap() {
  map_ = {this, MapUri};
  unmap_ = {this, UnmapUrid};
}

LV2_URID UridMap::Map(const char* uri) {
  for (size_t i = 0; i < uris_.size(); ++i) {
    if (uris_[i] == uri) return LV2_URID(i + 1);
  }
  uris_.emplace_back(uri);
  return LV2_URID(uris_.size());
}

const char* UridMap::Unmap(LV2_URID urid) const {
  return urid >= 1 && urid <= uris_.size() ? uris_[urid - 1].c_str() : nullptr;
}

Instance::Instance(const InstanceOptions& options) : map_(std::make_unique<UridMap>()) {
  World& world = World::Get();
  if (!world.plugin) return;
  blockLength_ = options.blockLength;
  sampleRate_ = float(options.sampleRate);
  std::vector<const LV2_Feature*> features;
  LV2_Feature mapFeature{LV2_URID__map, map_->MapFeature()};
  LV2_Feature unmapFeature{LV2_URID__unmap, map_->UnmapFeature()};
  LV2_Feature optionsFeature{LV2_OPTIONS__options, nullptr};
  if (options.withMap) {
    features.push_back(&mapFeature);
    features.push_back(&unmapFeature);
    if (blockLength_ > 0) {
      const LV2_URID intType = map_->Map(LV2_ATOM__Int);
      for (const char* key : {LV2_BUF_SIZE__nominalBlockLength, LV2_BUF_SIZE__maxBlockLength}) {
        options_.push_back({LV2_OPTIONS_INSTANCE, 0, map_->Map(key), sizeof(int32_t), intType, &blockLength_});
      }
      options_.push_back({LV2_OPTIONS_INSTANCE, 0, map_->Map(LV2_PARAMETERS__sampleRate), sizeof(float),
                          map_->Map(LV2_ATOM__Float), &sampleRate_});
      options_.push_back({LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr});
      optionsFeature.data = options_.data();
      features.push_back(&optionsFeature);
    }
  }
  LV2_Feature workerFeature{LV2_WORKER__schedule, &schedule_};
  if (options.withWorker) features.push_back(&workerFeature);
  features.push_back(nullptr);
  instance_ = lilv_plugin_instantiate(world.plugin, options.sampleRate, features.data());
  if (!instance_) return;

  const uint32_t ports = lilv_plugin_get_num_ports(world.plugin);
  controls_.assign(ports, 0.0f);
  symbols_.assign(ports, "");
  std::vector<float> defaults(ports, 0.0f);
  lilv_plugin_get_port_ranges_float(world.plugin, nullptr, nullptr, defaults.data());
  LilvNode* controlClass = lilv_new_uri(world.world, LV2_CORE__ControlPort);
  LilvNode* audioClass = lilv_new_uri(world.world, LV2_CORE__AudioPort);
  LilvNode* inputClass = lilv_new_uri(world.world, LV2_CORE__InputPort);
  LilvNode* atomClass = lilv_new_uri(world.world, LV2_ATOM__AtomPort);
  int audioIn = 0;
  int audioOut = 0;
  sequence_.assign(kSequenceBytes / 8, 0);
  for (uint32_t i = 0; i < ports; ++i) {
    const LilvPort* port = lilv_plugin_get_port_by_index(world.plugin, i);
    symbols_[i] = lilv_node_as_string(lilv_port_get_symbol(world.plugin, port));
    if (lilv_port_is_a(world.plugin, port, controlClass)) {
      controls_[i] = defaults[i];
      lilv_instance_connect_port(instance_, i, &controls_[i]);
    } else if (lilv_port_is_a(world.plugin, port, audioClass)) {
      const bool input = lilv_port_is_a(world.plugin, port, inputClass);
      std::vector<float>& buffer = input ? in_[audioIn++ % 2] : out_[audioOut++ % 2];
      buffer.assign(1, 0.0f);
    } else if (lilv_port_is_a(world.plugin, port, atomClass) && options.withMap) {
      lilv_instance_connect_port(instance_, i, sequence_.data());
    }
  }
  for (LilvNode* node : {controlClass, audioClass, inputClass, atomClass}) lilv_node_free(node);
  ClearSequence();
  lilv_instance_activate(instance_);
}

Instance::~Instance() {
  if (!instance_) return;
  lilv_instance_deactivate(instance_);
  lilv_instance_free(instance_);
}

void Instance::SetControl(const std::string& symbol, float value) {
  const auto found = std::find(symbols_.begin(), symbols_.end(), symbol);
  if (found == symbols_.end()) throw std::invalid_argument("no port " + symbol);
  controls_[size_t(found - symbols_.begin())] = value;
}

float Instance::Control(const std::string& symbol) const {
  const auto found = std::find(symbols_.begin(), symbols_.end(), symbol);
  if (found == symbols_.end()) throw std::invalid_argument("no port " + symbol);
  return controls_[size_t(found - symbols_.begin())];
}

void Instance::ClearSequence() {
  auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(sequence_.data());
  sequence->atom.type = map_->Map(LV2_ATOM__Sequence);
  sequence->atom.size = sizeof(LV2_Atom_Sequence_Body);
  sequence->body.unit = 0;
  sequence->body.pad = 0;
}

void Instance::SendEvent(uint32_t type, const std::vector<uint8_t>& body, int64_t frame) {
  auto* sequence = reinterpret_cast<LV2_Atom_Sequence*>(sequence_.data());
  auto* bytes = reinterpret_cast<uint8_t*>(&sequence->body);
  const size_t end = sequence->atom.size;
  const size_t padded = (body.size() + 7) & ~size_t(7);
  if (sizeof(LV2_Atom) + end + sizeof(LV2_Atom_Event) + padded > kSequenceBytes) {
    throw std::length_error("sequence full");
  }
  auto* event = reinterpret_cast<LV2_Atom_Event*>(bytes + end);
  event->time.frames = frame;
  event->body.type = type;
  event->body.size = uint32_t(body.size());
  if (!body.empty()) std::memcpy(event + 1, body.data(), body.size());
  sequence->atom.size = uint32_t(end + sizeof(LV2_Atom_Event) + padded);
}

void Instance::SendMidi(const std::vector<Midi>& messages) {
  const LV2_URID midi = map_->Map(LV2_MIDI__MidiEvent);
  for (const Midi& message : messages) SendEvent(midi, {message.begin(), message.end()});
}

void Instance::Run(uint32_t frames) {
  for (std::vector<float>& channel : in_) {
    if (channel.size() < frames) channel.resize(frames, 0.0f);
  }
  for (std::vector<float>& channel : out_) {
    if (channel.size() < frames) channel.resize(frames, 0.0f);
  }
  lilv_instance_connect_port(instance_, 0, in_[0].data());
  lilv_instance_connect_port(instance_, 1, in_[1].data());
  lilv_instance_connect_port(instance_, 2, out_[0].data());
  lilv_instance_connect_port(instance_, 3, out_[1].data());
  lilv_instance_run(instance_, frames);
  ClearSequence();
}

std::vector<std::array<float, 2>> Instance::Process(const std::vector<float>& mono,
                                                    const std::vector<uint32_t>& runSizes) {
  std::vector<std::array<float, 2>> out;
  out.reserve(mono.size());
  size_t done = 0;
  size_t run = 0;
  while (done < mono.size()) {
    const uint32_t size = uint32_t(std::min<size_t>(runSizes[run++ % runSizes.size()], mono.size() - done));
    for (std::vector<float>& channel : in_) {
      channel.assign(mono.begin() + long(done), mono.begin() + long(done + size));
      if (channel.empty()) channel.push_back(0.0f);
    }
    Run(size);
    for (uint32_t i = 0; i < size; ++i) out.push_back({out_[0][i], out_[1][i]});
    done += size;
  }
  return out;
}

LV2_Worker_Status Instance::Schedule(LV2_Worker_Schedule_Handle handle, uint32_t size, const void* data) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  static_cast<Instance*>(handle)->jobs_.emplace_back(bytes, bytes + size);
  return LV2_WORKER_SUCCESS;
}

int Instance::RunWorker() {
  const auto* worker =
      static_cast<const LV2_Worker_Interface*>(lilv_instance_get_extension_data(instance_, LV2_WORKER__interface));
  if (!worker) return 0;
  const auto respond = [](LV2_Worker_Respond_Handle, uint32_t, const void*) { return LV2_WORKER_SUCCESS; };
  const int count = int(jobs_.size());
  for (const std::vector<uint8_t>& job : jobs_) {
    worker->work(lilv_instance_get_handle(instance_), respond, nullptr, uint32_t(job.size()), job.data());
  }
  jobs_.clear();
  return count;
}

LilvState* Instance::Save(const std::string& folder) {
  std::pair<Instance*, LV2_URID> user{this, map_->Map(LV2_ATOM__Float)};
  return lilv_state_new_from_instance(World::Get().plugin, instance_, map_->MapFeature(), nullptr,
                                      folder.c_str(), folder.c_str(), folder.c_str(), GetPortValue,
                                      &user, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, nullptr);
}

void Instance::Restore(const LilvState* state) {
  lilv_state_restore(state, instance_, SetPortValue, this, 0, nullptr);
}

namespace {

struct PropertySink {
  UridMap* map;
  std::map<std::string, StateProperty>* properties;
};

LV2_State_Status StoreProperty(LV2_State_Handle handle, uint32_t key, const void* value, size_t size,
                               uint32_t type, uint32_t) {
  auto* sink = static_cast<PropertySink*>(handle);
  const auto* bytes = static_cast<const uint8_t*>(value);
  (*sink->properties)[sink->map->Unmap(key)] = {sink->map->Unmap(type), {bytes, bytes + size}};
  return LV2_STATE_SUCCESS;
}

struct PropertySource {
  UridMap* map;
  const std::map<std::string, StateProperty>* properties;
};

const void* RetrieveProperty(LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type,
                             uint32_t* flags) {
  auto* source = static_cast<PropertySource*>(handle);
  const char* uri = source->map->Unmap(key);
  const auto found = uri ? source->properties->find(uri) : source->properties->end();
  if (found == source->properties->end()) return nullptr;
  *size = found->second.bytes.size();
  *type = source->map->Map(found->second.type.c_str());
  *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
  return found->second.bytes.data();
}

const LV2_State_Interface* StateInterface(LilvInstance* instance) {
  return static_cast<const LV2_State_Interface*>(lilv_instance_get_extension_data(instance, LV2_STATE__interface));
}

}  // namespace

std::map<std::string, StateProperty> Instance::SaveProperties(const LV2_Feature* const* features) {
  std::map<std::string, StateProperty> properties;
  PropertySink sink{map_.get(), &properties};
  const LV2_Feature* const none[] = {nullptr};
  StateInterface(instance_)->save(lilv_instance_get_handle(instance_), StoreProperty, &sink, 0,
                                  features ? features : none);
  return properties;
}

int Instance::RestoreProperties(const std::map<std::string, StateProperty>& properties,
                                const LV2_Feature* const* features) {
  PropertySource source{map_.get(), &properties};
  const LV2_Feature* const none[] = {nullptr};
  return StateInterface(instance_)->restore(lilv_instance_get_handle(instance_), RetrieveProperty, &source, 0,
                                            features ? features : none);
}

}  // namespace lv2test
