#include "plugin/vst2/IEffectVST.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "editor/IGraphics.h"
#include "platform/Dialogs.h"
#include "platform/EditorWindow.h"

namespace {

constexpr int32_t kChunkMagic = 0x70666674;
constexpr int32_t kChunkVersion = 0x00010000;

// Text results are cut to what every host provides room for.
constexpr size_t kParamTextBytes = 32;
constexpr size_t kProgramNameBytes = 24;
constexpr size_t kEffectNameBytes = 32;
constexpr size_t kVendorTextBytes = 64;
constexpr size_t kHostProductBytes = 256;

// effVendorSpecific query for leak checks: two int32 at ptr receive the GDI and USER objects
// the editor holds now (Windows; zeros elsewhere).
constexpr int32_t kGuiObjectsQuery = 0x56786F62;  // 'Vxob'
// effVendorSpecific query: the times the audio thread found something it needed held by
// another thread since the plug-in was made (returned).
constexpr int32_t kAudioContentionQuery = 0x56786374;  // 'Vxct'

// Set on a thread once it has run an audio callback: a host's automation that later comes
// from it is treated as coming from the audio thread.
thread_local bool tAudioThread = false;

constexpr int32_t kTimeFilterTempo = 0x400;
constexpr int32_t kTimeFilterTimeSig = 0x2000;
constexpr int32_t kTimeFilterAll = 0x3E00;

struct HostName {
  const char* substring;
  int code;
};

// Searched in order in the host's lower-cased product string; the first hit decides.
constexpr HostName kHostNames[] = {
    {"cubase", 3},     {"reaper", 1},  {"nuendo", 4},     {"cakewalk", 5},   {"samplitude", 8},
    {"fruity", 7},     {"live", 9},    {"melodyne", 12},  {"vstmanlib", 13}, {"aulab", 14},
    {"forte", 15},     {"chainer", 16}, {"audition", 17}, {"orion", 18},     {"sawstudio", 20},
    {"logic", 21},     {"digital", 22},
};

bool IsStereoOnlyHost(int code) { return code == 15 || code == 17 || code == 18 || code == 20; }

int HostCodeFromProduct(std::string product) {
  std::transform(product.begin(), product.end(), product.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  for (const HostName& host : kHostNames) {
    if (product.find(host.substring) != std::string::npos) return host.code;
  }
  return 0;
}

// A decimal version major * 10000 + minor * 100 + patch, packed as 0xMMmmpp.
int PackHostVersion(intptr_t decimal) {
  const int v = int(std::clamp<intptr_t>(decimal, 0, 99999999));
  return ((v / 10000) << 16) | (((v % 10000) / 100) << 8) | (v % 100);
}

int32_t ArrangementType(int channels) {
  switch (channels) {
    case 0: return -1;
    case 1: return 0;
    case 2: return 1;
    default: return -2;
  }
}

IEffectVST* PlugOf(vst2::AEffect* effect) {
  return effect ? static_cast<IEffectVST*>(effect->object) : nullptr;
}

intptr_t WriteGuiObjectCounts(void* ptr) {
  const platform::GuiObjectCounts live = platform::LiveGuiObjects();
  const int32_t counts[2] = {int32_t(live.gdi), int32_t(live.user)};
  std::memcpy(ptr, counts, sizeof counts);
  return 1;
}

}  // namespace

IEffectVST::IEffectVST(vst2::HostCallback host, std::unique_ptr<IEffectBase> plug,
                       const PlugIdentity& identity)
    : host_(host), identity_(identity), plug_(std::move(plug)) {
  plug_->SetHostLink(this);
  plug_->SetInputChannelConnections(0, plug_->NInChannels(), true);
  plug_->SetOutputChannelConnections(0, plug_->NOutChannels(), true);
  plug_->SetBlockSize(1024);

  effect_.magic = vst2::kEffectMagic;
  effect_.dispatcher = VSTDispatcher;
  effect_.process = VSTProcess;
  effect_.setParameter = VSTSetParameter;
  effect_.getParameter = VSTGetParameter;
  effect_.processReplacing = VSTProcessReplacing;
  effect_.processDoubleReplacing = VSTProcessDoubleReplacing;
  effect_.numPrograms = plug_->NPresets();
  effect_.numParams = plug_->NParams();
  effect_.numInputs = plug_->NInChannels();
  effect_.numOutputs = plug_->NOutChannels();
  effect_.flags = vst2::kFlagCanReplacing | vst2::kFlagProgramChunks |
                  vst2::kFlagCanDoubleReplacing;
  if (plug_->LegalIO(1, -1)) effect_.flags |= vst2::kFlagCanMono;
  if (identity.isInstrument) effect_.flags |= vst2::kFlagIsSynth;
  effect_.initialDelay = identity.latency;
  effect_.ioRatio = 1.0f;
  effect_.object = this;
  loader_ = std::make_unique<LoaderThread>(*plug_);
  effect_.uniqueID = identity.uniqueId;
  effect_.version = (identity.vendorVersion >> 16) * 10000 +
                    ((identity.vendorVersion >> 8) & 0xFF) * 100 + (identity.vendorVersion & 0xFF);
  PublishChannelCounts();
  PublishEditorSize();
}

IEffectVST::~IEffectVST() {
  loader_.reset();
  plug_.reset();
}

// ---------------------------------------------------------------------------------------
// Calls into the host

intptr_t IEffectVST::CallHost(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                              float opt) {
  return host_ ? host_(&effect_, opcode, index, value, ptr, opt) : 0;
}

void IEffectVST::BeginParamChange(int index) {
  CallHost(vst2::audioMasterBeginEdit, index);
}

void IEffectVST::ParamChanged(int index, double normalized) {
  CallHost(vst2::audioMasterAutomate, index, 0, nullptr, float(normalized));
}

void IEffectVST::EndParamChange(int index) { CallHost(vst2::audioMasterEndEdit, index); }

const vst2::VstTimeInfo* IEffectVST::HostTime(int32_t filter) {
  return reinterpret_cast<const vst2::VstTimeInfo*>(CallHost(vst2::audioMasterGetTime, 0, filter));
}

double IEffectVST::GetSamplePos() {
  const vst2::VstTimeInfo* t = HostTime(0);
  return t && t->samplePos >= 0.0 ? t->samplePos : 0.0;
}

double IEffectVST::GetTempo() {
  const vst2::VstTimeInfo* t = HostTime(kTimeFilterTempo);
  return t && (t->flags & vst2::kTempoValid) && t->tempo >= 0.0 ? t->tempo : 0.0;
}

void IEffectVST::GetTimeSig(int* numerator, int* denominator) {
  *numerator = *denominator = 0;
  const vst2::VstTimeInfo* t = HostTime(kTimeFilterTimeSig);
  if (t && (t->flags & vst2::kTimeSigValid) && t->timeSigNumerator >= 0 &&
      t->timeSigDenominator >= 0) {
    *numerator = t->timeSigNumerator;
    *denominator = t->timeSigDenominator;
  }
}

void IEffectVST::GetTime(ITimeInfo* info) {
  *info = ITimeInfo{};
  const vst2::VstTimeInfo* t = HostTime(kTimeFilterAll);
  if (!t) return;
  info->samplePos = std::max(t->samplePos, 0.0);
  if ((t->flags & vst2::kPpqPosValid) && t->ppqPos >= 0.0) info->ppqPos = t->ppqPos;
  if ((t->flags & vst2::kTempoValid) && t->tempo > 0.0) info->tempo = t->tempo;
  if ((t->flags & vst2::kBarsValid) && t->barStartPos >= 0.0) info->lastBar = t->barStartPos;
  if ((t->flags & vst2::kCyclePosValid) && t->cycleStartPos >= 0.0 && t->cycleEndPos >= 0.0) {
    info->cycleStart = t->cycleStartPos;
    info->cycleEnd = t->cycleEndPos;
  }
  if ((t->flags & vst2::kTimeSigValid) && t->timeSigNumerator > 0 && t->timeSigDenominator > 0) {
    info->numerator = t->timeSigNumerator;
    info->denominator = t->timeSigDenominator;
  }
  info->playing = (t->flags & vst2::kTransportPlaying) != 0;
  info->cycling = (t->flags & vst2::kTransportCycleActive) != 0;
}

int IEffectVST::GetHost() {
  if (plug_->GetHostCode() >= 0) return plug_->GetHostCode();
  char product[kHostProductBytes] = {};
  CallHost(vst2::audioMasterGetProductString, 0, 0, product);
  product[kHostProductBytes - 1] = '\0';
  if (!product[0]) {
    plug_->SetHost(0, 0);
  } else {
    const int version = PackHostVersion(CallHost(vst2::audioMasterGetVendorVersion));
    plug_->SetHost(HostCodeFromProduct(product), version);
  }
  return plug_->GetHostCode();
}

void IEffectVST::HostSpecificInit() {
  if (hostInitDone_) return;
  hostInitDone_ = true;
  if (IsStereoOnlyHost(GetHost())) {
    plug_->SetInputChannelConnections(2, plug_->NInChannels() - 2, false);
    plug_->SetOutputChannelConnections(2, plug_->NOutChannels() - 2, true);
  }
  PublishChannelCounts();
}

void IEffectVST::PublishChannelCounts() {
  effect_.numInputs = inArrangement_.numChannels = plug_->NInChannels();
  effect_.numOutputs = outArrangement_.numChannels = plug_->NOutChannels();
  inArrangement_.type = ArrangementType(plug_->NInChannels());
  outArrangement_.type = ArrangementType(plug_->NOutChannels());
}

// The editor's flag is set when the adaptor takes the plug-in; its size depends on the
// scale the window opens at, so it is worked out when the host asks.
void IEffectVST::PublishEditorSize() {
  if (GetGUI()) effect_.flags |= vst2::kFlagHasEditor;
}

void IEffectVST::ResizeGraphics() {
  IGraphics* graphics = GetGUI();
  if (!graphics) return;
  editRect_ = {0, 0, int16_t(graphics->WindowHeight()), int16_t(graphics->WindowWidth())};
}

bool IEffectVST::ResizeEditor(int width, int height) {
  ResizeGraphics();
  return CallHost(vst2::audioMasterSizeWindow, width, height) != 0;
}

// ---------------------------------------------------------------------------------------
// The effect record's callbacks

intptr_t IEffectVST::VSTDispatcher(vst2::AEffect* effect, int32_t opcode, int32_t index,
                                   intptr_t value, void* ptr, float opt) {
  IEffectVST* plug = PlugOf(effect);
  if (!plug) return 0;
  if (opcode == vst2::effClose) {
    { PlugLockGuard guard(plug->Lock()); }
    delete plug;
    return 0;
  }
  // The editor idle runs the window's events and timer as window messages run elsewhere:
  // on the interface thread without the plug-in lock, which controls take themselves.
  if (opcode == vst2::effEditIdle) {
    if (IGraphics* graphics = plug->GetGUI()) graphics->IdleWindow();
    return 0;
  }
  if (opcode == vst2::effProcessEvents) {
    // Events arrive on the audio thread: a message they raise waits for the editor's tick.
    const platform::ScopedMessageDeferral onAudioThread;
    tAudioThread = true;
    return plug->ProcessEvents(static_cast<const vst2::VstEvents*>(ptr));
  }
  PlugLockGuard guard(plug->Lock());
  return plug->Dispatch(opcode, index, value, ptr, opt);
}

// Audio thread. Rendering offline, requests queued while the host played live are served
// before the block, so that they take effect in it.
template <typename Sample>
void IEffectVST::ProcessAudio(Sample** inputs, Sample** outputs, int32_t frames,
                              IEffectBase::OutputMode mode) {
  const platform::ScopedMessageDeferral onAudioThread;
  tAudioThread = true;
  if (identity_.doesMidi) CallHost(vst2::audioMasterWantMidi);
  if (plug_->HostRequestsPending() && !PlaysLive()) plug_->ServeHostRequests();
  if (frames > 0) plug_->ProcessHostBuffers(inputs, outputs, frames, mode);
}

bool IEffectVST::PlaysLive() {
  const intptr_t level = CallHost(vst2::audioMasterGetCurrentProcessLevel);
  return level == vst2::kProcessLevelRealtime || level == vst2::kProcessLevelPrefetch;
}

void IEffectVST::HandleOnAudioThread(const IEffectBase::HostRequest& request) {
  if (PlaysLive()) {
    // A full queue (the loader held up for thousands of requests) drops this one: counted.
    if (!plug_->QueueHostRequest(request)) plug_->CountAudioContention();
    return;
  }
  PlugLockGuard guard(Lock());
  plug_->ServeHostRequests();
  if (request.param >= 0) {
    plug_->SetParameterFromHost(request.param, request.normalized);
  } else {
    plug_->ProcessMidiMsg(request.midi);
  }
}

void IEffectVST::VSTProcess(vst2::AEffect* effect, float** inputs, float** outputs,
                            int32_t frames) {
  if (IEffectVST* plug = PlugOf(effect)) {
    plug->ProcessAudio(inputs, outputs, frames, IEffectBase::OutputMode::Accumulate);
  }
}

void IEffectVST::VSTProcessReplacing(vst2::AEffect* effect, float** inputs, float** outputs,
                                     int32_t frames) {
  if (IEffectVST* plug = PlugOf(effect)) {
    plug->ProcessAudio(inputs, outputs, frames, IEffectBase::OutputMode::Replace);
  }
}

void IEffectVST::VSTProcessDoubleReplacing(vst2::AEffect* effect, double** inputs,
                                           double** outputs, int32_t frames) {
  if (IEffectVST* plug = PlugOf(effect)) {
    plug->ProcessAudio(inputs, outputs, frames, IEffectBase::OutputMode::Replace);
  }
}

void IEffectVST::VSTSetParameter(vst2::AEffect* effect, int32_t index, float value) {
  IEffectVST* plug = PlugOf(effect);
  if (!plug || !plug->Plug().GetParam(index)) return;
  // Hosts play automation from their audio thread.
  const platform::ScopedMessageDeferral maybeOnAudioThread;
  if (tAudioThread) return plug->HandleOnAudioThread({index, value, {}});
  PlugLockGuard guard(plug->Lock());
  plug->Plug().SetParameterFromHost(index, value);
}

float IEffectVST::VSTGetParameter(vst2::AEffect* effect, int32_t index) {
  IEffectVST* plug = PlugOf(effect);
  if (!plug || !plug->Plug().GetParam(index)) return 0.0f;
  PlugLockGuard guard(plug->Lock());
  return float(plug->Plug().GetParam(index)->GetNormalized());
}

// ---------------------------------------------------------------------------------------
// The dispatcher

intptr_t IEffectVST::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                              float opt) {
  char* text = static_cast<char*>(ptr);
  switch (opcode) {
    case vst2::effOpen:
      HostSpecificInit();
      plug_->RunStatePass(StatePass::Open);
      return 0;
    case vst2::effSetProgram:
      plug_->ModifyCurrentPreset();
      plug_->RestorePreset(int(std::clamp<intptr_t>(value, -1, plug_->NPresets())));
      return 0;
    case vst2::effGetProgram:
      return plug_->GetCurrentPresetIdx();
    case vst2::effSetProgramName:
      plug_->ModifyCurrentPreset(text);
      return 0;
    case vst2::effGetProgramName:
      if (text) CopyText(text, plug_->GetPresetName(plug_->GetCurrentPresetIdx()), kProgramNameBytes);
      return 0;
    case vst2::effGetParamLabel:
      if (text && plug_->GetParam(index)) CopyText(text, plug_->GetParam(index)->Label(), kParamTextBytes);
      return 0;
    case vst2::effGetParamDisplay:
      if (text && plug_->GetParam(index)) plug_->GetParam(index)->GetDisplayForHost(text);
      return 0;
    case vst2::effGetParamName:
      if (text && plug_->GetParam(index)) CopyText(text, plug_->GetParam(index)->Name(), kParamTextBytes);
      return 0;
    case vst2::effSetSampleRate:
      // A rate that is no rate at all would break every filter design; it is ignored.
      if (opt > 0.0f && opt < 1e7f) plug_->SetSampleRate(opt);
      plug_->Reset();
      return 0;
    case vst2::effSetBlockSize:
      plug_->SetBlockSize(int(std::clamp<intptr_t>(value, 0, 1 << 30)));
      plug_->Reset();
      return 0;
    case vst2::effMainsChanged:
      plug_->OnActivate(value != 0);
      if (!value) plug_->Reset();
      return 0;
    case vst2::effEditGetRect:
      if (!GetGUI() || !ptr) return 0;
      ResizeGraphics();  // the window's size at the scale it opens (or is open) at
      *static_cast<vst2::ERect**>(ptr) = &editRect_;
      return 1;
    case vst2::effEditOpen:
      if (!GetGUI() || !GetGUI()->OpenWindow(ptr)) return 0;
      plug_->OnGUIOpen();
      return 1;
    case vst2::effEditClose:
      if (!GetGUI()) return 0;
      plug_->OnGUIClose();
      GetGUI()->CloseWindow();
      return 1;
    case vst2::effIdentify:
      return kIdentifyMagic;
    case vst2::effGetChunk:
      return GetChunk(static_cast<void**>(ptr), index == 0);
    case vst2::effSetChunk:
      return SetChunk(ptr, value, index == 0);
    case vst2::effCanBeAutomated:
      return 1;
    case vst2::effGetProgramNameIndexed:
      if (!text) return 0;
      CopyText(text, plug_->GetPresetName(index), kProgramNameBytes);
      return text[0] ? 1 : 0;
    case vst2::effGetInputProperties:
      return GetPinProperties(index, ptr, true);
    case vst2::effGetOutputProperties:
      return GetPinProperties(index, ptr, false);
    case vst2::effGetPlugCategory:
      return identity_.isInstrument ? 2 : 1;
    case vst2::effSetSpeakerArrangement:
      return SetSpeakerArrangement(reinterpret_cast<const vst2::VstSpeakerArrangement*>(value),
                                   static_cast<const vst2::VstSpeakerArrangement*>(ptr));
    case vst2::effGetEffectName:
      if (!text) return 0;
      CopyText(text, identity_.effectName, kEffectNameBytes);
      return 1;
    case vst2::effGetVendorString:
      if (!text) return 0;
      CopyText(text, identity_.vendorName, kVendorTextBytes);
      return 1;
    case vst2::effGetProductString:
      if (!text) return 0;
      CopyText(text, identity_.productName, kVendorTextBytes);
      return 1;
    case vst2::effVendorSpecific:
      if (index == kGuiObjectsQuery && ptr) return WriteGuiObjectCounts(ptr);
      if (index == kAudioContentionQuery) return intptr_t(plug_->AudioContention());
      if (index != 7 || !ptr) return 0;
      if (const IParam* param = plug_->GetParam(int(std::clamp<intptr_t>(value, -1, plug_->NParams())))) {
        param->GetDisplayForHost(opt, true, text);
      }
      return 0xBEEF;
    case vst2::effCanDo:
      return CanDo(text);
    case vst2::effGetVstVersion:
      return kVstVersion;
    case vst2::effGetMidiKeyName: {
      auto* key = static_cast<vst2::MidiKeyName*>(ptr);
      if (!key) return 0;
      key->keyName[0] = '\0';
      return plug_->MidiNoteName(key->thisKeyNumber, key->keyName) ? 1 : 0;
    }
    case vst2::effGetSpeakerArrangement:
      if (value) *reinterpret_cast<vst2::VstSpeakerArrangement**>(value) = &inArrangement_;
      if (ptr) *static_cast<vst2::VstSpeakerArrangement**>(ptr) = &outArrangement_;
      return 1;
    default:
      // Everything else, the idle requests among them, only waits for the lock.
      return 0;
  }
}

