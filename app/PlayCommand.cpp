#include "app/PlayCommand.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "app/AmpSetup.h"
#include "app/JackSession.h"
#include "app/MainWindow.h"
#include "app/StateFile.h"

namespace {

// The main loop's period: the editor's idle and the window's events run this often.
constexpr auto kLoopPeriod = std::chrono::milliseconds(10);
constexpr double kMillisecondsPerSecond = 1000.0;

volatile std::sig_atomic_t gQuitSignal = 0;

void OnQuitSignal(int signal) { gQuitSignal = signal; }

void CatchQuitSignals() {
  struct sigaction action {};
  action.sa_handler = &OnQuitSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);  // the terminal closed: quit as cleanly
}

void PrintStart(const JackSession& jack, const std::vector<std::string>& connections) {
  const double rate = jack.SampleRate();
  const int latency = jack.CaptureToPlaybackLatency();
  std::printf("voltrex: JACK client \"%s\" at %.0f Hz, buffer size %d frames (%.1f ms)\n", jack.ClientName().c_str(),
              rate, jack.BufferSize(), jack.BufferSize() * kMillisecondsPerSecond / rate);
  std::printf("voltrex: capture to playback latency %d frames (%.1f ms)\n", latency,
              latency * kMillisecondsPerSecond / rate);
  for (const std::string& line : connections) std::printf("voltrex: %s\n", line.c_str());
  if (connections.empty()) std::printf("voltrex: nothing connected\n");
  std::fflush(stdout);
}

// Runs until the player quits or the server goes away.
void Loop(JackSession& jack, MainWindow* window) {
  for (;;) {
    if (gQuitSignal) {
      std::printf("voltrex: quitting\n");
      return;
    }
    if (jack.ServerGone()) {
      std::fprintf(stderr, "voltrex: the JACK server went away (%s); quitting\n", jack.ShutdownReason().c_str());
      return;
    }
    if (window && !window->Idle()) return;
    const std::string news = jack.Poll();
    if (!news.empty()) {
      std::printf("voltrex: %s", news.c_str());
      std::fflush(stdout);
    }
    std::this_thread::sleep_for(kLoopPeriod);
  }
}

void SaveState(vsthost::PluginHost& amp, const std::string& path) {
  std::string error;
  if (WriteStateFile(path, amp.GetChunk(false), error)) {
    std::printf("voltrex: state saved to %s\n", path.c_str());
  } else {
    std::fprintf(stderr, "voltrex: the state was not saved: %s\n", error.c_str());
  }
}

}  // namespace

int RunPlay(const Options& options) {
  std::string error;
  ResolvedStart start;
  std::unique_ptr<JackSession> jack;
  if (!ResolveStartSettings(options.start, start, error) || !(jack = JackSession::Open(error))) {
    std::fprintf(stderr, "voltrex: %s\n", error.c_str());
    return 1;
  }
  auto amp = StartAmp(jack->SampleRate(), kMaxBlockSize, vst2::kProcessLevelRealtime, error);
  if (!amp) {
    std::fprintf(stderr, "voltrex: %s\n", error.c_str());
    return 1;
  }
  const std::string statePath = options.statePath.empty() ? DefaultStatePath() : options.statePath;
  bool savable = !statePath.empty();
  if (!savable) std::fprintf(stderr, "voltrex: no HOME or XDG_CONFIG_HOME: the state will not be saved\n");
  if (savable) RestoreState(amp, statePath, jack->SampleRate(), kMaxBlockSize, vst2::kProcessLevelRealtime, savable);
  ApplyStartSettings(*amp, start);

  std::unique_ptr<MainWindow> window;
  if (!options.headless && !(window = MainWindow::Open(*amp, error))) {
    std::fprintf(stderr, "voltrex: %s\n", error.c_str());
    return 1;
  }
  CatchQuitSignals();
  std::vector<std::string> connections;
  if (!jack->Activate(*amp, kMaxBlockSize, error) ||
      (options.connect && !jack->Connect(options.inPorts, options.outPorts, options.midiPorts, connections, error))) {
    std::fprintf(stderr, "voltrex: %s\n", error.c_str());
    jack.reset();  // stops processing before the amp goes
    return 1;
  }
  PrintStart(*jack, connections);
  Loop(*jack, window.get());

  const unsigned xruns = jack->Xruns();
  jack.reset();
  window.reset();
  if (savable) SaveState(*amp, statePath);
  std::printf("voltrex: %u xrun%s\n", xruns, xruns == 1 ? "" : "s");
  return 0;
}
