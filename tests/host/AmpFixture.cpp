#include "tests/host/AmpFixture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr size_t kChunkHeaderBytes = 8;
constexpr int kParams = 162;
}  // namespace

Stereo TestSignal(int frames, double phase) {
  Stereo s{std::vector<double>(size_t(frames)), std::vector<double>(size_t(frames))};
  for (int i = 0; i < frames; ++i) {
    s.left[size_t(i)] = 0.25 * std::sin(0.013 * i + phase) + 0.05 * std::sin(0.21 * i);
    s.right[size_t(i)] = 0.2 * std::cos(0.0071 * i) - 0.03 * std::sin(0.5 * i + 1.0);
  }
  return s;
}

Stereo ProcessDouble(vsthost::PluginHost& host, const Stereo& in, int blockSize) {
  const int frames = int(in.left.size());
  Stereo out{std::vector<double>(size_t(frames)), std::vector<double>(size_t(frames))};
  for (int start = 0; start < frames; start += blockSize) {
    const int n = std::min(blockSize, frames - start);
    double* inputs[2] = {const_cast<double*>(in.left.data()) + start, const_cast<double*>(in.right.data()) + start};
    double* outputs[2] = {out.left.data() + start, out.right.data() + start};
    host.ProcessDouble(inputs, outputs, n);
  }
  return out;
}

std::vector<double> StoredValues(vsthost::PluginHost& host) {
  const std::vector<uint8_t> chunk = host.GetChunk(false);
  int32_t pathLength = 0;
  std::memcpy(&pathLength, chunk.data() + kChunkHeaderBytes, sizeof pathLength);
  std::vector<double> values(kParams);
  std::memcpy(values.data(), chunk.data() + kChunkHeaderBytes + 4 + size_t(pathLength), kParams * sizeof(double));
  return values;
}

double Peak(const std::vector<double>& samples) {
  double peak = 0.0;
  for (double s : samples) peak = std::max(peak, std::fabs(s));
  return peak;
}
