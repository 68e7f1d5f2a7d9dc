#include "platform/Resources.h"

#include <windows.h>

namespace platform {
namespace {

// Any address inside this module: the resources belong to the DLL (or test program) that
// contains this code, not to the host process that loaded it.
const char kModuleAnchor = 0;

HMODULE ThisModule() {
  HMODULE module = nullptr;
  const DWORD flags =
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  if (!GetModuleHandleExW(flags, reinterpret_cast<LPCWSTR>(&kModuleAnchor), &module)) return nullptr;
  return module;
}

}  // namespace

ResourceBytes FindImageResource(int id) {
  HMODULE module = ThisModule();
  if (!module) return {};
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG");
  if (!info) return {};
  HGLOBAL handle = LoadResource(module, info);
  const void* data = handle ? LockResource(handle) : nullptr;
  if (!data) return {};
  return {static_cast<const unsigned char*>(data), SizeofResource(module, info)};
}

}  // namespace platform
