// The VST 2.x adaptor: the effect record handed to the host, the dispatcher, the audio and
// parameter callbacks, MIDI input and the plug-in's calls back into the host.
#pragma once

#include "plugin/IEffectBase.h"
#include "plugin/vst2.h"

// What the plug-in tells the host about itself.
struct PlugIdentity {
  const char* effectName;
  const char* productName;
  const char* vendorName;
  int vendorVersion;  // 0xMMmmpp
  int32_t uniqueId;
  int32_t vendorCode;  // stored for the frame; the host interface never uses it
  int latency;
  bool doesMidi;
  bool isInstrument;
};

// The host's transport as GetTime reports it.
struct ITimeInfo {
  double samplePos = 0.0;
  double tempo = 120.0;
  double ppqPos = -1.0;
  double lastBar = -1.0;
  double cycleStart = -1.0;
  double cycleEnd = -1.0;
  int numerator = 4;
  int denominator = 4;
  bool playing = false;
  bool cycling = false;
};

class IEffectVST : public IEffectBase {
 public:
  static constexpr int kVstVersion = 2400;
  static constexpr intptr_t kIdentifyMagic = 0x4E764566;  // 'NvEf'

  IEffectVST(vst2::HostCallback host, int nParams, const char* channelIO, int nPresets,
             const PlugIdentity& identity);

  vst2::AEffect* Effect() { return &effect_; }

  // Host notifications (host callback opcodes 43, 0 and 44).
  void BeginInformHostOfParamChange(int index) override;
  void InformHostOfParamChange(int index, double normalized) override;
  void EndInformHostOfParamChange(int index) override;
  void AttachGraphics(IGraphics* graphics) override;
  bool ResizeEditorWindow(int width, int height) override;

  // The host's transport (host callback opcode 7); defaults when the host gives none.
  double GetSamplePos();
  double GetTempo();
  void GetTimeSig(int* numerator, int* denominator);
  void GetTime(ITimeInfo* info);

  // Asks the host who it is, once; the code of the detection table, 0 for none known.
  int GetHost();
  // First open: host detection, channel limits for hosts that need them, channel counts.
  void HostSpecificInit();
  void ResizeGraphics();

  // Host-extension bits recorded by the can-do queries.
  enum HostExtension { kCockosExtensions = 1, kCockosViewAsConfig = 2 };
  int HostExtensions() const { return hostExtensions_; }

 private:
  // The six callbacks of the effect record; each takes the plug-in lock.
  static intptr_t VSTDispatcher(vst2::AEffect* effect, int32_t opcode, int32_t index,
                                intptr_t value, void* ptr, float opt);
  static void VSTProcess(vst2::AEffect* effect, float** inputs, float** outputs, int32_t frames);
  static void VSTProcessReplacing(vst2::AEffect* effect, float** inputs, float** outputs,
                                  int32_t frames);
  static void VSTProcessDoubleReplacing(vst2::AEffect* effect, double** inputs, double** outputs,
                                        int32_t frames);
  static void VSTSetParameter(vst2::AEffect* effect, int32_t index, float value);
  static float VSTGetParameter(vst2::AEffect* effect, int32_t index);

  intptr_t Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  template <typename Sample>
  void ProcessAudio(Sample** inputs, Sample** outputs, int32_t frames, OutputMode mode);
  intptr_t CallHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
  const vst2::VstTimeInfo* HostTime(int32_t filter);
  intptr_t GetChunk(void** data, bool isBank);
  intptr_t SetChunk(const void* data, intptr_t size, bool isBank);
  intptr_t ProcessEvents(const vst2::VstEvents* events);
  intptr_t GetPinProperties(int index, void* ptr, bool input);
  intptr_t SetSpeakerArrangement(const vst2::VstSpeakerArrangement* in,
                                 const vst2::VstSpeakerArrangement* out);
  intptr_t CanDo(const char* text);
  void PublishChannelCounts();

  vst2::AEffect effect_{};
  vst2::HostCallback host_;
  PlugIdentity identity_;
  ByteChunk programChunk_;
  ByteChunk bankChunk_;
  vst2::VstSpeakerArrangement inArrangement_{};
  vst2::VstSpeakerArrangement outArrangement_{};
  vst2::ERect editRect_{};
  int hostExtensions_ = 0;
  bool hostInitDone_ = false;
};
