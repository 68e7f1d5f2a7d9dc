#include "platform/win32/ThisModule.h"

namespace platform {
namespace {

// Any address inside this module finds it.
const char kModuleAnchor = 0;

}  // namespace

HMODULE ThisModule() {
  HMODULE module = nullptr;
  const DWORD flags =
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  if (!GetModuleHandleExW(flags, reinterpret_cast<LPCWSTR>(&kModuleAnchor), &module)) return nullptr;
  return module;
}

}  // namespace platform
