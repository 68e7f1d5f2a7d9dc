#include "app/StateFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr char kMagic[8] = {'v', 'x', 's', 't', 'a', 't', 'e', '1'};
constexpr size_t kHeaderBytes = sizeof kMagic + 4 + 4;  // magic, chunk size, checksum
// More than any chunk of the amp: a longer file is not ours.
constexpr uint32_t kMaxChunkBytes = 1u << 24;

// FNV-1a: enough to tell a damaged file from a whole one.
uint32_t Checksum(const uint8_t* bytes, size_t size) {
  uint32_t hash = 2166136261u;
  for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 16777619u;
  return hash;
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(value >> shift));
}

uint32_t GetU32(const uint8_t* bytes) {
  return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

}  // namespace

std::string DefaultStatePath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/voltrex/state";
  const char* home = std::getenv("HOME");
  if (home && home[0]) return std::string(home) + "/.config/voltrex/state";
  return {};
}

std::vector<uint8_t> EncodeState(const std::vector<uint8_t>& chunk) {
  std::vector<uint8_t> bytes(std::begin(kMagic), std::end(kMagic));
  PutU32(bytes, uint32_t(chunk.size()));
  PutU32(bytes, Checksum(chunk.data(), chunk.size()));
  bytes.insert(bytes.end(), chunk.begin(), chunk.end());
  return bytes;
}

bool DecodeState(const uint8_t* bytes, size_t size, std::vector<uint8_t>& chunk) {
  if (size < kHeaderBytes || std::memcmp(bytes, kMagic, sizeof kMagic) != 0) return false;
  const uint32_t chunkBytes = GetU32(bytes + sizeof kMagic);
  if (chunkBytes == 0 || chunkBytes > kMaxChunkBytes || size - kHeaderBytes != chunkBytes) return false;
  const uint8_t* body = bytes + kHeaderBytes;
  if (Checksum(body, chunkBytes) != GetU32(bytes + sizeof kMagic + 4)) return false;
  chunk.assign(body, body + chunkBytes);
  return true;
}

StateRead ReadStateFile(const std::string& path, std::vector<uint8_t>& chunk, std::string& reason) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (!Exists(path)) return StateRead::kMissing;
    reason = std::strerror(errno);
    return StateRead::kDamaged;
  }
  std::vector<uint8_t> bytes;
  char block[65536];
  while (file.read(block, sizeof block) || file.gcount() > 0) {
    bytes.insert(bytes.end(), block, block + file.gcount());
    if (bytes.size() > kHeaderBytes + kMaxChunkBytes) break;
  }
  if (file.bad()) {
    reason = "read error";
    return StateRead::kDamaged;
  }
  if (!DecodeState(bytes.data(), bytes.size(), chunk)) {
    reason = "not a voltrex state file, or damaged";
    return StateRead::kDamaged;
  }
  return StateRead::kRead;
}

bool SetStateAside(const std::string& path, std::string& aside) {
  for (int n = 1; n < 1000; ++n) {
    aside = path;
    aside += ".damaged";
    if (n > 1) aside += '-' + std::to_string(n);
    if (Exists(aside)) continue;
    // link + unlink never replaces a file that appeared meanwhile; rename is the fallback
    // for file systems without hard links.
    if (link(path.c_str(), aside.c_str()) == 0) return unlink(path.c_str()) == 0;
    if (errno == EEXIST) continue;
    return !Exists(aside) && std::rename(path.c_str(), aside.c_str()) == 0;
  }
  return false;
}

bool WriteStateFile(const std::string& path, const std::vector<uint8_t>& chunk, std::string& error) {
  std::error_code ignored;
  const std::filesystem::path target(path);
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ignored);
  const std::string temporary = path + ".new";
  const std::vector<uint8_t> bytes = EncodeState(chunk);
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.flush();
    if (!file) {
      error = "cannot write " + temporary;
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    error = "cannot replace " + path + ": " + std::strerror(errno);
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}
