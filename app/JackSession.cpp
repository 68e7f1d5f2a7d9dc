#include "app/JackSession.h"

#include <jack/midiport.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

constexpr const char* kClientName = "Voltrex";
constexpr const char* kInputNames[] = {"in_1", "in_2"};
constexpr const char* kOutputNames[] = {"out_1", "out_2"};
constexpr const char* kMidiName = "midi_in";
constexpr int kMaxShortMessage = 3;
constexpr auto kSuspendPoll = std::chrono::milliseconds(1);

// Physical ports of a type and direction, as JACK orders them.
std::vector<std::string> PhysicalPorts(jack_client_t* client, const char* type, unsigned long direction) {
  std::vector<std::string> names;
  const char** ports = jack_get_ports(client, nullptr, type, JackPortIsPhysical | direction);
  for (const char** p = ports; p && *p; ++p) names.emplace_back(*p);
  if (ports) jack_free(ports);
  return names;
}

// JACK's library messages go unshown: they repeat on every try to find a server and
// when the server goes away, and voltrex says what matters in its own words.
void QuietJackMessage(const char*) {}

}  // namespace

std::unique_ptr<JackSession> JackSession::Open(std::string& error) {
  std::unique_ptr<JackSession> session(new JackSession);
  jack_set_error_function(&QuietJackMessage);
  jack_set_info_function(&QuietJackMessage);
  jack_status_t status{};
  session->client_ = jack_client_open(kClientName, JackNoStartServer, &status);
  if (!session->client_) {
    error = (status & JackServerFailed) || (status & JackFailure)
                ? "no JACK server is running (start one, or run voltrex through pw-jack on PipeWire)"
                : "cannot connect to the JACK server";
    return nullptr;
  }
  if (!session->RegisterPorts(error)) return nullptr;
  jack_set_process_callback(session->client_, &JackSession::OnProcess, session.get());
  jack_set_sample_rate_callback(session->client_, &JackSession::OnSampleRate, session.get());
  jack_set_buffer_size_callback(session->client_, &JackSession::OnBufferSize, session.get());
  jack_set_xrun_callback(session->client_, &JackSession::OnXrun, session.get());
  jack_on_info_shutdown(session->client_, &JackSession::OnShutdown, session.get());
  session->rate_ = jack_get_sample_rate(session->client_);
  session->bufferSize_ = jack_get_buffer_size(session->client_);
  session->shownBufferSize_ = session->bufferSize_;
  for (int i = 0; i < kMaxMidiEvents; ++i) {
    session->eventList_.events[i] = reinterpret_cast<vst2::VstEvent*>(&session->midiEvents_[size_t(i)]);
  }
  return session;
}

JackSession::~JackSession() {
  if (!client_) return;
  if (!serverGone_) jack_deactivate(client_);
  jack_client_close(client_);
}

