// The editor's cost on the interface thread, measured against its 41 ms timer period: a
// full repaint (as constructed, and with one pedal shown as the engine leaves it), an idle
// tick with nothing to draw, and building a second plug-in instance once the bitmap cache
// is warm.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>

#include "editor/EditorLayout.h"
#include "editor/HeadlessEditor.h"
#include "amp/ParamIds.h"
#include "amp/VoltrexPlug.h"

namespace {

constexpr double kTimerPeriodSeconds = 0.041;

// Processor time of the loop, so that other work on a shared machine does not count.
class CpuStopwatch {
 public:
  double Seconds() const { return double(std::clock() - start_) / CLOCKS_PER_SEC; }

 private:
  std::clock_t start_ = std::clock();
};

// Processor time per iteration as a fraction of the timer period.
void ReportPeriodFraction(benchmark::State& state, const CpuStopwatch& watch) {
  const double perIteration = watch.Seconds() / double(std::max<benchmark::IterationCount>(state.iterations(), 1));
  state.counters["of_41ms_period"] = perIteration / kTimerPeriodSeconds;
}

void ShowOnlyFirstPedal(IGraphics& editor, const EditorRefs& refs) {
  for (int k = 1; k < kNumModels; ++k)
    for (int family : {kPedalSwitch, kPedalLed, kPedalLevel, kPedalDrive, kPedalLow, kPedalMid, kPedalHigh})
      editor.HideControl(family + k, true);
  editor.GetControl(refs.responsePanel)->Hide(true);
  editor.HideControl(kIrDryLevel, true);
  editor.HideControl(kIrWetLevel, true);
}

void FullRepaint(benchmark::State& state, bool onePedal) {
  VoltrexPlug plug;
  HeadlessEditor editor(*plug.GetGUI());
  if (onePedal) ShowOnlyFirstPedal(*plug.GetGUI(), plug.EditorControls());
  editor.Tick();
  const CpuStopwatch watch;
  for (auto _ : state) {
    plug.GetGUI()->PrepDraw();
    benchmark::DoNotOptimize(editor.Tick());
  }
  ReportPeriodFraction(state, watch);
}

void BM_FullRepaintAsConstructed(benchmark::State& state) { FullRepaint(state, false); }
void BM_FullRepaintOnePedal(benchmark::State& state) { FullRepaint(state, true); }

void BM_IdleTick(benchmark::State& state) {
  VoltrexPlug plug;
  HeadlessEditor editor(*plug.GetGUI());
  editor.Tick();
  editor.Tick();
  const CpuStopwatch watch;
  for (auto _ : state) benchmark::DoNotOptimize(editor.Tick());
  ReportPeriodFraction(state, watch);
}

void BM_SecondInstance(benchmark::State& state) {
  const VoltrexPlug first;  // decodes every bitmap into the cache
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto second = std::make_unique<VoltrexPlug>();
    const auto stop = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(second.get());
    second.reset();
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
  }
}

// The editor's share of the above: the host and the whole layout, bitmaps cached.
void BM_SecondEditor(benchmark::State& state) {
  VoltrexPlug plug;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto editor = std::make_unique<IGraphics>(&plug, VoltrexPlug::kEditorWidth,
                                              VoltrexPlug::kEditorHeight, VoltrexPlug::kEditorFps);
    EditorRefs refs;
    EditorLayout layout(*editor, &plug, refs);
    layout.AttachBackground();
    layout.AttachEngineKnobs();
    layout.AttachPedals();
    layout.AttachMainControls();
    layout.AttachTuner();
    layout.AttachResponsePanel();
    layout.AttachImpulseFile();
    layout.AttachBankLine();
    layout.AttachPresetLine();
    layout.AttachBrowser();
    layout.AttachAboutBox();
    const auto stop = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(editor.get());
    editor.reset();
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
  }
}

}  // namespace

BENCHMARK(BM_FullRepaintAsConstructed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullRepaintOnePedal)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdleTick)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_SecondInstance)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SecondEditor)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
