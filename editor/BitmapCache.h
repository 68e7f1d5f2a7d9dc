// The process-wide bitmap cache: each image resource is decoded once, shared by every
// editor of every plug-in instance, and kept until the library is unloaded.
#pragma once

#include <string_view>

#include "editor/PixelImage.h"

// The decoded image of resource id, decoding it on first use by the extension of name.
// Null when the resource is missing or cannot be decoded (nothing is cached then).
// Safe to call from several threads at once.
const PixelImage* CachedImage(int resourceId, std::string_view name);
