// The tiny WAVE reader and writer of the render command: integer PCM of 16, 24 or 32 bits
// or 32-bit float in, 32-bit float out.
#pragma once

#include <string>
#include <vector>

namespace vsthost {

struct WavAudio {
  double sampleRate = 44100.0;
  std::vector<std::vector<float>> channels;  // equal lengths
  int Frames() const { return channels.empty() ? 0 : int(channels[0].size()); }
};

// False with a reason for files that are not WAVE audio of a supported format.
bool ReadWav(const std::string& path, WavAudio& audio, std::string* error);
// False with the system's reason (when error is given) if the file cannot be written.
bool WriteWavFloat(const std::string& path, const WavAudio& audio, std::string* error = nullptr);

}  // namespace vsthost
