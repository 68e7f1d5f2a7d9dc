// voltrex_art [folder]: draws the editor's images and the program's icon into folder
// (default: img).
#include <cstdio>
#include <string>

#include "art/EditorArt.h"
#include "art/IconArt.h"

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "img";
  std::string failed;
  if (!WriteEditorImages(folder, failed)) {
    std::fprintf(stderr, "voltrex_art: cannot draw or write %s\n", failed.c_str());
    return 1;
  }
  if (!WriteAppIcon(folder)) {
    std::fprintf(stderr, "voltrex_art: cannot draw or write %s/voltrex_icon.png\n", folder.c_str());
    return 1;
  }
  return 0;
}