bool JackSession::RegisterPorts(std::string& error) {
  for (int c = 0; c < kChannels; ++c) {
    inputs_[size_t(c)] = jack_port_register(client_, kInputNames[c], JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    outputs_[size_t(c)] = jack_port_register(client_, kOutputNames[c], JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
  }
  midiIn_ = jack_port_register(client_, kMidiName, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
  const bool registered = inputs_[0] && inputs_[1] && outputs_[0] && outputs_[1] && midiIn_;
  if (!registered) error = "cannot register JACK ports";
  return registered;
}

bool JackSession::Activate(vsthost::PluginHost& amp, int maxBlock, std::string& error) {
  amp_ = &amp;
  maxBlock_ = maxBlock;
  ampRate_ = SampleRate();
  if (jack_activate(client_) == 0) return true;
  error = "cannot activate the JACK client";
  return false;
}

// ---------------------------------------------------------------------------------------
// Audio thread.

int JackSession::OnProcess(jack_nframes_t frames, void* self) {
  static_cast<JackSession*>(self)->Process(frames);
  return 0;
}

void JackSession::Process(jack_nframes_t frames) {
  busy_.store(true);
  if (paused_.load() || int(frames) > maxBlock_) {
    Silence(frames);
    busy_.store(false);
    return;
  }
  if (DeliverMidi(frames) > 0) amp_->Dispatch(vst2::effProcessEvents, 0, 0, &eventList_);
  float* in[kChannels];
  float* out[kChannels];
  for (int c = 0; c < kChannels; ++c) {
    in[c] = static_cast<float*>(jack_port_get_buffer(inputs_[size_t(c)], frames));
    out[c] = static_cast<float*>(jack_port_get_buffer(outputs_[size_t(c)], frames));
  }
  amp_->ProcessReplacing(in, out, int(frames));
  busy_.store(false);
}

// Short messages of this cycle into the preallocated event list, stamped with their
// frame; system exclusive and anything longer is not for the amp.
int JackSession::DeliverMidi(jack_nframes_t frames) {
  void* buffer = jack_port_get_buffer(midiIn_, frames);
  const uint32_t count = jack_midi_get_event_count(buffer);
  int delivered = 0;
  for (uint32_t i = 0; i < count && delivered < kMaxMidiEvents; ++i) {
    jack_midi_event_t event;
    if (jack_midi_event_get(&event, buffer, i) != 0 || event.size == 0 || event.size > kMaxShortMessage ||
        event.buffer[0] < 0x80 || event.buffer[0] >= 0xF0)
      continue;
    vst2::VstMidiEvent& midi = midiEvents_[size_t(delivered++)];
    midi = {};
    midi.type = vst2::kMidiEventType;
    midi.byteSize = sizeof(vst2::VstMidiEvent);
    midi.deltaFrames = int32_t(event.time);
    for (size_t b = 0; b < event.size; ++b) midi.midiData[b] = char(event.buffer[b]);
  }
  eventList_.numEvents = delivered;
  return delivered;
}

void JackSession::Silence(jack_nframes_t frames) {
  for (jack_port_t* port : outputs_) {
    std::memset(jack_port_get_buffer(port, frames), 0, sizeof(float) * frames);
  }
}

// ---------------------------------------------------------------------------------------
// JACK's notification thread: only notes what changed; the main thread acts on it.

int JackSession::OnSampleRate(jack_nframes_t rate, void* self) {
  static_cast<JackSession*>(self)->rate_.store(rate);
  return 0;
}

int JackSession::OnBufferSize(jack_nframes_t frames, void* self) {
  // The amp was started for the largest block JACK can have: nothing to prepare, and
  // nothing of the sound is cleared.
  static_cast<JackSession*>(self)->bufferSize_.store(frames);
  return 0;
}

int JackSession::OnXrun(void* self) {
  static_cast<JackSession*>(self)->xruns_.fetch_add(1);
  return 0;
}

void JackSession::OnShutdown(jack_status_t, const char* reason, void* self) {
  auto* session = static_cast<JackSession*>(self);
  std::snprintf(session->shutdownReason_.data(), kReasonBytes, "%s", reason ? reason : "");
  session->serverGone_.store(true);
}

// ---------------------------------------------------------------------------------------
// Main thread.

void JackSession::SuspendProcessing() {
  paused_.store(true);
  while (busy_.load()) std::this_thread::sleep_for(kSuspendPoll);
}

std::string JackSession::Poll() {
  std::string news;
  const unsigned rate = rate_.load();
  if (rate != 0 && double(rate) != ampRate_ && amp_) {
    SuspendProcessing();
    amp_->Dispatch(vst2::effMainsChanged, 0, 0);
    amp_->Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, float(rate));
    amp_->Dispatch(vst2::effMainsChanged, 0, 1);
    ampRate_ = rate;
    paused_.store(false);
    news += "sample rate now " + std::to_string(rate) + " Hz\n";
  }
  const unsigned size = bufferSize_.load();
  if (size != shownBufferSize_) {
    shownBufferSize_ = size;
    news += "buffer size now " + std::to_string(size) + " frames" +
            (int(size) > maxBlock_ ? " (larger than voltrex handles: silent)" : "") + "\n";
  }
  return news;
}

bool JackSession::ConnectPort(const std::string& source, const std::string& destination,
                              std::vector<std::string>& report) {
  const int result = jack_connect(client_, source.c_str(), destination.c_str());
  const bool connected = result == 0 || result == EEXIST;
  report.push_back((connected ? "connected " : "could not connect ") + source + " -> " + destination);
  return connected;
}

bool JackSession::Connect(const std::vector<std::string>& in, const std::vector<std::string>& out,
                          const std::vector<std::string>& midi, std::vector<std::string>& report,
                          std::string& error) {
  const std::string self = ClientName() + ":";
  // One guitar feeds input 1 only: the amp adds its inputs, so a second copy would drive
  // it 6 dB harder than its presets were voiced for.
  std::vector<std::string> sources = in;
  if (sources.empty()) {
    sources = PhysicalPorts(client_, JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput);
    if (sources.size() > 1) sources.resize(1);
    if (sources.empty()) report.push_back("no physical capture port: inputs not connected");
  }
  std::vector<std::string> sinks = out;
  if (sinks.empty()) {
    sinks = PhysicalPorts(client_, JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput);
    if (sinks.size() > kChannels) sinks.resize(kChannels);
    if (sinks.empty()) report.push_back("no physical playback port: outputs not connected");
  }
  std::vector<std::string> controllers = midi;
  if (controllers.empty()) {
    controllers = PhysicalPorts(client_, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput);
    if (controllers.size() > 1) controllers.resize(1);
  }
  // A port the player named must connect; a missing physical one is only reported.
  std::string failed;
  const auto connect = [&](const std::string& from, const std::string& to, bool named) {
    if (!ConnectPort(from, to, report) && named && failed.empty()) failed = from + " -> " + to;
  };
  for (size_t i = 0; i < sources.size() && i < kChannels; ++i) connect(sources[i], self + kInputNames[i], !in.empty());
  for (size_t i = 0; i < sinks.size() && i < kChannels; ++i) connect(self + kOutputNames[i], sinks[i], !out.empty());
  for (const std::string& controller : controllers) connect(controller, self + kMidiName, !midi.empty());
  if (!failed.empty()) error = "cannot connect " + failed + " (jack_lsp lists the ports)";
  return failed.empty();
}

int JackSession::CaptureToPlaybackLatency() const {
  jack_latency_range_t capture{}, playback{};
  jack_port_get_latency_range(inputs_[0], JackCaptureLatency, &capture);
  jack_port_get_latency_range(outputs_[0], JackPlaybackLatency, &playback);
  return int(capture.max + playback.max);
}