intptr_t IEffectVST::GetChunk(void** data, bool isBank) {
  if (!data) return 0;
  // A state saved while the loader has requests pending stores what they asked for.
  plug_->ServeHostRequests();
  ByteChunk& chunk = isBank ? bankChunk_ : programChunk_;
  chunk.Clear();
  chunk.Put(kChunkMagic);
  chunk.Put(kChunkVersion);
  bool saved = false;
  if (isBank) {
    plug_->ModifyCurrentPreset();
    saved = plug_->SerializePresets(chunk) && plug_->SerializeState(chunk);
  } else {
    saved = plug_->SerializeState(chunk);
  }
  if (!saved || chunk.Size() == 0) return 0;
  *data = chunk.Data();
  return chunk.Size();
}

intptr_t IEffectVST::SetChunk(const void* data, intptr_t size, bool isBank) {
  // Nothing to read is no state: refuse it before anything changes.
  if (!data || size <= 0 || size > INT32_MAX) return 0;
  ByteChunk& chunk = isBank ? bankChunk_ : programChunk_;
  chunk.Resize(int(size));
  std::memcpy(chunk.Data(), data, size_t(size));

  int pos = 0;
  int32_t version = 0;
  int32_t magic = 0;
  if (chunk.Get(magic, 0) > 0 && magic == kChunkMagic) pos = chunk.Get(version, 4);
  if (isBank && version >= kChunkVersion) {
    pos = plug_->UnserializePresets(chunk, pos);
    pos = plug_->UnserializeState(chunk, pos);
  } else {
    pos = plug_->UnserializeState(chunk, pos);
    plug_->ModifyCurrentPreset();
  }
  if (pos < 0) return 0;
  plug_->SetAllControlsFromParams();
  return 1;
}

