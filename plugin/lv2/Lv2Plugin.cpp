#include "plugin/lv2/Lv2Plugin.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "amp/ParamIds.h"
#include "amp/VoltrexPlug.h"
#include "lv2/atom/atom.h"
#include "lv2/buf-size/buf-size.h"
#include "lv2/midi/midi.h"
#include "lv2/parameters/parameters.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "plugin/lv2/Lv2Ports.h"
#include "plugin/lv2/Lv2StateBytes.h"
#include "presets/DataFolder.h"

namespace lv2 {

namespace {

constexpr int kMaxBlockFrames = 1 << 16;  // larger announced sizes are cut into pieces

bool FileExists(const std::string& path) {
  std::FILE* file = platform::OpenFile(path, "rb");
  if (file) std::fclose(file);
  return file != nullptr;
}

ParamId PortParam(int controlPort) { return PlayerParams()[size_t(controlPort)].id; }

// The control port of an amp parameter, or -1.
int ControlPortOf(int paramIndex) {
  int port = 0;
  for (const PlayerParam& row : PlayerParams()) {
    if (row.id == paramIndex) return port;
    ++port;
  }
  return -1;
}

// A path through the host's map-path feature, to its abstract form or back; unchanged
// when the host gives none.
std::string MapPath(const std::string& path, bool toAbstract, const LV2_Feature* const* features) {
  const auto* mapPath = static_cast<const LV2_State_Map_Path*>(FindFeature(features, LV2_STATE__mapPath));
  if (!mapPath) return path;
  char* mapped = toAbstract ? mapPath->abstract_path(mapPath->handle, path.c_str())
                            : mapPath->absolute_path(mapPath->handle, path.c_str());
  if (!mapped) return path;
  std::string result = mapped;
  const auto* freePath = static_cast<const LV2_State_Free_Path*>(FindFeature(features, LV2_STATE__freePath));
  if (freePath) {
    freePath->free_path(freePath->handle, mapped);
  } else {
    std::free(mapped);
  }
  return result;
}

}  // namespace

Lv2Plugin::Lv2Plugin(double sampleRate, const LV2_Feature* const* features)
    : amp_(std::make_unique<VoltrexPlug>()), dataFolder_(DataFolder()) {
  for (std::atomic<float>& seen : lastSeen_) seen.store(NAN);
  amp_->SetHostLink(this);
  amp_->EnsureDefaultPreset();
  amp_->SetInputChannelConnections(0, amp_->NInChannels(), true);
  amp_->SetOutputChannelConnections(0, amp_->NOutChannels(), true);
  // The order a VST2 host opens the amp in, so both formats start from the same state.
  amp_->RunStatePass(StatePass::Open);
  if (sampleRate > 0.0 && sampleRate < 1e7) amp_->SetSampleRate(sampleRate);
  amp_->SetBlockSize(kDefaultBlockFrames);
  ReadFeatures(features);
  amp_->Reset();
}

Lv2Plugin::~Lv2Plugin() { amp_->SetHostLink(nullptr); }

void Lv2Plugin::ReadFeatures(const LV2_Feature* const* features) {
  map_ = static_cast<LV2_URID_Map*>(const_cast<void*>(FindFeature(features, LV2_URID__map)));
  if (map_) {
    const auto map = [this](const char* uri) { return map_->map(map_->handle, uri); };
    urids_.atomChunk = map(LV2_ATOM__Chunk);
    urids_.atomPath = map(LV2_ATOM__Path);
    urids_.atomInt = map(LV2_ATOM__Int);
    urids_.atomFloat = map(LV2_ATOM__Float);
    urids_.atomSequence = map(LV2_ATOM__Sequence);
    urids_.midiEvent = map(LV2_MIDI__MidiEvent);
    urids_.maxBlock = map(LV2_BUF_SIZE__maxBlockLength);
    urids_.nominalBlock = map(LV2_BUF_SIZE__nominalBlockLength);
    urids_.sampleRate = map(LV2_PARAMETERS__sampleRate);
    urids_.stateKey = map(kStateChunkUri);
    urids_.impulseKey = map(kStateImpulseUri);
    urids_.versionKey = map(kStateVersionUri);
  }
  ApplyOptions(static_cast<const LV2_Options_Option*>(FindFeature(features, LV2_OPTIONS__options)));
  schedule_ = static_cast<const LV2_Worker_Schedule*>(FindFeature(features, LV2_WORKER__schedule));
}

// Without urid:map no option can be told apart; the defaults stay.
void Lv2Plugin::ApplyOptions(const LV2_Options_Option* options) {
  if (!options || !map_) return;
  int nominal = 0;
  int maximum = 0;
  for (; options->key; ++options) {
    if (options->context != LV2_OPTIONS_INSTANCE || !options->value) continue;
    if (options->type == urids_.atomInt && options->size == sizeof(int32_t)) {
      const int32_t value = *static_cast<const int32_t*>(options->value);
      if (options->key == urids_.nominalBlock) nominal = value;
      if (options->key == urids_.maxBlock) maximum = value;
    } else if (options->type == urids_.atomFloat && options->size == sizeof(float) &&
               options->key == urids_.sampleRate) {
      const float rate = *static_cast<const float*>(options->value);
      if (rate > 0.0f && rate < 1e7f) amp_->SetSampleRate(rate);
    }
  }
  // The nominal length is what the host will mostly run; the maximum bounds it.
  const int frames = nominal > 0 ? nominal : maximum;
  if (frames > 0) amp_->SetBlockSize(std::min(frames, kMaxBlockFrames));
}

uint32_t Lv2Plugin::GetOptions(LV2_Options_Option*) { return LV2_OPTIONS_ERR_UNKNOWN; }

uint32_t Lv2Plugin::SetOptions(const LV2_Options_Option* options) {
  PlugLockGuard guard(amp_->Lock());
  ApplyOptions(options);
  amp_->Reset();
  return LV2_OPTIONS_SUCCESS;
}

// ---------------------------------------------------------------------------------------
// Ports and processing

void Lv2Plugin::ConnectPort(uint32_t port, void* data) {
  switch (port) {
    case kInputLeft:
    case kInputRight:
      audioIn_[port - kInputLeft] = static_cast<const float*>(data);
      return;
    case kOutputLeft:
    case kOutputRight:
      audioOut_[port - kOutputLeft] = static_cast<float*>(data);
      return;
    case kMidiInput:
      midiIn_ = data;
      return;
    default:
      if (port >= kFirstControlPort && port < kFirstControlPort + kControlPorts) {
        controls_[port - kFirstControlPort] = static_cast<const float*>(data);
      }
      return;
  }
}

void Lv2Plugin::Activate() {
  PlugLockGuard guard(amp_->Lock());
  amp_->OnActivate(true);
}

void Lv2Plugin::Deactivate() {
  PlugLockGuard guard(amp_->Lock());
  amp_->OnActivate(false);
  amp_->Reset();
}

void Lv2Plugin::Run(uint32_t frames) {
  // A message raised here (a preset that fails to load) waits for the editor's tick.
  const platform::ScopedMessageDeferral onAudioThread;
  const bool audio = frames > 0 && audioIn_[0] && audioIn_[1] && audioOut_[0] && audioOut_[1];
  {
    // Ports and MIDI reach the amp only if no other thread holds it (the worker loading, the
    // editor): then the ports stay unseen until a later run, the MIDI waits in order for
    // the worker or a later run, and the block plays on with the sound as it is.
    std::unique_lock<PlugLock> lock(amp_->Lock(), std::try_to_lock);
    const bool ampFree = lock.owns_lock();
    if (ampFree) {
      ApplyControlPorts();
    } else {
      amp_->CountAudioContention();
    }
    ReadMidi(ampFree);
    ScheduleDeferred(ampFree);
  }
  if (!audio) return;
  float* inputs[2] = {const_cast<float*>(audioIn_[0]), const_cast<float*>(audioIn_[1])};
  amp_->ProcessHostBuffers(inputs, audioOut_, int(std::min<uint32_t>(frames, INT32_MAX)),
                           IEffectBase::OutputMode::Replace);
}

void Lv2Plugin::ApplyControlPorts() {
  const bool adopt = adoptPorts_.exchange(false);
  for (int port = 0; port < kControlPorts; ++port) {
    const float* data = controls_[size_t(port)];
    if (!data) continue;
    const float value = *data;
    const float seen = lastSeen_[size_t(port)].load();
    if (value == seen) continue;
    lastSeen_[size_t(port)].store(value);
    if (!adopt) ApplyPortValue(port, value);
  }
}

// As a host's automation reaches the amp: the controls move without telling the plug-in,
// the value is stored and handled.
void Lv2Plugin::ApplyPortValue(int controlPort, float value) {
  if (!std::isfinite(value)) return;
  const int index = PortParam(controlPort);
  IParam* param = amp_->GetParam(index);
  if (double(value) == param->Value()) return;
  amp_->SetParameterFromHost(index, param->GetNormalized(double(value)));
}

void Lv2Plugin::ReadMidi(bool ampFree) {
  const auto* sequence = static_cast<const LV2_Atom_Sequence*>(midiIn_);
  if (!sequence || !map_ || sequence->atom.type != urids_.atomSequence) return;
  const uint32_t size = sequence->atom.size;
  uint32_t offset = sizeof(LV2_Atom_Sequence_Body);
  const auto* base = reinterpret_cast<const uint8_t*>(&sequence->body);
  while (offset + sizeof(LV2_Atom_Event) <= size) {
    const auto* event = reinterpret_cast<const LV2_Atom_Event*>(base + offset);
    const uint32_t bodySize = event->body.size;
    if (bodySize > size - offset - sizeof(LV2_Atom_Event)) return;
    if (event->body.type == urids_.midiEvent && bodySize >= 1) {
      const auto* bytes = reinterpret_cast<const uint8_t*>(event + 1);
      IMidiMsg msg;
      msg.offset = int(event->time.frames);
      msg.status = bytes[0];
      msg.data1 = bodySize > 1 ? bytes[1] : 0;
      msg.data2 = bodySize > 2 ? bytes[2] : 0;
      Dispatch(msg, ampFree);
    }
    offset += uint32_t(sizeof(LV2_Atom_Event)) + ((bodySize + 7u) & ~7u);
  }
}

void Lv2Plugin::Dispatch(const IMidiMsg& msg, bool ampFree) {
  const bool loads = schedule_ && msg.StatusMsg() == IMidiMsg::Type::ProgramChange;
  if (ampFree && !loads && deferredCount_ == 0 && jobsPending_.load() == 0) {
    amp_->ProcessMidiMsg(msg);
    return;
  }
  if (deferredCount_ == kMaxDeferredMessages) ScheduleDeferred(ampFree);
  // Without a worker, and while another thread holds the amp, a full list drops the newest.
  if (deferredCount_ < kMaxDeferredMessages) deferred_[deferredCount_++] = msg;
}

// Hands the waiting messages to the worker; without one they are handled here once the
// amp is free, else they wait for a later run.
void Lv2Plugin::ScheduleDeferred(bool ampFree) {
  if (deferredCount_ == 0) return;
  if (!schedule_) {
    if (!ampFree) return;
    for (int i = 0; i < deferredCount_; ++i) amp_->ProcessMidiMsg(deferred_[i]);
    deferredCount_ = 0;
    return;
  }
  const int count = deferredCount_;
  deferredCount_ = 0;
  jobsPending_.fetch_add(1);
  // The host may run the job at once, inside this call; the lock is recursive.
  if (schedule_->schedule_work(schedule_->handle, uint32_t(count * sizeof(IMidiMsg)), deferred_) !=
      LV2_WORKER_SUCCESS) {
    // Refused: handled here if the amp is free, else kept for a later run.
    jobsPending_.fetch_sub(1);
    deferredCount_ = count;
    if (!ampFree) return;
    for (int i = 0; i < count; ++i) amp_->ProcessMidiMsg(deferred_[i]);
    deferredCount_ = 0;
  }
}

LV2_Worker_Status Lv2Plugin::Work(uint32_t size, const void* data) {
  if (data && size % sizeof(IMidiMsg) == 0) {
    // A message raised here waits for the editor's tick rather than block the worker.
    const platform::ScopedMessageDeferral offInterfaceThread;
    PlugLockGuard guard(amp_->Lock());
    const auto* messages = static_cast<const IMidiMsg*>(data);
    for (uint32_t i = 0; i < size / sizeof(IMidiMsg); ++i) amp_->ProcessMidiMsg(messages[i]);
  }
  jobsPending_.fetch_sub(1);
  return LV2_WORKER_SUCCESS;
}

// ---------------------------------------------------------------------------------------
// Values the amp changes itself: flagged for the editor to write to the host.

void Lv2Plugin::Flag(int paramIndex, uint8_t flag) {
  const int port = ControlPortOf(paramIndex);
  if (port >= 0) flags_[size_t(port)].fetch_or(flag);
}

void Lv2Plugin::BeginParamChange(int index) { Flag(index, kBegin); }

void Lv2Plugin::ParamChanged(int index, double) { Flag(index, kChanged); }

void Lv2Plugin::EndParamChange(int index) { Flag(index, kEnd); }

float Lv2Plugin::AmpPortValue(int controlPort) const {
  PlugLockGuard guard(amp_->Lock());
  return float(amp_->GetParam(PortParam(controlPort))->Value());
}

void Lv2Plugin::FlagStalePorts() {
  for (int port = 0; port < kControlPorts; ++port) {
    if (AmpPortValue(port) != lastSeen_[size_t(port)].load()) flags_[size_t(port)].fetch_or(kChanged);
  }
}

// ---------------------------------------------------------------------------------------
// State

std::string Lv2Plugin::StoredImpulsePath(const std::string& path,
                                         const LV2_Feature* const* features) const {
  const std::string relative = RelativeToDataFolder(path, dataFolder_);
  return relative.empty() ? MapPath(path, true, features) : relative;
}

// A relative path names a file of the data folder when one is there; otherwise the host
// maps it back.
std::string Lv2Plugin::ResolvedImpulsePath(const std::string& stored,
                                           const LV2_Feature* const* features) const {
  if (stored.empty() || stored.front() == '/') return stored;
  if (!dataFolder_.empty() && FileExists(dataFolder_ + stored)) return dataFolder_ + stored;
  return MapPath(stored, false, features);
}

LV2_State_Status Lv2Plugin::Save(LV2_State_Store_Function store, LV2_State_Handle handle,
                                 const LV2_Feature* const* features) {
  if (!map_) return LV2_STATE_ERR_NO_FEATURE;
  PlugLockGuard guard(amp_->Lock());
  ByteChunk bytes;
  if (!amp_->SerializeState(bytes)) return LV2_STATE_ERR_UNKNOWN;
  const uint32_t portable = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
  const int32_t version = kStateVersion;
  store(handle, urids_.versionKey, &version, sizeof version, urids_.atomInt, portable);
  store(handle, urids_.stateKey, bytes.Data(), size_t(bytes.Size()), urids_.atomChunk, portable);
  const std::string path = amp_->ImpulsePath();
  if (!path.empty()) {
    const std::string stored = StoredImpulsePath(path, features);
    store(handle, urids_.impulseKey, stored.c_str(), stored.size() + 1, urids_.atomPath, portable);
  }
  return LV2_STATE_SUCCESS;
}

LV2_State_Status Lv2Plugin::Restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                                    const LV2_Feature* const* features) {
  if (!map_) return LV2_STATE_ERR_NO_FEATURE;
  size_t size = 0;
  uint32_t type = 0;
  uint32_t flags = 0;
  const void* data = retrieve(handle, urids_.stateKey, &size, &type, &flags);
  if (!data || type != urids_.atomChunk || size == 0 || size > INT32_MAX) return LV2_STATE_ERR_NO_PROPERTY;
  ByteChunk bytes;
  bytes.PutBytes(data, int(size));
  const void* path = retrieve(handle, urids_.impulseKey, &size, &type, &flags);
  if (path && type == urids_.atomPath) {
    const std::string stored(static_cast<const char*>(path), strnlen(static_cast<const char*>(path), size));
    bytes = WithImpulsePath(bytes, ResolvedImpulsePath(stored, features));
  }
  PlugLockGuard guard(amp_->Lock());
  // Whatever part of the bytes is there is restored; the rest keeps its values.
  amp_->UnserializeState(bytes, 0);
  amp_->SetAllControlsFromParams();
  adoptPorts_.store(true);
  FlagStalePorts();
  return LV2_STATE_SUCCESS;
}

}  // namespace lv2
