// A FIFO of doubles in one growable buffer with a read position. Data moves to the front
// only when the read position passes half of the stored size, so appends and consumes are
// amortised O(1). With capacity reserved ahead, appends allocate nothing.
#pragma once

#include <vector>

class SampleQueue {
 public:
  // Appends n samples copied from source, or n zeros when source is null.
  void Append(const double* source, int n);
  // Appends n slots and returns them for the caller to fill.
  double* AppendUninitialised(int n);
  // Drops up to n samples from the front.
  void Consume(int n);
  void Clear();
  // Makes room for stored sizes up to samples without allocating later.
  void Reserve(int samples);

  int Available() const { return stored_ - read_; }
  const double* Data() const { return buffer_.data() + read_; }
  double* Data() { return buffer_.data() + read_; }

 private:
  std::vector<double> buffer_;  // its size is the capacity; stored_ counts what is in use
  int stored_ = 0;
  int read_ = 0;
};
