// What the standalone's suites share: the binary under test, a scratch folder, and audio
// files read and written through libsndfile.
#pragma once

#include <string>
#include <vector>

const std::string& VoltrexPath();
// A fresh folder for this test process, removed at exit.
const std::string& ScratchFolder();
std::string ScratchPath(const std::string& name);

struct Audio {
  int sampleRate = 48000;
  int format = 0;  // libsndfile's major | subtype
  std::vector<std::vector<float>> channels;
  size_t Frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

bool ReadAudio(const std::string& path, Audio& audio);
bool WriteAudio(const std::string& path, const Audio& audio, int format);
std::vector<uint8_t> FileBytes(const std::string& path);
bool FileExists(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// The riff of the host tests as mono audio.
Audio Riff(int sampleRate);
// RMS over all channels in dB; -inf for silence.
double LevelDb(const Audio& audio);
bool AllFinite(const Audio& audio);
