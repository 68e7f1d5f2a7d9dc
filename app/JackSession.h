// The JACK client "Voltrex": two audio inputs, two audio outputs and a MIDI input, all
// processed through the in-process amp in JACK's own cycle, so the output of a cycle
// comes from that cycle's input. Works unchanged on PipeWire's JACK interface. All
// allocation happens in Open; the audio thread only reads ports and calls the amp.
#pragma once

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "plugin/vst2/vst2.h"
#include "tools/vsthost/PluginHost.h"

class JackSession {
 public:
  // Main thread: connects to the running server (never starts one). Null with a message.
  static std::unique_ptr<JackSession> Open(std::string& error);
  // Main thread: stops processing and leaves the server.
  ~JackSession();

  double SampleRate() const { return double(jack_get_sample_rate(client_)); }
  int BufferSize() const { return int(jack_get_buffer_size(client_)); }
  std::string ClientName() const { return jack_get_client_name(client_); }

  // Main thread: starts processing through amp, which must stay alive until this object
  // is destroyed and have been started at SampleRate() for blocks up to maxBlock frames.
  bool Activate(vsthost::PluginHost& amp, int maxBlock, std::string& error);

  // Main thread: connects the ports as asked (physical ports when nothing is named) and
  // returns one line per connection made or missed. False with a message when a port the
  // player named cannot be connected.
  bool Connect(const std::vector<std::string>& in, const std::vector<std::string>& out,
               const std::vector<std::string>& midi, std::vector<std::string>& report, std::string& error);

  // Capture latency of input 1 plus playback latency of output 1, in frames.
  int CaptureToPlaybackLatency() const;

  // Main thread, from the program's loop: applies a sample-rate change (the amp is
  // suspended around it) and returns a line to print for any change since the last call.
  std::string Poll();
  // Set once the server has gone away; why, as far as JACK said.
  bool ServerGone() const { return serverGone_.load(); }
  std::string ShutdownReason() const { return shutdownReason_.data(); }
  unsigned Xruns() const { return xruns_.load(); }

 private:
  static constexpr int kChannels = 2;
  static constexpr int kMaxMidiEvents = 512;
  static constexpr size_t kReasonBytes = 256;

  JackSession() = default;
  bool RegisterPorts(std::string& error);
  // Audio thread.
  static int OnProcess(jack_nframes_t frames, void* self);
  void Process(jack_nframes_t frames);
  int DeliverMidi(jack_nframes_t frames);
  void Silence(jack_nframes_t frames);
  // JACK's notification thread.
  static int OnSampleRate(jack_nframes_t rate, void* self);
  static int OnBufferSize(jack_nframes_t frames, void* self);
  static int OnXrun(void* self);
  static void OnShutdown(jack_status_t code, const char* reason, void* self);

  void SuspendProcessing();
  bool ConnectPort(const std::string& source, const std::string& destination, std::vector<std::string>& report);

  jack_client_t* client_ = nullptr;
  vsthost::PluginHost* amp_ = nullptr;
  int maxBlock_ = 0;
  std::array<jack_port_t*, kChannels> inputs_{};
  std::array<jack_port_t*, kChannels> outputs_{};
  jack_port_t* midiIn_ = nullptr;

  // Preallocated events for the amp: no allocation on the audio thread.
  std::array<vst2::VstMidiEvent, kMaxMidiEvents> midiEvents_{};
  struct EventList {
    int32_t numEvents;
    intptr_t reserved;
    vst2::VstEvent* events[kMaxMidiEvents];
  } eventList_{};

  // The audio thread outputs silence while paused_; busy_ tells the main thread when it
  // has left the amp.
  std::atomic<bool> paused_{false};
  std::atomic<bool> busy_{false};
  std::atomic<unsigned> rate_{0};
  std::atomic<unsigned> bufferSize_{0};
  double ampRate_ = 0.0;
  unsigned shownBufferSize_ = 0;
  std::atomic<unsigned> xruns_{0};
  std::atomic<bool> serverGone_{false};
  std::array<char, kReasonBytes> shutdownReason_{};
};
