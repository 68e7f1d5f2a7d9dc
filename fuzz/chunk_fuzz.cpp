// Feeds arbitrary bytes to program and bank chunk restore. The first byte chooses the
// kind; the rest is the chunk. Whatever is restored must save and restore again
// unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "amp/VoltrexPlug.h"
#include "plugin/vst2/IEffectVST.h"

namespace {

intptr_t Dispatch(IEffectVST& plug, int32_t opcode, int32_t index, intptr_t value, void* ptr) {
  return plug.Effect()->dispatcher(plug.Effect(), opcode, index, value, ptr, 0.0f);
}

std::vector<uint8_t> Save(IEffectVST& plug, int32_t kind) {
  void* data = nullptr;
  const intptr_t size = Dispatch(plug, vst2::effGetChunk, kind, 0, &data);
  if (size <= 0) return {};
  return std::vector<uint8_t>(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static IEffectVST* plug = [] {
    auto* p = new IEffectVST(nullptr, std::make_unique<VoltrexPlug>(), VoltrexPlug::kIdentity);
    p->Effect()->dispatcher(p->Effect(), vst2::effOpen, 0, 0, nullptr, 0.0f);
    return p;
  }();
  const int32_t kind = data[0] & 1;  // 0: bank, 1: program
  std::vector<uint8_t> chunk(data + 1, data + size);
  if (Dispatch(*plug, vst2::effSetChunk, kind, intptr_t(chunk.size()), chunk.data()) != 1) return 0;

  std::vector<uint8_t> saved = Save(*plug, kind);
  if (saved.empty()) std::abort();
  if (Dispatch(*plug, vst2::effSetChunk, kind, intptr_t(saved.size()), saved.data()) != 1) std::abort();
  if (Save(*plug, kind) != saved) std::abort();
  return 0;
}
