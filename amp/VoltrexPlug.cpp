#include "amp/VoltrexPlug.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "editor/EditorLayout.h"
#include "editor/IFileSelectorControl.h"
#include "editor/IGraphics.h"
#include "editor/IResponseGraphControl.h"
#include "editor/ITextControl.h"
#include "engine/EngineControls.h"
#include "engine/ProcessChain.h"
#include "amp/ParamIds.h"
#include "amp/ParamTable.h"

const PlugIdentity VoltrexPlug::kIdentity = {
    "Voltrex",                    // effect name
    "",                           // product string
    "wavesmither",                // vendor
    0x020500,                     // version 2.5.0
    FourCharCode('v', 'x', 'f', '2'),
    FourCharCode('W', 'v', 's', 'm'),
    0,                            // latency in samples
    true,                         // accepts and sends MIDI
    false,                        // an effect, not an instrument
};

namespace {

constexpr const char* kChannelIO = "1-1 2-2";
constexpr int kNumPrograms = 1;

constexpr int kFirstMidiController = 7;
constexpr int kLastMidiController = 26;
constexpr double kMidiDataMax = 127.0;

struct MidiTarget {
  int param;         // set through its controls; pedal targets add the active model
  int informed;      // the parameter the host is told about
  bool perModel;     // the target belongs to the active model's pedal
};

// Controllers 7 to 26; entries with param < 0 are not mapped.
constexpr MidiTarget kMidiTargets[] = {
    {kMainVolume, kMainVolume, false},  // 7
    {kMainBass, kMainBass, false},      // 8
    {kMainTreble, kMainTreble, false},  // 9
    {-1, -1, false}, {-1, -1, false}, {-1, -1, false}, {-1, -1, false}, {-1, -1, false},  // 10-14
    {kLoudness, kLoudness, false},             // 15
    {kGateOn, kGateOn, false},                 // 16
    {kGateThreshold, kGateThreshold, false},   // 17
    {kGateRelease, kGateRelease, false},       // 18
    {kDstOn, kDstOn, false},                   // 19
    {kPedalLevel, kDstLevel, true},            // 20
    {kPedalDrive, kDstDrive, true},            // 21
    {kAmpColor, kAmpColor, false},             // 22
    {kAmpPresence, kAmpPresence, false},       // 23
    {kPedalLow, kDstLow, true},                // 24
    {kPedalMid, kDstMid, true},                // 25
    {kPedalHigh, kDstHigh, true},              // 26
};
static_assert(std::size(kMidiTargets) == kLastMidiController - kFirstMidiController + 1);

}  // namespace

VoltrexPlug::VoltrexPlug() : IEffectBase(kNumParams, kChannelIO, kNumPrograms) {
  DeclareParameters(*this);
  MakeDefaultPreset("Default", 1);
  editor_ = std::make_unique<IGraphics>(this, kEditorWidth, kEditorHeight, kEditorFps);
  EditorLayout layout(*editor_, this, editorRefs_);
  layout.AttachBackground();
  layout.AttachEngineKnobs();
  layout.AttachPedals();
  layout.AttachMainControls();
  layout.AttachTuner();
  layout.AttachResponsePanel();
  layout.AttachImpulseFile();
  AttachGraphics(editor_.get());
  library_.ListPresetBanks();
  layout.AttachBankLine();
  layout.AttachPresetLine();
  layout.AttachBrowser();
  layout.AttachAboutBox();
  engine_.Init(GetSampleRate());
  impulses_.SetView(this);
  impulses_.SetSampleRate(GetSampleRate());
  browser_ = std::make_unique<PresetBrowser>(*this, *editor_, editorRefs_, library_,
                                             static_cast<PresetTarget&>(*this));
  handler_ = std::make_unique<ParamChangeHandler>(*this, *editor_, editorRefs_, engine_, impulses_,
                                                  *browser_);
}

VoltrexPlug::~VoltrexPlug() {
  AttachGraphics(nullptr);
  editor_.reset();
}

// A new rate re-designs every filter from the current values and resamples the loaded
// impulse response; a new block size reserves the convolvers' queues for it, so that
// processing allocates nothing.
void VoltrexPlug::Reset() {
  PlugLockGuard guard(Lock());
  engine_.Reset(GetSampleRate(), GetBlockSize());
  if (GetBlockSize() > 0) impulses_.SetMaxBlockSize(GetBlockSize());
  if (impulses_.SetSampleRate(GetSampleRate())) engine_.Apply(SetImpulseLevel, impulses_.NormalisationGain());
}

void VoltrexPlug::OnParamChange(int index) {
  PlugLockGuard guard(Lock());
  if (handler_) handler_->OnParamChange(index);
}

// ---------------------------------------------------------------------------------------
// Audio

// Runs the audio copy of the engine with the changes queued since the last block. In the
// rare block that finds the copy held elsewhere (a thread emptying a full change queue),
// the amp is silent for that block rather than wait.
void VoltrexPlug::ProcessBlock(double** inputs, double** outputs, int frames) {
  if (!engine_.BeginBlock()) {
    CountAudioContention();
    for (int c = 0; c < NOutChannels(); ++c) std::fill(outputs[c], outputs[c] + frames, 0.0);
    return;
  }
  ProcessChain(engine_.Audio(), engine_.AudioConvolver(), inputs, outputs, frames);
  ShowTunerReadout();
  engine_.EndBlock();
}

