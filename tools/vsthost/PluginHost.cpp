#include "tools/vsthost/PluginHost.h"

#include <algorithm>
#include <cstring>

#include "tools/vsthost/DynamicLibrary.h"

namespace vsthost {
namespace {

constexpr int kTextBytes = 256;
constexpr intptr_t kHostVstVersion = 2400;

// The host being constructed on this thread: the plug-in may call back from inside its
// entry point, before the host has seen the effect record.
thread_local PluginHost* tConstructing = nullptr;

}  // namespace

std::string NativePath(const std::string& path) {
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') {
    std::string native = "Z:" + path;
    std::replace(native.begin(), native.end(), '/', '\\');
    return native;
  }
#endif
  return path;
}

std::unique_ptr<PluginHost> PluginHost::Load(const std::string& path, std::string* error) {
  std::unique_ptr<PluginHost> host(new PluginHost);
  host->library_ = OpenLibrary(NativePath(path), error);
  if (!host->library_) return nullptr;
  auto entry = reinterpret_cast<EntryPoint>(FindSymbol(host->library_, "VSTPluginMain"));
  if (!entry) entry = reinterpret_cast<EntryPoint>(FindSymbol(host->library_, "main"));
  if (!entry) {
    if (error) *error = "no VSTPluginMain or main in " + path;
    return nullptr;
  }
  return host->Construct(entry, error) ? std::move(host) : nullptr;
}

std::unique_ptr<PluginHost> PluginHost::Create(EntryPoint entry, std::string* error) {
  std::unique_ptr<PluginHost> host(new PluginHost);
  return host->Construct(entry, error) ? std::move(host) : nullptr;
}

bool PluginHost::Construct(EntryPoint entry, std::string* error) {
  tConstructing = this;
  effect_ = entry(&PluginHost::Callback);
  tConstructing = nullptr;
  if (!effect_ || effect_->magic != vst2::kEffectMagic) {
    if (error) *error = "the entry point returned no effect";
    effect_ = nullptr;
    return false;
  }
  effect_->user = this;
  return true;
}

PluginHost::~PluginHost() {
  if (effect_) {
    Dispatch(vst2::effMainsChanged, 0, 0);
    Dispatch(vst2::effClose);
  }
  if (library_) CloseLibrary(library_);
}

intptr_t PluginHost::Callback(vst2::AEffect* effect, int32_t opcode, int32_t index,
                              intptr_t value, void* ptr, float opt) {
  PluginHost* host = effect && effect->user ? static_cast<PluginHost*>(effect->user) : tConstructing;
  if (!host) return opcode == vst2::audioMasterVersion ? kHostVstVersion : 0;
  return host->Answer(opcode, index, value, ptr, opt);
}

intptr_t PluginHost::Answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  if (recordCalls_) {
    std::lock_guard<std::mutex> guard(callsLock_);
    calls_.push_back({opcode, index, value, opt});
  }
  switch (opcode) {
    case vst2::audioMasterVersion:
      return kHostVstVersion;
    case vst2::audioMasterWantMidi:
      return 1;
    case vst2::audioMasterGetTime:
      return reinterpret_cast<intptr_t>(timeInfo_);
    case vst2::audioMasterGetCurrentProcessLevel:
      return processLevel_;
    case vst2::audioMasterProcessEvents: {
      const auto* events = static_cast<const vst2::VstEvents*>(ptr);
      if (!events || !recordCalls_) return events ? 1 : 0;
      std::lock_guard<std::mutex> guard(callsLock_);
      vst2::VstEvent* const* list = events->events;  // numEvents long, not two
      for (int32_t i = 0; i < events->numEvents; ++i) {
        if (list[i]) receivedEvents_.push_back(*list[i]);
      }
      return 1;
    }
    case vst2::audioMasterGetProductString:
      if (ptr) std::snprintf(static_cast<char*>(ptr), 64, "%s", product_.c_str());
      return ptr ? 1 : 0;
    case vst2::audioMasterGetVendorVersion:
      return version_;
    case vst2::audioMasterAutomate:
    case vst2::audioMasterBeginEdit:
    case vst2::audioMasterEndEdit:
      return 1;
    default:
      return 0;
  }
}

