#include "UniformFftwConvolver.h"

#include <algorithm>
#include <cstring>

UniformFftwConvolver::UniformFftwConvolver(const std::vector<double>& response, int blockSize)
    : block_(blockSize),
      partitions_(static_cast<int>((response.size() + blockSize - 1) / blockSize)),
      bins_(blockSize + 1),
      responseSpectra_(static_cast<size_t>(partitions_) * bins_),
      inputSpectra_(static_cast<size_t>(partitions_) * bins_),
      time_(fftw_alloc_real(2 * blockSize)),
      spectrum_(fftw_alloc_complex(blockSize + 1)),
      sum_(bins_),
      previous_(blockSize, 0.0) {
  forward_ = fftw_plan_dft_r2c_1d(2 * block_, time_, spectrum_, FFTW_MEASURE);
  inverse_ = fftw_plan_dft_c2r_1d(2 * block_, spectrum_, time_, FFTW_MEASURE);
  const double scale = 1.0 / (2 * block_);
  for (int p = 0; p < partitions_; ++p) {
    std::fill(time_, time_ + 2 * block_, 0.0);
    for (int i = 0; i < block_ && p * block_ + i < static_cast<int>(response.size()); ++i)
      time_[i] = response[p * block_ + i] * scale;
    fftw_execute(forward_);
    std::copy(Spectrum(), Spectrum() + bins_, &responseSpectra_[static_cast<size_t>(p) * bins_]);
  }
}

UniformFftwConvolver::~UniformFftwConvolver() {
  fftw_destroy_plan(forward_);
  fftw_destroy_plan(inverse_);
  fftw_free(time_);
  fftw_free(spectrum_);
}

void UniformFftwConvolver::Process(double* block) {
  std::memcpy(time_, previous_.data(), sizeof(double) * block_);
  std::memcpy(time_ + block_, block, sizeof(double) * block_);
  std::memcpy(previous_.data(), block, sizeof(double) * block_);
  fftw_execute(forward_);
  newest_ = (newest_ + 1) % partitions_;
  std::copy(Spectrum(), Spectrum() + bins_, &inputSpectra_[static_cast<size_t>(newest_) * bins_]);
  std::fill(sum_.begin(), sum_.end(), std::complex<double>());
  for (int p = 0; p < partitions_; ++p) {
    const std::complex<double>* x = &inputSpectra_[static_cast<size_t>((newest_ - p + partitions_) % partitions_) * bins_];
    const std::complex<double>* h = &responseSpectra_[static_cast<size_t>(p) * bins_];
    for (int k = 0; k < bins_; ++k) sum_[k] += x[k] * h[k];
  }
  std::copy(sum_.begin(), sum_.end(), Spectrum());
  fftw_execute(inverse_);
  std::memcpy(block, time_ + block_, sizeof(double) * block_);
}
