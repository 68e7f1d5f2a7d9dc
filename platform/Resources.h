// Image bytes compiled into the plug-in binary, addressed by resource number (100 to 149):
// embedded arrays on Linux, resources of type "PNG" of the module holding this code on
// Windows.
#pragma once

#include <cstddef>

namespace platform {

struct ResourceBytes {
  const unsigned char* data = nullptr;  // null when the resource does not exist
  std::size_t size = 0;
};

// The bytes of image resource id; they stay valid while the library is loaded.
ResourceBytes FindImageResource(int id);

}  // namespace platform
