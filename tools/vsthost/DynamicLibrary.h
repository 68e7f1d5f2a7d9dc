// Loading a plug-in binary and finding a symbol in it, on either platform.
#pragma once

#include <string>

namespace vsthost {

void* OpenLibrary(const std::string& path, std::string* error);
void* FindSymbol(void* library, const char* name);
void CloseLibrary(void* library);

}  // namespace vsthost
