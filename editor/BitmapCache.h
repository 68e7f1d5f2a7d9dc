// The process-wide bitmap cache: each image resource is decoded once, shared by every
// editor of every plug-in instance, and kept until the library is unloaded. The images for
// dense screens are decoded only when an editor at that scale first draws them.
#pragma once

#include <string_view>

#include "editor/PixelImage.h"

// The decoded image of resource id, decoding it on first use by the extension of name.
// Null when the resource is missing or cannot be decoded (nothing is cached then).
// Safe to call from several threads at once.
const PixelImage* CachedImage(int resourceId, std::string_view name);

// The image that an editor at scale draws for image, a 1x image of this cache (frames
// stacked frames): image itself at 1, its resource's twice-size twin at 2, and at 1.5 that
// twin resized frame by frame to 1.5 times the 1x size, rounded up. Null when there is no
// such image (an image made elsewhere, scales other than 1, 1.5 and 2, no twin). Safe to
// call from several threads at once.
const PixelImage* CachedImageAt(const PixelImage* image, int frames, float scale);
