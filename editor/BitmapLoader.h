// Loading the editor's bitmaps from the library's image resources.
#pragma once

#include <string_view>

#include "editor/IBitmap.h"

// The bitmap of resource id with the given number of frames, from the process-wide cache.
// The name ("img/background.png") chooses the decoder by its extension. A missing or
// undecodable resource is a programming error ("imgResourceFound"); in release builds it
// yields an empty bitmap, which draws nothing.
IBitmap LoadIBitmap(int resourceId, std::string_view name, int frames = 1);
