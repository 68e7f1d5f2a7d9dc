// Programme loudness as a mixing engineer reads it: ITU-R BS.1770-4 integrated loudness
// (K-weighted, gated, in LUFS) and the sample peak, for rendered audio.
#pragma once

#include <array>

#include "tools/vsthost/WavFile.h"

namespace vsthost {

// Integrated loudness in LUFS: every channel K-weighted and summed with weight 1 (the
// front channels' weight), averaged over 400 ms blocks in 100 ms steps that pass the
// absolute gate (-70 LUFS) and the relative gate (10 LU below the absolutely gated
// loudness). -inf when no block passes, as for silence or audio shorter than 400 ms.
double IntegratedLoudness(const WavAudio& audio);

// The largest sample magnitude of any channel in dB relative to full scale (-inf for silence).
double SamplePeakDb(const WavAudio& audio);

// b0, b1, b2, a1, a2 (a0 = 1) of the two K-weighting stages at a sample rate: the
// head's high shelf, then the high-pass of the revised low-frequency B curve.
struct KWeighting {
  std::array<double, 5> shelf;
  std::array<double, 5> highpass;
};
KWeighting KWeightingAt(double sampleRate);

}  // namespace vsthost
