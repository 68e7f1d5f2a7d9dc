// The plug-in frame's model of parameters, programs, channels and state, independent of
// the host interface. The plug-in derives from it; each plug-in API's adaptor (VST2:
// IEffectVST) owns one, calls it on the host's behalf and tells the host what it reports
// through a HostLink.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "plugin/ByteChunk.h"
#include "plugin/Channels.h"
#include "plugin/HostLink.h"
#include "plugin/IMidiMsg.h"
#include "plugin/IParam.h"
#include "plugin/IPreset.h"
#include "plugin/PlugLock.h"
#include "realtime/WaitFreeQueue.h"

class IGraphics;

// The handler runs for every index in order when the host opens the plug-in and after a
// state restore. During such a pass handlers only derive engine and editor state from the
// stored values: buttons count as released and no handler rewrites a stored value.
enum class StatePass { None, Open, Restore };

class IEffectBase {
 public:
  // channelIO lists the legal (inputs-outputs) pairs, e.g. "1-1 2-2".
  IEffectBase(int nParams, const char* channelIO, int nPresets);
  virtual ~IEffectBase();
  IEffectBase(const IEffectBase&) = delete;
  IEffectBase& operator=(const IEffectBase&) = delete;

  // --- Operations the plug-in overrides. Each runs with the plug-in lock held, except
  // ProcessBlock. ---
  // Set-up: the host's configuration calls, never the audio thread; may allocate.
  // Audio: the host's processing calls; no allocation, no file or window work, no lock.

  // Set-up: after the sample rate or block size changed and when processing stops.
  virtual void Reset() {}
  // Any thread but a live audio thread: after parameter index changed, whatever changed it
  // (host automation; the editor; MIDI; a state pass). A file-backed parameter (the
  // impulse-response file and its stepping buttons) reads its file here.
  virtual void OnParamChange(int /*index*/) {}
  // Audio: frames of 64-bit audio, never more than the block size.
  virtual void ProcessBlock(double** inputs, double** outputs, int frames);
  // Interface thread: the host opened or closed the editor's window.
  virtual void OnGUIOpen() {}
  virtual void OnGUIClose() {}
  // Set-up: processing switched on or off.
  virtual void OnActivate(bool active);
  // Under the lock: the loader thread or the host's worker for MIDI that arrived on a live
  // audio thread, else the thread that delivers host events. A program change reads the
  // selected preset's file here.
  virtual void ProcessMidiMsg(const IMidiMsg& /*msg*/) {}
  // Set-up: the name of a MIDI note, if the plug-in names notes.
  virtual bool MidiNoteName(int note, char* name);
  // Set-up: the state proper, what a program chunk holds after its header; allocates.
  virtual bool SerializeState(ByteChunk& chunk);
  virtual int UnserializeState(const ByteChunk& chunk, int start);

  // --- Host notifications: passed to the adaptor's HostLink, if one is set. ---
  // Any thread, usually with the lock held; a gesture begins, moves the value, ends.
  virtual void BeginInformHostOfParamChange(int index);
  virtual void InformHostOfParamChange(int index, double normalized);
  virtual void EndInformHostOfParamChange(int index);
  // The adaptor that hosts the plug-in sets it once, before any other call; null unlinks.
  void SetHostLink(HostLink* link) { hostLink_ = link; }
  void AttachGraphics(IGraphics* graphics);
  // Interface thread: the open editor window took a new size in its own pixels (a new
  // screen density); true when the host resized its window to match.
  bool ResizeEditorWindow(int width, int height);

  // --- Parameters. ---
  int NParams() const { return int(params_.size()); }
  IParam* GetParam(int index);
  const IParam* GetParam(int index) const;
  // The editor's one way to change a parameter: set, tell the host, handle the change.
  void SetParameterFromGUI(int index, double normalized);
  // A host's automation (the caller holds the lock; from a live audio thread it arrives
  // through the request queue):
  // the editor's controls follow without telling the plug-in, then the value is stored
  // and handled. The host is not told: the change came from it.
  void SetParameterFromHost(int index, double normalized);
  bool SerializeParams(ByteChunk& chunk);
  int UnserializeParams(const ByteChunk& chunk, int pos);

