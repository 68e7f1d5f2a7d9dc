#include "plugin/IEffectBase.h"

#include <algorithm>
#include <cassert>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "editor/IGraphics.h"

namespace {

// The scratch buffers never grow past this many frames, whatever block size a host
// announces; longer host calls are processed in pieces.
constexpr int kMaxScratchFrames = 1 << 16;

constexpr const char* kUserPresetName = "user preset";

void NameNewPreset(IPreset& preset, int number) {
  std::snprintf(preset.name, IPreset::kNameBytes, "- %d -", number);
}

}  // namespace

IEffectBase::IEffectBase(int nParams, const char* channelIO, int nPresets)
    : params_(size_t(std::max(nParams, 0))), presets_(size_t(std::max(nPresets, 0))) {
  for (int i = 0; i < NPresets(); ++i) NameNewPreset(presets_[size_t(i)], i + 1);
  ParseChannelIO(channelIO);
}

IEffectBase::~IEffectBase() = default;

void IEffectBase::ParseChannelIO(const char* channelIO) {
  int maxIn = 0;
  int maxOut = 0;
  for (const char* token = channelIO; token;) {
    ChannelPair pair{};
    const bool valid = std::sscanf(token, "%d-%d", &pair.nIn, &pair.nOut) == 2;
    assert(valid && "channelIOStrValid");
    if (!valid) break;
    legalIO_.push_back(pair);
    maxIn = std::max(maxIn, pair.nIn);
    maxOut = std::max(maxOut, pair.nOut);
    token = std::strchr(token, ' ');
    if (token) ++token;
  }
  inChannels_.resize(size_t(maxIn));
  outChannels_.resize(size_t(maxOut));
  inPointers_.assign(size_t(maxIn), nullptr);
  outPointers_.assign(size_t(maxOut), nullptr);
}

// ---------------------------------------------------------------------------------------
// Parameters

IParam* IEffectBase::GetParam(int index) {
  return index >= 0 && index < NParams() ? &params_[size_t(index)] : nullptr;
}

const IParam* IEffectBase::GetParam(int index) const {
  return index >= 0 && index < NParams() ? &params_[size_t(index)] : nullptr;
}

void IEffectBase::SetParameterFromGUI(int index, double normalized) {
  PlugLockGuard guard(lock_);
  IParam* param = GetParam(index);
  if (!param) return;
  param->SetNormalized(normalized);
  InformHostOfParamChange(index, normalized);
  OnParamChange(index);
}

void IEffectBase::SetParameterFromHost(int index, double normalized) {
  IParam* param = GetParam(index);
  if (!param) return;
  if (graphics_) graphics_->SetParameterFromPlug(index, normalized, true);
  param->SetNormalized(normalized);
  OnParamChange(index);
}

bool IEffectBase::QueueHostRequest(const HostRequest& request) { return hostRequests_.Push(request); }

void IEffectBase::ServeHostRequests() {
  PlugLockGuard guard(lock_);
  std::vector<HostRequest> requests;
  for (HostRequest request; hostRequests_.Pop(request);) requests.push_back(request);
  const auto isProgramChange = [](const HostRequest& r) {
    return r.param < 0 && r.midi.StatusMsg() == IMidiMsg::Type::ProgramChange;
  };
  size_t lastProgramChange = requests.size();
  for (size_t i = 0; i < requests.size(); ++i) {
    if (isProgramChange(requests[i])) lastProgramChange = i;
  }
  for (size_t i = 0; i < requests.size(); ++i) {
    const HostRequest& request = requests[i];
    if (request.param >= 0) {
      SetParameterFromHost(request.param, request.normalized);
    } else if (!isProgramChange(request) || i == lastProgramChange) {
      ProcessMidiMsg(request.midi);
    }
  }
}

void IEffectBase::BeginInformHostOfParamChange(int index) {
  if (hostLink_) hostLink_->BeginParamChange(index);
}

void IEffectBase::InformHostOfParamChange(int index, double normalized) {
  if (hostLink_) hostLink_->ParamChanged(index, normalized);
}

void IEffectBase::EndInformHostOfParamChange(int index) {
  if (hostLink_) hostLink_->EndParamChange(index);
}

bool IEffectBase::SerializeParams(ByteChunk& chunk) {
  PlugLockGuard guard(lock_);
  for (const IParam& param : params_) chunk.Put(param.Value());
  return true;
}

int IEffectBase::UnserializeParams(const ByteChunk& chunk, int pos) {
  PlugLockGuard guard(lock_);
  for (IParam& param : params_) {
    double value = 0.0;
    pos = chunk.Get(value, pos);
    if (pos < 0) break;
    param.Set(value);
  }
  RunStatePass(StatePass::Restore);
  return pos;
}

void IEffectBase::RunStatePass(StatePass pass) {
  PlugLockGuard guard(lock_);
  const StatePass outer = statePass_;
  statePass_ = pass;
  for (int i = 0; i < NParams(); ++i) OnParamChange(i);
  statePass_ = outer;
}

