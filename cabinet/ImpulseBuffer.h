// The impulse response handed to the convolver: one or more channels of equal length.
#pragma once

#include <vector>

class ImpulseBuffer {
 public:
  // Setting 1 releases the data of any further channel. Returns the channel count.
  int SetChannelCount(int channels);
  // Resizes every channel; new samples are zero. If memory runs out every channel is
  // released and the length becomes 0. Returns the length.
  int SetLength(int samples);

  int ChannelCount() const { return static_cast<int>(channels_.size()); }
  int Length() const { return length_; }
  double* Channel(int channel) { return channels_[channel].data(); }
  const double* Channel(int channel) const { return channels_[channel].data(); }

 private:
  std::vector<std::vector<double>> channels_ = std::vector<std::vector<double>>(1);
  int length_ = 0;
};
