#include "platform/Resources.h"

#include <windows.h>

#include "platform/win32/ThisModule.h"

namespace platform {
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