intptr_t IEffectVST::ProcessEvents(const vst2::VstEvents* events) {
  if (!events) return 0;
  // The host allocates numEvents pointers, more than the two the record declares.
  vst2::VstEvent* const* list = events->events;
  for (int32_t i = 0; i < events->numEvents; ++i) {
    vst2::VstEvent* event = list[i];
    if (!event) continue;
    if (event->type == vst2::kMidiEventType) {
      const auto* midi = reinterpret_cast<const vst2::VstMidiEvent*>(event);
      IMidiMsg msg;
      msg.offset = midi->deltaFrames;
      msg.status = uint8_t(midi->midiData[0]);
      msg.data1 = uint8_t(midi->midiData[1]);
      msg.data2 = uint8_t(midi->midiData[2]);
      HandleOnAudioThread({-1, 0.0, msg});
    } else {
      vst2::VstEvents single{1, 0, {event, nullptr}};
      CallHost(vst2::audioMasterProcessEvents, 0, 0, &single);
    }
  }
  return 1;
}

intptr_t IEffectVST::GetPinProperties(int index, void* ptr, bool input) {
  const int count = input ? plug_->NInChannels() : plug_->NOutChannels();
  auto* pin = static_cast<vst2::VstPinProperties*>(ptr);
  if (!pin || index < 0 || index >= count) return 0;
  pin->flags = vst2::kPinIsActive;
  if (index % 2 == 0 && index < count - 1) pin->flags |= vst2::kPinIsStereo;
  std::snprintf(pin->label, sizeof pin->label, "%s %d", input ? "Input" : "Output", index + 1);
  return 1;
}

