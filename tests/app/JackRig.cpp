#include "tests/app/JackRig.h"

#include <jack/midiport.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>

namespace {

constexpr uint8_t kProgramChange = 0xC0;

void Quiet(const char*) {}

jack_client_t* OpenClient(const char* name, const std::string& server) {
  // Probing a server that is still starting makes JACK complain on every try.
  jack_set_error_function(&Quiet);
  jack_set_info_function(&Quiet);
  jack_status_t status{};
  return jack_client_open(name, jack_options_t(JackNoStartServer | JackServerName), &status, server.c_str());
}

}  // namespace

JackServer::JackServer(int period) {
  static int servers = 0;
  name_ = "voltrex-test-" + std::to_string(getpid()) + "-" + std::to_string(++servers);
  // Synchronous mode with a long client timeout: on a loaded machine a late cycle waits
  // instead of being dropped, so what voltrex gets is exactly what the player played.
  process_ = std::make_unique<Subprocess>(
      std::vector<std::string>{"jackd", "--no-realtime", "--sync", "--timeout", "20000", "-n", name_, "-d", "dummy",
                               "-r", std::to_string(kRate), "-p", std::to_string(period)},
      std::map<std::string, std::string>{}, "/tmp/" + name_);
}

JackServer::~JackServer() {
  Stop();
  std::remove(("/tmp/" + name_ + ".out").c_str());
  std::remove(("/tmp/" + name_ + ".err").c_str());
}

bool JackServer::Ready(double seconds) {
  return WaitFor(
      [this] {
        jack_client_t* probe = OpenClient("probe", name_);
        if (probe) jack_client_close(probe);
        return probe != nullptr;
      },
      seconds);
}

bool JackServer::Stop() {
  if (!process_ || !process_->Started()) return false;
  process_->Signal(SIGTERM);
  const bool ended = process_->Wait(60.0) >= 0 || !process_->Running();
  process_.reset();
  return ended;
}

JackRig::JackRig(const std::string& server, const std::vector<float>& riff) : riff_(riff) {
  for (auto& channel : recording_) channel.assign(size_t(kRecordSeconds * JackServer::kRate), 0.0f);
  player_ = OpenClient("riff-player", server);
  recorder_ = OpenClient("recorder", server);
  if (!player_ || !recorder_) return;
  playerOut_ = jack_port_register(player_, "out", JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
  playerMidi_ = jack_port_register(player_, "midi_out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
  recorderIn_[0] = jack_port_register(recorder_, "in_1", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
  recorderIn_[1] = jack_port_register(recorder_, "in_2", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
  jack_set_process_callback(player_, &JackRig::PlayerProcess, this);
  jack_set_process_callback(recorder_, &JackRig::RecorderProcess, this);
  jack_set_xrun_callback(recorder_, &JackRig::OnXrun, this);
  jack_activate(player_);
  jack_activate(recorder_);
}

JackRig::~JackRig() { Close(); }

void JackRig::Close() {
  for (jack_client_t** client : {&player_, &recorder_}) {
    if (!*client) continue;
    jack_deactivate(*client);
    jack_client_close(*client);
    *client = nullptr;
  }
}

bool JackRig::ConnectTo(const std::string& voltrex, double seconds) {
  const std::string out2 = voltrex + ":out_2";
  if (!WaitFor([&] { return jack_port_by_name(player_, out2.c_str()) != nullptr; }, seconds)) return false;
  return jack_connect(player_, jack_port_name(playerOut_), (voltrex + ":in_1").c_str()) == 0 &&
         jack_connect(player_, jack_port_name(playerMidi_), (voltrex + ":midi_in").c_str()) == 0 &&
         jack_connect(recorder_, (voltrex + ":out_1").c_str(), jack_port_name(recorderIn_[0])) == 0 &&
         jack_connect(recorder_, out2.c_str(), jack_port_name(recorderIn_[1])) == 0;
}

int JackRig::PlayerProcess(jack_nframes_t frames, void* self) {
  auto& rig = *static_cast<JackRig*>(self);
  auto* out = static_cast<float*>(jack_port_get_buffer(rig.playerOut_, frames));
  std::memset(out, 0, sizeof(float) * frames);
  if (rig.playing_.load()) {
    size_t at = rig.played_.load();
    if (at == 0) rig.riffStart_.store(jack_last_frame_time(rig.player_));
    const size_t n = std::min(size_t(frames), rig.riff_.size() - at);
    std::memcpy(out, rig.riff_.data() + at, sizeof(float) * n);
    rig.played_.store(at + n);
    if (at + n == rig.riff_.size()) rig.playing_.store(false);
  }
  void* midi = jack_port_get_buffer(rig.playerMidi_, frames);
  jack_midi_clear_buffer(midi);
  const int program = rig.pendingProgram_.load();
  if (program >= 0) {
    const jack_midi_data_t message[2] = {kProgramChange, jack_midi_data_t(program)};
    jack_midi_event_write(midi, 0, message, sizeof message);
    rig.pendingProgram_.store(-1);
  }
  return 0;
}

int JackRig::RecorderProcess(jack_nframes_t frames, void* self) {
  auto& rig = *static_cast<JackRig*>(self);
  if (!rig.recordingStarted_.load()) {
    rig.recordStart_.store(jack_last_frame_time(rig.recorder_));
    rig.recordingStarted_.store(true);
  }
  const size_t at = rig.recorded_.load();
  const size_t n = std::min(size_t(frames), rig.recording_[0].size() - at);
  for (int c = 0; c < 2; ++c) {
    const auto* in = static_cast<const float*>(jack_port_get_buffer(rig.recorderIn_[c], frames));
    std::memcpy(rig.recording_[c].data() + at, in, sizeof(float) * n);
  }
  rig.recorded_.store(at + n);
  return 0;
}

int JackRig::OnXrun(void* self) {
  static_cast<JackRig*>(self)->xruns_.fetch_add(1);
  return 0;
}

bool JackRig::PlayRiff(double seconds) {
  played_.store(0);
  playing_.store(true);
  return WaitFor([this] { return !playing_.load(); }, seconds);
}

bool JackRig::RecordedRiff(std::vector<std::vector<float>>& channels, double seconds) {
  const size_t start = size_t(riffStart_.load() - recordStart_.load());
  const size_t end = start + riff_.size();
  if (end > recording_[0].size() || !WaitFor([&] { return recorded_.load() >= end; }, seconds)) return false;
  channels.clear();
  for (const auto& recorded : recording_) channels.emplace_back(recorded.begin() + long(start), recorded.begin() + long(end));
  return true;
}

bool JackRig::SendProgramChange(int program, double seconds) {
  pendingProgram_.store(program);
  return WaitFor([this] { return pendingProgram_.load() < 0; }, seconds);
}

bool JackRig::SetBufferSize(int frames, double seconds) {
  if (jack_set_buffer_size(player_, jack_nframes_t(frames)) != 0) return false;
  return WaitFor([&] { return jack_get_buffer_size(player_) == jack_nframes_t(frames); }, seconds);
}
