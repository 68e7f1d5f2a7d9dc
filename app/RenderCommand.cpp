#include "app/RenderCommand.h"

#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/AmpSetup.h"

namespace {

constexpr int kStereo = 2;
constexpr int kProgressWidth = 40;
constexpr sf_count_t kFramesPerProgressStep = 1 << 16;

struct SndFile {
  SNDFILE* file = nullptr;
  SF_INFO info{};
  ~SndFile() {
    if (file) sf_close(file);
  }
};

std::string Lower(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The output format OUT's extension names; 0 for one libsndfile does not write.
int FormatForExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  const std::string ext = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                              ? std::string()
                              : Lower(path.substr(dot + 1));
  if (ext == "wav" || ext == "wave") return SF_FORMAT_WAVEX | SF_FORMAT_FLOAT;
  if (ext == "flac") return SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
  if (ext == "aif" || ext == "aiff") return SF_FORMAT_AIFF | SF_FORMAT_FLOAT;
  if (ext == "ogg" || ext == "oga") return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
  if (ext == "caf") return SF_FORMAT_CAF | SF_FORMAT_FLOAT;
  if (ext == "w64") return SF_FORMAT_W64 | SF_FORMAT_FLOAT;
  return 0;
}

bool OpenInput(const std::string& path, SndFile& in, std::string& error) {
  in.file = sf_open(path.c_str(), SFM_READ, &in.info);
  if (!in.file) {
    error = "cannot read " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  if (in.info.channels < 1 || in.info.channels > kStereo) {
    error = path + " has " + std::to_string(in.info.channels) + " channels; voltrex renders mono or stereo";
    return false;
  }
  return true;
}

// Writes beside OUT, so a failed render leaves no OUT behind; the caller renames it.
bool OpenOutput(const std::string& path, const std::string& temporary, int sampleRate, SndFile& out,
                std::string& error) {
  out.info.samplerate = sampleRate;
  out.info.channels = kStereo;
  out.info.format = FormatForExtension(path);
  if (out.info.format == 0 || !sf_format_check(&out.info)) {
    error = "cannot tell the format of " + path + " from its extension (use .wav .flac .aiff .ogg .caf .w64)";
    return false;
  }
  out.file = sf_open(temporary.c_str(), SFM_WRITE, &out.info);
  if (!out.file) {
    error = "cannot write " + path + ": " + sf_strerror(nullptr);
    return false;
  }
  // A time-stamped PEAK chunk would make every render's bytes different.
  sf_command(out.file, SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
  // Lossy and integer formats clip; keep levels above full scale from wrapping.
  sf_command(out.file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  return true;
}

class ProgressBar {
 public:
  explicit ProgressBar(sf_count_t total) : total_(total), shown_(isatty(STDERR_FILENO) && total > 0) {}
  void Show(sf_count_t done) {
    if (!shown_ || (done - last_ < kFramesPerProgressStep && done < total_)) return;
    last_ = done;
    const int filled = int(done * kProgressWidth / total_);
    std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(size_t(filled), '#').c_str(),
                 std::string(size_t(kProgressWidth - filled), ' ').c_str(), int(done * 100 / total_));
    if (done >= total_) std::fprintf(stderr, "\n");
  }

 private:
  sf_count_t total_;
  bool shown_;
  sf_count_t last_ = -kFramesPerProgressStep;
};

// Block by block: read, split into the amp's inputs (mono feeds input 1), process,
// interleave, write.
bool RenderBlocks(vsthost::PluginHost& amp, SndFile& in, SndFile& out, int blockSize, std::string& error) {
  const int channels = in.info.channels;
  std::vector<float> interleavedIn(size_t(blockSize * channels));
  std::vector<float> interleavedOut(size_t(blockSize * kStereo));
  std::vector<std::vector<float>> inputs(kStereo, std::vector<float>(size_t(blockSize)));
  std::vector<std::vector<float>> outputs(kStereo, std::vector<float>(size_t(blockSize)));
  float* in_[kStereo] = {inputs[0].data(), inputs[1].data()};
  float* out_[kStereo] = {outputs[0].data(), outputs[1].data()};
  ProgressBar progress(in.info.frames);
  sf_count_t done = 0;
  for (;;) {
    const sf_count_t frames = sf_readf_float(in.file, interleavedIn.data(), blockSize);
    if (frames <= 0) break;
    for (sf_count_t f = 0; f < frames; ++f) {
      for (int c = 0; c < kStereo; ++c) inputs[size_t(c)][size_t(f)] = c < channels ? interleavedIn[size_t(f * channels + c)] : 0.0f;
    }
    amp.ProcessReplacing(in_, out_, int(frames));
    for (sf_count_t f = 0; f < frames; ++f) {
      for (int c = 0; c < kStereo; ++c) interleavedOut[size_t(f * kStereo + c)] = outputs[size_t(c)][size_t(f)];
    }
    if (sf_writef_float(out.file, interleavedOut.data(), frames) != frames) {
      error = std::string("write error: ") + sf_strerror(out.file);
      return false;
    }
    done += frames;
    progress.Show(done);
  }
  if (sf_error(in.file) != SF_ERR_NO_ERROR) {
    error = std::string("read error: ") + sf_strerror(in.file);
    return false;
  }
  return true;
}

bool Render(const Options& options, std::string& error) {
  ResolvedStart start;
  if (!ResolveStartSettings(options.start, start, error)) return false;
  SndFile in;
  if (!OpenInput(options.input, in, error)) return false;
  auto amp = StartAmp(in.info.samplerate, options.blockSize, vst2::kProcessLevelOffline, error);
  if (!amp) return false;
  if (!options.statePath.empty() && !LoadStateAsIs(*amp, options.statePath, error)) return false;
  ApplyStartSettings(*amp, start);
  const std::string temporary = options.output + ".partial";
  SndFile out;
  bool rendered = OpenOutput(options.output, temporary, in.info.samplerate, out, error) &&
                  RenderBlocks(*amp, in, out, options.blockSize, error);
  if (out.file) {
    rendered = sf_close(out.file) == 0 && rendered;
    out.file = nullptr;
  }
  if (rendered && std::rename(temporary.c_str(), options.output.c_str()) != 0) {
    error = "cannot write " + options.output + ": " + std::strerror(errno);
    rendered = false;
  }
  if (!rendered) std::remove(temporary.c_str());
  return rendered;
}

}  // namespace

int RunRender(const Options& options) {
  std::string error;
  if (Render(options, error)) return 0;
  std::fprintf(stderr, "voltrex render: %s\n", error.c_str());
  return 1;
}