intptr_t PluginHost::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void PluginHost::Start(double sampleRate, int blockSize) {
  Dispatch(vst2::effOpen);
  Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, float(sampleRate));
  Dispatch(vst2::effSetBlockSize, 0, blockSize);
  Dispatch(vst2::effMainsChanged, 0, 1);
}

std::string PluginHost::TextRequest(int32_t opcode, int32_t index) {
  char text[kTextBytes] = {};
  Dispatch(opcode, index, 0, text);
  text[kTextBytes - 1] = '\0';
  return text;
}

std::string PluginHost::EffectName() { return TextRequest(vst2::effGetEffectName, 0); }
std::string PluginHost::VendorString() { return TextRequest(vst2::effGetVendorString, 0); }
std::string PluginHost::ProductString() { return TextRequest(vst2::effGetProductString, 0); }
std::string PluginHost::ParamName(int index) { return TextRequest(vst2::effGetParamName, index); }
std::string PluginHost::ParamLabel(int index) { return TextRequest(vst2::effGetParamLabel, index); }
std::string PluginHost::ParamDisplay(int index) { return TextRequest(vst2::effGetParamDisplay, index); }

void PluginHost::SetParameter(int index, float normalized) {
  effect_->setParameter(effect_, index, normalized);
}

float PluginHost::GetParameter(int index) { return effect_->getParameter(effect_, index); }

std::vector<uint8_t> PluginHost::GetChunk(bool bank) {
  void* data = nullptr;
  const intptr_t size = Dispatch(vst2::effGetChunk, bank ? 0 : 1, 0, &data);
  if (size <= 0 || !data) return {};
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

intptr_t PluginHost::SetChunk(const std::vector<uint8_t>& bytes, bool bank) {
  std::vector<uint8_t> copy = bytes;  // hosts hand over their own memory
  return Dispatch(vst2::effSetChunk, bank ? 0 : 1, intptr_t(copy.size()),
                  copy.empty() ? nullptr : copy.data());
}

intptr_t PluginHost::SendMidi(const std::vector<MidiBytes>& messages) {
  std::vector<vst2::VstMidiEvent> midi(messages.size());
  std::vector<vst2::VstEvent*> events;
  for (size_t i = 0; i < messages.size(); ++i) {
    midi[i] = {};
    midi[i].type = vst2::kMidiEventType;
    midi[i].byteSize = sizeof(vst2::VstMidiEvent);
    for (int b = 0; b < 3; ++b) midi[i].midiData[b] = char(messages[i][size_t(b)]);
    events.push_back(reinterpret_cast<vst2::VstEvent*>(&midi[i]));
  }
  return SendEvents(events);
}

intptr_t PluginHost::SendEvents(const std::vector<vst2::VstEvent*>& events) {
  // VstEvents declares two pointers; a host allocates room for as many as it sends.
  std::vector<uint8_t> storage(sizeof(vst2::VstEvents) + events.size() * sizeof(void*));
  auto* list = reinterpret_cast<vst2::VstEvents*>(storage.data());
  list->numEvents = int32_t(events.size());
  std::copy(events.begin(), events.end(), list->events);
  return Dispatch(vst2::effProcessEvents, 0, 0, list);
}

void PluginHost::ProcessReplacing(float** inputs, float** outputs, int frames) {
  effect_->processReplacing(effect_, inputs, outputs, frames);
}

void PluginHost::ProcessAccumulating(float** inputs, float** outputs, int frames) {
  effect_->process(effect_, inputs, outputs, frames);
}

void PluginHost::ProcessDouble(double** inputs, double** outputs, int frames) {
  effect_->processDoubleReplacing(effect_, inputs, outputs, frames);
}

void PluginHost::SetHostProduct(const std::string& product, int decimalVersion) {
  product_ = product;
  version_ = decimalVersion;
}

std::vector<HostCall> PluginHost::Calls() {
  std::lock_guard<std::mutex> guard(callsLock_);
  return calls_;
}

void PluginHost::ClearCalls() {
  std::lock_guard<std::mutex> guard(callsLock_);
  calls_.clear();
  receivedEvents_.clear();
}

std::vector<vst2::VstEvent> PluginHost::ReceivedEvents() {
  std::lock_guard<std::mutex> guard(callsLock_);
  return receivedEvents_;
}

}  // namespace vsthost
