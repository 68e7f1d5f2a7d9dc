// A plain uniformly partitioned convolver on FFTW (partition = host block, overlap-save,
// real transforms of twice the block): the textbook peer for our convolver.
#pragma once

#include <fftw3.h>

#include <complex>
#include <vector>

class UniformFftwConvolver {
 public:
  UniformFftwConvolver(const std::vector<double>& response, int blockSize);
  ~UniformFftwConvolver();
  UniformFftwConvolver(const UniformFftwConvolver&) = delete;
  UniformFftwConvolver& operator=(const UniformFftwConvolver&) = delete;

  // Convolves one block of blockSize samples in place.
  void Process(double* block);

 private:
  // FFTW's complex type and std::complex<double> share their layout.
  std::complex<double>* Spectrum() { return reinterpret_cast<std::complex<double>*>(spectrum_); }

  int block_;
  int partitions_;
  int bins_;
  std::vector<std::complex<double>> responseSpectra_;  // partitions_ x bins_
  std::vector<std::complex<double>> inputSpectra_;     // ring of partitions_ x bins_
  int newest_ = 0;
  double* time_;
  fftw_complex* spectrum_;
  std::vector<std::complex<double>> sum_;
  std::vector<double> previous_;
  fftw_plan forward_;
  fftw_plan inverse_;
};