bool IEffectBase::SerializeState(ByteChunk& chunk) { return SerializeParams(chunk); }

int IEffectBase::UnserializeState(const ByteChunk& chunk, int start) {
  return UnserializeParams(chunk, start);
}

void IEffectBase::SetAllControlsFromParams() {
  if (!graphics_) return;
  for (int i = 0; i < NParams(); ++i) graphics_->SetParameterFromPlug(i, params_[size_t(i)].Value(), false);
}

bool IEffectBase::ResizeEditorWindow(int width, int height) {
  return hostLink_ && hostLink_->ResizeEditor(width, height);
}

void IEffectBase::AttachGraphics(IGraphics* graphics) {
  PlugLockGuard guard(lock_);
  graphics_ = graphics;
  SetAllControlsFromParams();
  if (graphics_) graphics_->PrepDraw();
}

// ---------------------------------------------------------------------------------------
// Programs

void IEffectBase::MakeDefaultPreset(const char* name, int count) {
  PlugLockGuard guard(lock_);
  for (int n = 0; n < count; ++n) {
    auto preset = std::find_if(presets_.begin(), presets_.end(),
                               [](const IPreset& p) { return !p.initialized; });
    if (preset == presets_.end()) return;
    preset->initialized = true;
    CopyText(preset->name, name ? name : "Default", IPreset::kNameBytes);
    preset->chunk.Clear();
    SerializeState(preset->chunk);
  }
}

void IEffectBase::EnsureDefaultPreset() {
  PlugLockGuard guard(lock_);
  if (presets_.empty()) {
    presets_.emplace_back();
    NameNewPreset(presets_.back(), 1);
  }
  MakeDefaultPreset("Default", 1);
}

void IEffectBase::ModifyCurrentPreset(const char* name) {
  PlugLockGuard guard(lock_);
  if (currentPreset_ < 0 || currentPreset_ >= NPresets()) return;
  IPreset& preset = presets_[size_t(currentPreset_)];
  preset.chunk.Clear();
  SerializeState(preset.chunk);
  if (name && *name) CopyText(preset.name, name, IPreset::kNameBytes);
}

bool IEffectBase::RestorePreset(int index) {
  PlugLockGuard guard(lock_);
  if (index < 0 || index >= NPresets()) return false;
  IPreset& preset = presets_[size_t(index)];
  bool restored = true;
  if (!preset.initialized) {
    const int userPresets = int(std::count_if(presets_.begin(), presets_.end(), [](const IPreset& p) {
      return std::strstr(p.name, kUserPresetName) != nullptr;
    }));
    std::snprintf(preset.name, IPreset::kNameBytes, "%s %d", kUserPresetName, userPresets + 1);
    preset.initialized = true;
    preset.chunk.Clear();
    SerializeState(preset.chunk);
  } else {
    restored = UnserializeState(preset.chunk, 0) > 0;
  }
  if (restored) {
    currentPreset_ = index;
    SetAllControlsFromParams();
  }
  return restored;
}

const char* IEffectBase::GetPresetName(int index) const {
  return index >= 0 && index < NPresets() ? presets_[size_t(index)].name : "";
}

bool IEffectBase::SerializePresets(ByteChunk& chunk) {
  PlugLockGuard guard(lock_);
  for (const IPreset& preset : presets_) {
    chunk.PutString(preset.name);
    chunk.Put(uint8_t(preset.initialized ? 1 : 0));
    if (preset.initialized) chunk.PutBytes(preset.chunk.Data(), preset.chunk.Size());
  }
  return true;
}

int IEffectBase::UnserializePresets(const ByteChunk& chunk, int pos) {
  PlugLockGuard guard(lock_);
  for (IPreset& preset : presets_) {
    int32_t nameLength = 0;
    pos = chunk.Get(nameLength, pos);
    // A negative length can only come from a corrupt chunk; reading on would go backwards.
    if (pos < 0 || nameLength < 0) return -1;
    preset.name[0] = '\0';
    if (nameLength >= 1 && chunk.Holds(pos, nameLength)) {
      const int kept = std::min<int>(nameLength, IPreset::kNameBytes - 1);
      std::memcpy(preset.name, chunk.Data() + pos, size_t(kept));
      preset.name[kept] = '\0';
    }
    if (int64_t(pos) + nameLength > chunk.Size()) return -1;
    pos += nameLength;
    uint8_t initialized = 0;
    pos = chunk.Get(initialized, pos);
    if (pos < 0) return -1;
    if (initialized) {
      pos = UnserializeState(chunk, pos);
      if (pos > 0) {
        preset.initialized = true;
        preset.chunk.Clear();
        SerializeState(preset.chunk);
      }
      if (pos < 0) return -1;
    }
  }
  RestorePreset(currentPreset_);
  return pos;
}

// ---------------------------------------------------------------------------------------
// Channels

