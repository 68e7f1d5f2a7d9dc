// A private JACK server with the dummy backend, and the test's two clients around voltrex:
// a player (riff and MIDI out) and a recorder. Two clients, because one client that both
// plays and records forms a loop JACK runs a period late.
#pragma once

#include <jack/jack.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "tests/app/Subprocess.h"

class JackServer {
 public:
  static constexpr int kRate = 48000;
  // Starts jackd under a name of this process's own; Ready() tells when it answers.
  explicit JackServer(int period);
  ~JackServer();
  const std::string& Name() const { return name_; }
  bool Ready(double seconds);
  // Stops the server as its user would (SIGTERM); true when it ended.
  bool Stop();

 private:
  std::string name_;
  std::unique_ptr<Subprocess> process_;
};

// Both test clients. Everything the audio thread touches is allocated up front.
class JackRig {
 public:
  static constexpr double kRecordSeconds = 90.0;

  JackRig(const std::string& server, const std::vector<float>& riff);
  ~JackRig();
  bool Opened() const { return player_ && recorder_; }
  // Waits until voltrex's ports exist, then connects player -> voltrex -> recorder.
  bool ConnectTo(const std::string& voltrex, double seconds);

  // Plays the riff once from the next cycle; true when it has been played.
  bool PlayRiff(double seconds);
  // What voltrex sent back while the riff played (both channels), once recorded.
  bool RecordedRiff(std::vector<std::vector<float>>& channels, double seconds);
  // Sends a program change on the MIDI port at the next cycle; true once sent.
  bool SendProgramChange(int program, double seconds);
  bool SetBufferSize(int frames, double seconds);
  unsigned Xruns() const { return xruns_.load(); }
  // Leaves the server.
  void Close();

 private:
  static int PlayerProcess(jack_nframes_t frames, void* self);
  static int RecorderProcess(jack_nframes_t frames, void* self);
  static int OnXrun(void* self);

  jack_client_t* player_ = nullptr;
  jack_client_t* recorder_ = nullptr;
  jack_port_t* playerOut_ = nullptr;
  jack_port_t* playerMidi_ = nullptr;
  jack_port_t* recorderIn_[2] = {};
  std::vector<float> riff_;
  std::vector<float> recording_[2];

  std::atomic<bool> playing_{false};
  std::atomic<size_t> played_{0};
  std::atomic<jack_nframes_t> riffStart_{0};
  std::atomic<int> pendingProgram_{-1};
  std::atomic<bool> recordingStarted_{false};
  std::atomic<jack_nframes_t> recordStart_{0};
  std::atomic<size_t> recorded_{0};
  std::atomic<unsigned> xruns_{0};
};
