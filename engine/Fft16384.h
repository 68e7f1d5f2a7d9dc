// The tuner's fixed-size transform: in-place complex FFT of exactly 16,384 points.
// Its caller takes magnitudes only, so the sign convention of the exponent is immaterial.
#pragma once

constexpr int kFft16384Size = 16384;

void Fft16384(double* re, double* im);
