// The frequency-response curve of the editor's response display: the magnitude spectrum
// of a response's first 4096 samples on a log-frequency axis from 20 Hz to 20480 Hz, as one
// height per pixel column, +40 dB at the top edge and -80 dB at the bottom.
#pragma once

#include <array>
#include <vector>

constexpr int kResponseCurveSamples = 4096;
using CurveSamples = std::array<double, kResponseCurveSamples>;

// The first 4096 samples of a response, zero-padded.
CurveSamples CurveSamplesOf(const std::vector<double>& response);

// Writes each column's distance from the top, 0 .. height pixels, into columnTop[0 .. width).
// Returns the reciprocal of the largest spectral magnitude (0 for a silent response).
double ComputeResponseCurve(const CurveSamples& samples, int width, int height, double* columnTop);
