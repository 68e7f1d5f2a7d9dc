// Feeds arbitrary bytes to the impulse-file loader: WAVE parsing, resampling to a host
// rate taken from the first byte, gain, display samples and installing in the convolver.
#include <cstddef>
#include <cstdint>

#include "cabinet/ImpulseFiles.h"
#include "cabinet/PartitionedConvolver.h"
#include "tests/cabinet/KeptConvolver.h"

namespace {
constexpr double kHostRatesHz[] = {44100.0, 48000.0, 96000.0, 22050.0};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  KeptConvolver kept;
  ImpulseFiles files(kept);
  if (size > 0) files.SetSampleRate(kHostRatesHz[data[0] % 4]);
  if (files.LoadImpulseBytes(data, size)) {
    double block[64] = {1.0};
    PartitionedConvolver& convolver = *kept.convolver;
    convolver.PushSamples(block, 64);
    const int ready = convolver.ProduceOutput(64);
    convolver.ConsumeOutput(ready);
  }
  return 0;
}
