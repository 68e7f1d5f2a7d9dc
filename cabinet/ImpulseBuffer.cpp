#include "cabinet/ImpulseBuffer.h"

#include <new>

int ImpulseBuffer::SetChannelCount(int channels) {
  if (channels < 1) channels = 1;
  channels_.resize(channels, std::vector<double>(length_, 0.0));
  channels_.shrink_to_fit();
  return ChannelCount();
}

int ImpulseBuffer::SetLength(int samples) {
  if (samples < 0) samples = 0;
  try {
    for (auto& channel : channels_) channel.resize(samples, 0.0);
    length_ = samples;
  } catch (const std::bad_alloc&) {
    for (auto& channel : channels_) std::vector<double>().swap(channel);
    length_ = 0;
  }
  return length_;
}