  // --- Requests that arrive on the audio thread while the host plays live. ---
  // The audio thread never takes the lock: a host's automation or a MIDI message that
  // arrives there is queued, and a thread of the adaptor (VST2: its loader thread) serves
  // it within a few blocks. (LV2 hands its MIDI to the host's worker instead.)
  struct HostRequest {
    int param = -1;  // a parameter to set from the host, or -1 for the MIDI message
    double normalized = 0.0;
    IMidiMsg midi;
  };
  // Audio: false when the queue is full; the request is then dropped.
  bool QueueHostRequest(const HostRequest& request);
  // Any thread but the audio thread (takes the lock): serves the queued requests in
  // order. A program change that a later one in the queue supersedes is skipped.
  void ServeHostRequests();
  bool HostRequestsPending() const { return !hostRequests_.Empty(); }
  // Audio: the audio thread found something it needed held by another thread.
  void CountAudioContention() { audioContention_.fetch_add(1, std::memory_order_relaxed); }
  // Any thread: how often that happened since the plug-in was made.
  std::uint64_t AudioContention() const { return audioContention_.load(std::memory_order_relaxed); }

  // --- Programs. ---
  int NPresets() const { return int(presets_.size()); }
  int GetCurrentPresetIdx() const { return currentPreset_; }
  void MakeDefaultPreset(const char* name, int count);
  void ModifyCurrentPreset(const char* name = nullptr);
  bool RestorePreset(int index);
  const char* GetPresetName(int index) const;
  bool SerializePresets(ByteChunk& chunk);
  int UnserializePresets(const ByteChunk& chunk, int pos);
  // Makes sure a program exists and the first uninitialised one holds the current state.
  void EnsureDefaultPreset();

  // --- Channels and timing. ---
  bool LegalIO(int nIn, int nOut) const;
  int NInChannels() const { return int(inChannels_.size()); }
  int NOutChannels() const { return int(outChannels_.size()); }
  bool IsInChannelConnected(int i) const;
  bool IsOutChannelConnected(int i) const;
  void SetInputChannelConnections(int first, int count, bool connected);
  void SetOutputChannelConnections(int first, int count, bool connected);
  void SetBlockSize(int frames);
  int GetBlockSize() const { return blockSize_; }
  void SetSampleRate(double rate) { sampleRate_ = rate; }
  double GetSampleRate() const { return sampleRate_; }
  int GetHostCode() const { return hostCode_; }
  int GetHostVersion() const { return hostVersion_; }

  PlugLock& Lock() { return lock_; }
  StatePass CurrentStatePass() const { return statePass_; }
  IGraphics* GetGUI() { return graphics_; }
  // Sets every editor control from its parameter's value without notifying the plug-in.
  void SetAllControlsFromParams();

  // --- For the adaptors. ---
  // The host's code in the adaptor's detection table and its version (0xMMmmpp).
  void SetHost(int code, int version);
  // OnParamChange for every index in order, marked as the given pass.
  void RunStatePass(StatePass pass);

  // Runs one host audio call through ProcessBlock in pieces that fit the scratch buffers.
  // Sample is float (the 32-bit paths, converting) or double (read and written in place).
  enum class OutputMode { Replace, Accumulate };
  template <typename Sample>
  void ProcessHostBuffers(Sample** inputs, Sample** outputs, int frames, OutputMode mode);

 private:
  int ScratchFrames() const;
  template <typename Sample>
  void AttachChannels(Sample** inputs, Sample** outputs, int offset, int frames);
  template <typename Sample>
  void StoreOutputs(Sample** outputs, int offset, int frames, OutputMode mode);
  void ParseChannelIO(const char* channelIO);
  void ResizeScratch();

  static constexpr std::size_t kHostRequestCapacity = 4096;

  PlugLock lock_;
  WaitFreeQueue<HostRequest, kHostRequestCapacity> hostRequests_;
  std::atomic<std::uint64_t> audioContention_{0};
  std::vector<IParam> params_;
  std::vector<IPreset> presets_;
  int currentPreset_ = 0;
  struct ChannelPair {
    int nIn;
    int nOut;
  };
  std::vector<ChannelPair> legalIO_;
  std::vector<InChannel> inChannels_;
  std::vector<OutChannel> outChannels_;
  std::vector<double*> inPointers_;
  std::vector<double*> outPointers_;
  int blockSize_ = 0;
  double sampleRate_ = 44100.0;
  int hostCode_ = -1;
  int hostVersion_ = 0;
  IGraphics* graphics_ = nullptr;
  HostLink* hostLink_ = nullptr;
  StatePass statePass_ = StatePass::None;
};
