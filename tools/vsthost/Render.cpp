#include "tools/vsthost/Render.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vsthost {

namespace {
constexpr int kStereo = 2;
}

bool ParseParamSetting(const std::string& text, ParamSetting& setting) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  char* end = nullptr;
  const long index = std::strtol(text.c_str(), &end, 10);
  if (end != text.c_str() + equals || index < 0) return false;
  const char* valueText = text.c_str() + equals + 1;
  const double value = std::strtod(valueText, &end);
  if (end == valueText || *end != '\0' || !(value >= 0.0 && value <= 1.0)) return false;
  setting = {int(index), float(value)};
  return true;
}

WavAudio Render(PluginHost& host, const WavAudio& input, const std::vector<ParamSetting>& settings,
                int blockSize) {
  host.SetProcessLevel(vst2::kProcessLevelOffline);
  host.Start(input.sampleRate, blockSize);
  for (const ParamSetting& s : settings) host.SetParameter(s.index, s.normalized);
  return Process(host, input, blockSize);
}

WavAudio Process(PluginHost& host, const WavAudio& input, int blockSize) {
  const int frames = input.Frames();
  WavAudio output;
  output.sampleRate = input.sampleRate;
  output.channels.assign(kStereo, std::vector<float>(size_t(frames)));
  const auto silence = std::vector<float>(size_t(blockSize));
  for (int start = 0; start < frames; start += blockSize) {
    const int n = std::min(blockSize, frames - start);
    float* in[kStereo];
    float* out[kStereo];
    for (int c = 0; c < kStereo; ++c) {
      const bool present = size_t(c) < input.channels.size();
      in[c] = present ? const_cast<float*>(input.channels[size_t(c)].data()) + start : const_cast<float*>(silence.data());
      out[c] = output.channels[size_t(c)].data() + start;
    }
    host.ProcessReplacing(in, out, n);
  }
  return output;
}

double RmsDb(const WavAudio& audio) {
  double sum = 0.0;
  size_t count = 0;
  for (const std::vector<float>& channel : audio.channels) {
    for (float s : channel) sum += double(s) * double(s);
    count += channel.size();
  }
  return count == 0 || sum == 0.0 ? -INFINITY : 10.0 * std::log10(sum / double(count));
}

}  // namespace vsthost
