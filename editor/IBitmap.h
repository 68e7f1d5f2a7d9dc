// A bitmap as the controls see it: a shared decoded image cut into frames stacked
// vertically.
#pragma once

#include "editor/PixelImage.h"

struct IBitmap {
  const PixelImage* image = nullptr;  // owned by the bitmap cache; null when not loaded
  int W = 0;
  int H = 0;
  int N = 1;  // frames

  bool Loaded() const { return image != nullptr; }
  int FrameHeight() const { return N > 0 ? H / N : 0; }
  // First row of frame k (1-based): floor(H * (k - 1) / N + 0.5).
  int FrameTop(int k) const {
    return N > 0 ? static_cast<int>((2LL * H * (k - 1) + N) / (2LL * N)) : 0;
  }
};
