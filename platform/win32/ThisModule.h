// The module (DLL or program) that holds the plug-in's code: its window class and
// resources belong to it, not to the host process that loaded it.
#pragma once

#include <windows.h>

namespace platform {

HMODULE ThisModule();

}  // namespace platform