intptr_t IEffectVST::SetSpeakerArrangement(const vst2::VstSpeakerArrangement* in,
                                           const vst2::VstSpeakerArrangement* out) {
  if (in) {
    const int n = std::clamp(in->numChannels, 0, plug_->NInChannels());
    plug_->SetInputChannelConnections(0, n, true);
    plug_->SetInputChannelConnections(n, plug_->NInChannels() - n, false);
  }
  if (out) {
    const int n = std::clamp(out->numChannels, 0, plug_->NOutChannels());
    plug_->SetOutputChannelConnections(0, n, true);
    plug_->SetOutputChannelConnections(n, plug_->NOutChannels() - n, false);
  }
  return 1;
}

intptr_t IEffectVST::CanDo(const char* text) {
  if (!text) return 0;
  const std::string query(text, strnlen(text, 64));
  if (query == "receiveVstTimeInfo") return 1;
  if (identity_.doesMidi && (query == "sendVstEvents" || query == "sendVstMidiEvent" ||
                             query == "receiveVstEvents" || query == "receiveVstMidiEvent")) {
    return 1;
  }
  if (query == "hasCockosExtensions") {
    hostExtensions_ |= kCockosExtensions;
    return intptr_t(0xBEEF0000);
  }
  if (query == "hasCockosViewAsConfig") {
    hostExtensions_ |= kCockosViewAsConfig;
    return intptr_t(0xBEEF0000);
  }
  return 0;
}
