#include "cabinet/SampleQueue.h"

#include <algorithm>
#include <cstring>

double* SampleQueue::AppendUninitialised(int n) {
  if (read_ >= stored_) read_ = stored_ = 0;
  const int needed = stored_ + n;
  if (needed > static_cast<int>(buffer_.size())) buffer_.resize(std::max(needed, 2 * stored_));
  double* region = buffer_.data() + stored_;
  stored_ = needed;
  return region;
}

void SampleQueue::Append(const double* source, int n) {
  if (n <= 0) return;
  double* region = AppendUninitialised(n);
  if (source)
    std::memcpy(region, source, sizeof(double) * n);
  else
    std::fill(region, region + n, 0.0);
}

void SampleQueue::Consume(int n) {
  if (n <= 0) return;
  read_ = std::min(read_ + n, stored_);
  if (read_ <= stored_ / 2) return;
  const int rest = stored_ - read_;
  if (rest > 0) std::memmove(buffer_.data(), buffer_.data() + read_, sizeof(double) * rest);
  stored_ = rest;
  read_ = 0;
}

void SampleQueue::Clear() { read_ = stored_ = 0; }

void SampleQueue::Reserve(int samples) {
  if (samples > static_cast<int>(buffer_.size())) buffer_.resize(samples);
}
