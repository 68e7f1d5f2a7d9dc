// A small VST 2.x host: loads a plug-in binary, creates the plug-in through its entry
// point with our own host callback, and drives it as a DAW does. Every call the plug-in
// makes into the host is recorded, so tests can check what the host was told.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "plugin/vst2/vst2.h"

namespace vsthost {

struct HostCall {
  int32_t opcode;
  int32_t index;
  intptr_t value;
  float opt;
};

using MidiBytes = std::array<uint8_t, 3>;
using EntryPoint = vst2::AEffect* (*)(vst2::HostCallback);

class PluginHost {
 public:
  // Loads the binary and creates one plug-in instance; null with a reason on failure.
  static std::unique_ptr<PluginHost> Load(const std::string& path, std::string* error);
  // Creates one instance through an entry point linked into the program itself.
  static std::unique_ptr<PluginHost> Create(EntryPoint entry, std::string* error);
  ~PluginHost();  // closes the plug-in and unloads the binary

  vst2::AEffect* Effect() { return effect_; }
  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);

  // What a host does before processing: open, sample rate, block size, processing on.
  void Start(double sampleRate = 44100.0, int blockSize = 512);

  std::string EffectName();
  std::string VendorString();
  std::string ProductString();
  std::string ParamName(int index);
  std::string ParamLabel(int index);
  std::string ParamDisplay(int index);
  void SetParameter(int index, float normalized);
  float GetParameter(int index);

  std::vector<uint8_t> GetChunk(bool bank);
  intptr_t SetChunk(const std::vector<uint8_t>& bytes, bool bank);

  // Sends short MIDI messages at frame 0, or any events, in one processEvents call.
  intptr_t SendMidi(const std::vector<MidiBytes>& messages);
  intptr_t SendEvents(const std::vector<vst2::VstEvent*>& events);

  // The three audio paths, one pointer per channel.
  void ProcessReplacing(float** inputs, float** outputs, int frames);
  void ProcessAccumulating(float** inputs, float** outputs, int frames);
  void ProcessDouble(double** inputs, double** outputs, int frames);

  // What the host answers: the product string and version (opcodes 33, 34), the time
  // info (opcode 7, null when not set).
  void SetHostProduct(const std::string& product, int decimalVersion);
  void SetTimeInfo(const vst2::VstTimeInfo* info) { timeInfo_ = info; }
  // The process level (opcode 23): offline for a render, real-time for live playing.
  void SetProcessLevel(vst2::ProcessLevel level) { processLevel_ = level; }
  // Stops recording the plug-in's calls, for a host that processes in real time: the
  // record allocates and locks, which the audio thread must not. Call before processing.
  void StopRecordingCalls() { recordCalls_ = false; }

  std::vector<HostCall> Calls();
  void ClearCalls();
  // Events the plug-in sent to the host (opcode 8), copied.
  std::vector<vst2::VstEvent> ReceivedEvents();

 private:
  PluginHost() = default;
  bool Construct(EntryPoint entry, std::string* error);
  static intptr_t Callback(vst2::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                           void* ptr, float opt);
  intptr_t Answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  std::string TextRequest(int32_t opcode, int32_t index);

  void* library_ = nullptr;
  vst2::AEffect* effect_ = nullptr;
  std::string product_ = "vsthost";
  int version_ = 10000;
  const vst2::VstTimeInfo* timeInfo_ = nullptr;
  bool recordCalls_ = true;
  vst2::ProcessLevel processLevel_ = vst2::kProcessLevelUnknown;
  std::mutex callsLock_;
  std::vector<HostCall> calls_;
  std::vector<vst2::VstEvent> receivedEvents_;
};

// A path as the platform's loader wants it (on Windows a /unix/path becomes Z:\unix\path,
// which is where Wine maps the Linux file system).
std::string NativePath(const std::string& path);

}  // namespace vsthost
