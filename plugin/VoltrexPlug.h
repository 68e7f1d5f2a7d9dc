// The plug-in: the amp's parameters, its editor and engine, and what it does with MIDI
// and state. The frame classes below it talk to the host.
#pragma once

#include <memory>
#include <string>

#include "editor/EditorRefs.h"
#include "engine/Engine.h"
#include "plugin/IEffectVST.h"

class IGraphics;

class VoltrexPlug : public IEffectVST {
 public:
  static constexpr int kEditorWidth = 630;
  static constexpr int kEditorHeight = 440;
  static constexpr int kEditorFps = 24;
  static const PlugIdentity kIdentity;

  explicit VoltrexPlug(vst2::HostCallback host);
  ~VoltrexPlug() override;

  void Reset() override;
  void OnParamChange(int index) override;
  void ProcessMidiMsg(const IMidiMsg& msg) override;
  bool SerializeState(ByteChunk& chunk) override;
  int UnserializeState(const ByteChunk& chunk, int start) override;

  // The editor controls the engine addresses directly.
  const EditorRefs& EditorControls() const { return editorRefs_; }

  // The impulse-response file chosen in the IR loader, saved with the state.
  const std::string& ImpulsePath() const { return impulsePath_; }

  // The preset browser's view of the current bank.
  int NumBankPresets() const { return numBankPresets_; }
  int SelectedPreset() const { return selectedPreset_; }
  bool PresetLoadPending() const { return presetLoadPending_; }

 private:
  void ForwardMidiControl(int target, int informed, double value);
  void SelectPresetFromMidi(int program);

  std::unique_ptr<IGraphics> editor_;
  EditorRefs editorRefs_;
  Engine engine_;
  std::string impulsePath_;
  int numBankPresets_ = 0;
  int selectedPreset_ = 0;
  bool presetLoadPending_ = false;
};
