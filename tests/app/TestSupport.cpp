#include "tests/app/TestSupport.h"

#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/vsthost/Render.h"
#include "tools/vsthost/Riff.h"

namespace {

struct ScratchRemover {
  std::string folder;
  ~ScratchRemover() {
    std::error_code ignored;
    if (!folder.empty() && !std::getenv("VOLTREX_KEEP_SCRATCH")) std::filesystem::remove_all(folder, ignored);
  }
};

}  // namespace

const std::string& ScratchFolder() {
  static ScratchRemover scratch = [] {
    char pattern[] = "/tmp/voltrex-app-XXXXXX";
    return ScratchRemover{mkdtemp(pattern) ? pattern : ""};
  }();
  return scratch.folder;
}

std::string ScratchPath(const std::string& name) { return ScratchFolder() + "/" + name; }

bool ReadAudio(const std::string& path, Audio& audio) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return false;
  std::vector<float> interleaved(size_t(info.frames * info.channels));
  const sf_count_t read = sf_readf_float(file, interleaved.data(), info.frames);
  sf_close(file);
  audio.sampleRate = info.samplerate;
  audio.format = info.format;
  audio.channels.assign(size_t(info.channels), std::vector<float>(size_t(read)));
  for (sf_count_t f = 0; f < read; ++f) {
    for (int c = 0; c < info.channels; ++c) audio.channels[size_t(c)][size_t(f)] = interleaved[size_t(f * info.channels + c)];
  }
  return read == info.frames;
}

bool WriteAudio(const std::string& path, const Audio& audio, int format) {
  SF_INFO info{};
  info.samplerate = audio.sampleRate;
  info.channels = int(audio.channels.size());
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (!file) return false;
  std::vector<float> interleaved;
  for (size_t f = 0; f < audio.Frames(); ++f) {
    for (const auto& channel : audio.channels) interleaved.push_back(channel[f]);
  }
  const bool written = sf_writef_float(file, interleaved.data(), sf_count_t(audio.Frames())) == sf_count_t(audio.Frames());
  return sf_close(file) == 0 && written;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Audio Riff(int sampleRate) {
  Audio audio;
  audio.sampleRate = sampleRate;
  audio.channels = vsthost::SynthesiseRiff(sampleRate).channels;
  return audio;
}

double LevelDb(const Audio& audio) {
  vsthost::WavAudio wav;
  wav.channels = audio.channels;
  return vsthost::RmsDb(wav);
}

bool AllFinite(const Audio& audio) {
  for (const auto& channel : audio.channels) {
    for (float s : channel) {
      if (!std::isfinite(s)) return false;
    }
  }
  return true;
}
