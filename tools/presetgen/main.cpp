// presetgen TABLE DATA_FOLDER: turns the factory table into the data folder's preset banks
// and impulse responses. The same table always gives the same bytes.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/presetgen/FactoryTable.h"
#include "tools/presetgen/FactoryWriter.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: presetgen TABLE DATA_FOLDER\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  FactoryTable table;
  std::string error;
  std::string folder = argv[2];
  if (folder.empty() || folder.back() != '/') folder += '/';
  if (!file || !ParseFactoryTable(text.str(), table, error) ||
      !WriteFactoryContent(table, folder, error)) {
    std::fprintf(stderr, "presetgen: %s\n", error.empty() ? "cannot read the table" : error.c_str());
    return 1;
  }
  return 0;
}
