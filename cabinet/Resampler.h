// Sample-rate conversion of an impulse response by linear interpolation.
#pragma once

#include <vector>

// Responses longer than this after resampling are refused (about 87 s at 96 kHz).
constexpr int kMaxResponseSamples = 1 << 23;

// Converts from fromRate to toRate: ratio r = fromRate / toRate, length floor(L / r),
// output i interpolated at position i * r (accumulated by addition). The sample after the
// last one counts as 0, the silence that follows a response. Rates equal: a copy. False
// for rates that are not positive or a result longer than kMaxResponseSamples.
bool Resample(const std::vector<double>& in, double fromRate, double toRate, std::vector<double>& out);

// 1 / (sqrt(sum of squares) * sqrt 2), so that responses of any loudness play alike;
// 1.0 for a silent response, whose gain would otherwise be infinite.
double ResponseNormalisationGain(const std::vector<double>& response);
