// Resizing the editor's images for scale factors without images of their own (1.5x from
// the 2x set): a separable cubic filter (Catmull-Rom), widened when reducing so that every
// source pixel counts, applied to each frame on its own so that frames do not bleed into
// each other. Interface thread; allocates the result and two scratch rows.
#pragma once

#include "editor/PixelImage.h"

// The frames of source (frames stacked, frame k starting at row floor(H * (k - 1) / N +
// 0.5)) resized by factor, each frame's sides rounded up, and stacked without gaps.
PixelImage ResizeFrames(const PixelImage& source, int frames, double factor);
