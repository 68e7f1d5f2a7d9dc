#include "editor/ImageDecoder.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "editor/JpegDecoder.h"
#include "editor/PngCodec.h"

namespace {

std::string LowerCaseExtension(std::string_view name) {
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return {};
  std::string extension(name.substr(dot + 1));
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

}  // namespace

bool DecodeImage(std::string_view name, const unsigned char* data, std::size_t size,
                 PixelImage& image) {
  const std::string extension = LowerCaseExtension(name);
  if (extension == "png") return DecodePng(data, size, image);
  if (extension == "jpg" || extension == "jpeg") return DecodeJpeg(data, size, image);
  return false;
}
