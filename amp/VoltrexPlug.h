// The plug-in: the amp's parameters, its editor and engine, and what it does with MIDI
// and state. It knows no plug-in API: each API's adaptor owns one (VST2: IEffectVST, built
// in plugin/vst2/Entry.cpp) and tells the host through IEffectBase's HostLink.
#pragma once

#include <memory>
#include <string>

#include "cabinet/ImpulseFiles.h"
#include "editor/EditorRefs.h"
#include "engine/EngineLink.h"
#include "amp/ParamChangeHandler.h"
#include "amp/PresetBrowser.h"
#include "plugin/IEffectBase.h"
#include "plugin/PlugIdentity.h"
#include "presets/PresetLibrary.h"
#include "presets/PresetTarget.h"

class IGraphics;

class VoltrexPlug : public IEffectBase, private ImpulseFileView, private PresetTarget {
 public:
  static constexpr int kEditorWidth = 630;
  static constexpr int kEditorHeight = 440;
  static constexpr int kEditorFps = 24;
  static const PlugIdentity kIdentity;

  VoltrexPlug();
  ~VoltrexPlug() override;

  void Reset() override;
  void OnParamChange(int index) override;
  void ProcessBlock(double** inputs, double** outputs, int frames) override;
  void ProcessMidiMsg(const IMidiMsg& msg) override;
  bool SerializeState(ByteChunk& chunk) override;
  int UnserializeState(const ByteChunk& chunk, int start) override;

  // The editor controls the engine addresses directly.
  const EditorRefs& EditorControls() const { return editorRefs_; }
  // The engine's settings as the parameter handler last left them (the audio thread's
  // copy follows at its next block).
  const Engine& EngineState() const { return engine_.Settings(); }
  const ParamChangeHandler& Handler() const { return *handler_; }

  // The impulse-response file chosen in the IR loader, saved with the state.
  std::string ImpulsePath() const;

  const PresetBrowser& Browser() const { return *browser_; }
  PresetLibrary& Presets() { return library_; }

 private:
  void ForwardMidiControl(int target, int informed, double value);
  void SelectPresetFromMidi(int program);
  // Audio thread: copies a new tuner reading into its controls (no allocation).
  void ShowTunerReadout();
  void ShowFileName(const std::string& name) override;
  void ShowResponse(const CurveSamples& samples) override;
  void ApplyParam(int index, double value) override;
  void LoadImpulse(const std::string& path) override;
  void SetImpulseStage(bool on) override;
  void ShowBankName(const char* name) override;
  void ShowPresetName(const char* name) override;

  std::unique_ptr<IGraphics> editor_;
  EditorRefs editorRefs_;
  EngineLink engine_;
  ImpulseFiles impulses_{engine_};
  PresetLibrary library_;
  std::unique_ptr<PresetBrowser> browser_;
  std::unique_ptr<ParamChangeHandler> handler_;
  unsigned shownTunerRefreshes_ = 0;
};