void VoltrexPlug::ShowTunerReadout() {
  const TunerReadout& readout = engine_.Audio().tuner.readout;
  if (readout.refreshes == shownTunerRefreshes_) return;
  shownTunerRefreshes_ = readout.refreshes;
  editor_->SetControlFromPlug(editorRefs_.tunerMeter, readout.needle);
  editor_->SetControlFromPlug(editorRefs_.tunerNote, readout.noteValue);
  if (editorRefs_.tunerText) editorRefs_.tunerText->SetTextFromPlug(readout.text);
}

// ---------------------------------------------------------------------------------------
// Impulse-response display

void VoltrexPlug::ShowFileName(const std::string& name) {
  if (editorRefs_.irFileName) editorRefs_.irFileName->SetTextFromPlug(name);
}

void VoltrexPlug::ShowResponse(const CurveSamples& samples) {
  if (editorRefs_.responseGraph) editorRefs_.responseGraph->SetImpulse(samples);
}

// ---------------------------------------------------------------------------------------
// MIDI

void VoltrexPlug::ProcessMidiMsg(const IMidiMsg& msg) {
  switch (msg.StatusMsg()) {
    case IMidiMsg::Type::ControlChange: {
      const int controller = msg.data1;
      if (controller < kFirstMidiController || controller > kLastMidiController) return;
      const MidiTarget& target = kMidiTargets[controller - kFirstMidiController];
      if (target.param < 0) return;
      int param = target.param;
      if (target.perModel) {
        const int model = int(GetParam(kDstPreset)->Value());
        param = model >= 0 && model < kNumModels ? param + model : -1;
      }
      ForwardMidiControl(param, target.informed, msg.data2 / kMidiDataMax);
      return;
    }
    case IMidiMsg::Type::ProgramChange:
      SelectPresetFromMidi(msg.data1);
      return;
    default:
      return;
  }
}

void VoltrexPlug::ForwardMidiControl(int target, int informed, double value) {
  if (target >= 0 && editor_) editor_->Forward(target, value);
  BeginInformHostOfParamChange(informed);
  InformHostOfParamChange(informed, value);
  EndInformHostOfParamChange(informed);
}

// Selects a preset of the current bank through kPresetSelect, which loads it.
void VoltrexPlug::SelectPresetFromMidi(int program) {
  if (!browser_->BeginProgramChange(program)) return;
  ForwardMidiControl(kPresetSelect, kPresetSelect, browser_->SelectionValue(program));
  browser_->FinishPendingLoad();
}

// ---------------------------------------------------------------------------------------
// Presets: values go through the controls bound to each parameter, as user edits.

void VoltrexPlug::ApplyParam(int index, double value) { editor_->Forward(index, value); }

void VoltrexPlug::LoadImpulse(const std::string& path) { handler_->LoadImpulse(path); }

void VoltrexPlug::SetImpulseStage(bool on) { handler_->SetImpulseStage(on); }

void VoltrexPlug::ShowBankName(const char* name) {
  if (editorRefs_.bankLine) editorRefs_.bankLine->SetTextFromPlug(name);
}

void VoltrexPlug::ShowPresetName(const char* name) {
  for (ITextControl* text : {editorRefs_.presetLine, editorRefs_.loadedPresetName}) {
    if (text) text->SetTextFromPlug(name);
  }
}

// ---------------------------------------------------------------------------------------
// State

std::string VoltrexPlug::ImpulsePath() const {
  return editorRefs_.irFileSelector ? editorRefs_.irFileSelector->GetLastSelectedFile() : std::string();
}

bool VoltrexPlug::SerializeState(ByteChunk& chunk) {
  PlugLockGuard guard(Lock());
  chunk.PutString(ImpulsePath());
  return chunk.Size() > 0 && SerializeParams(chunk);
}

int VoltrexPlug::UnserializeState(const ByteChunk& chunk, int start) {
  PlugLockGuard guard(Lock());
  int32_t length = 0;
  if (start < 0 || chunk.Get(length, start) < 0) return -1;
  // A negative length can only come from a corrupt chunk.
  if (length < 0) return -1;
  const int64_t pathStart = int64_t(start) + 4;
  std::string_view path;
  if (length >= 1 && chunk.Holds(pathStart, length)) {
    const char* bytes = reinterpret_cast<const char*>(chunk.Data() + pathStart);
    path = std::string_view(bytes, strnlen(bytes, size_t(length)));
  }
  // The kIrFile handler loads it when the restore runs the handlers.
  if (editorRefs_.irFileSelector) editorRefs_.irFileSelector->SetLastSelectedFile(path);
  const int64_t paramsStart = pathStart + length;
  return UnserializeParams(chunk, paramsStart <= chunk.Size() ? int(paramsStart) : -1);
}