bool IEffectBase::LegalIO(int nIn, int nOut) const {
  return std::any_of(legalIO_.begin(), legalIO_.end(), [&](const ChannelPair& pair) {
    return (nIn < 0 || nIn == pair.nIn) && (nOut < 0 || nOut == pair.nOut);
  });
}

bool IEffectBase::IsInChannelConnected(int i) const {
  return i >= 0 && i < NInChannels() && inChannels_[size_t(i)].connected;
}

bool IEffectBase::IsOutChannelConnected(int i) const {
  return i >= 0 && i < NOutChannels() && outChannels_[size_t(i)].connected;
}

void IEffectBase::SetInputChannelConnections(int first, int count, bool connected) {
  for (int i = std::max(first, 0); i < first + count && i < NInChannels(); ++i) {
    InChannel& channel = inChannels_[size_t(i)];
    channel.connected = connected;
    // An unconnected input reads its scratch buffer, which must then hold silence.
    if (!connected) std::fill(channel.scratch.begin(), channel.scratch.end(), 0.0);
  }
}

void IEffectBase::SetOutputChannelConnections(int first, int count, bool connected) {
  for (int i = std::max(first, 0); i < first + count && i < NOutChannels(); ++i) {
    outChannels_[size_t(i)].connected = connected;
  }
}

int IEffectBase::ScratchFrames() const { return std::clamp(blockSize_, 1, kMaxScratchFrames); }

void IEffectBase::SetBlockSize(int frames) {
  // A block size of zero or less is no size at all; the previous one stays in force.
  if (frames <= 0 || frames == blockSize_) return;
  blockSize_ = frames;
  ResizeScratch();
}

void IEffectBase::ResizeScratch() {
  const size_t frames = size_t(ScratchFrames());
  for (InChannel& channel : inChannels_) channel.scratch.assign(frames, 0.0);
  for (OutChannel& channel : outChannels_) channel.scratch.assign(frames, 0.0);
}

void IEffectBase::SetHost(int code, int version) {
  hostCode_ = code;
  hostVersion_ = version;
}

// ---------------------------------------------------------------------------------------
// Audio

void IEffectBase::OnActivate(bool) { PlugLockGuard guard(lock_); }

bool IEffectBase::MidiNoteName(int, char* name) {
  if (name) *name = '\0';
  return false;
}

void IEffectBase::ProcessBlock(double** inputs, double** outputs, int frames) {
  for (int c = 0; c < NOutChannels(); ++c) {
    const double* in = c < NInChannels() ? inputs[c] : nullptr;
    for (int i = 0; i < frames; ++i) outputs[c][i] = in ? in[i] : 0.0;
  }
}

template <typename Sample>
void IEffectBase::AttachChannels(Sample** inputs, Sample** outputs, int offset, int frames) {
  constexpr bool kConvert = !std::is_same_v<Sample, double>;
  int hostChannel = 0;
  for (size_t c = 0; c < inChannels_.size(); ++c) {
    InChannel& channel = inChannels_[c];
    Sample* host = channel.connected && inputs ? inputs[hostChannel++] : nullptr;
    double* source = channel.scratch.data();
    if constexpr (kConvert) {
      if (host) std::copy(host + offset, host + offset + frames, source);
    } else {
      if (host) source = host + offset;
    }
    inPointers_[c] = source;
  }
  hostChannel = 0;
  for (size_t c = 0; c < outChannels_.size(); ++c) {
    OutChannel& channel = outChannels_[c];
    Sample* host = channel.connected && outputs ? outputs[hostChannel++] : nullptr;
    double* destination = channel.scratch.data();
    if constexpr (!kConvert) {
      if (host) destination = host + offset;
    }
    outPointers_[c] = destination;
  }
}

template <typename Sample>
void IEffectBase::StoreOutputs(Sample** outputs, int offset, int frames, OutputMode mode) {
  int hostChannel = 0;
  for (OutChannel& channel : outChannels_) {
    Sample* host = channel.connected && outputs ? outputs[hostChannel++] : nullptr;
    if (!host) continue;
    const double* scratch = channel.scratch.data();
    Sample* out = host + offset;
    if (mode == OutputMode::Accumulate) {
      for (int i = 0; i < frames; ++i) out[i] += Sample(scratch[i]);
    } else {
      for (int i = 0; i < frames; ++i) out[i] = Sample(scratch[i]);
    }
  }
}

template <typename Sample>
void IEffectBase::ProcessHostBuffers(Sample** inputs, Sample** outputs, int frames,
                                     OutputMode mode) {
  const int piece = ScratchFrames();
  for (int offset = 0; offset < frames; offset += piece) {
    const int n = std::min(piece, frames - offset);
    AttachChannels(inputs, outputs, offset, n);
    ProcessBlock(inPointers_.data(), outPointers_.data(), n);
    if constexpr (!std::is_same_v<Sample, double>) StoreOutputs(outputs, offset, n, mode);
  }
}

template void IEffectBase::ProcessHostBuffers<float>(float**, float**, int, OutputMode);
template void IEffectBase::ProcessHostBuffers<double>(double**, double**, int, OutputMode);
