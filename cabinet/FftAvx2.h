// The transforms computed with AVX2, two complex values per register, bit-identical to the
// plain ones. Call only when CpuHasAvx2(); sizeIndex is log2(N) - 1.
#pragma once

void FftAvx2(double* data, int sizeIndex, int inverse);
void FftPaddedRealAvx2(const double* samples, double* spectrum, int sizeIndex);
void FftSplitPassAvx2(double* data, int sizeIndex, int inverse);
void FftPaddedRealSplitPassAvx2(const double* samples, double* spectrum, int sizeIndex);
