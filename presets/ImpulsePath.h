// The impulse-response path a version-4 preset stores. Old presets hold a full path of
// the machine they were made on; factory presets name a file relative to the data folder
// ("Impulses/Closed 4x12.wav"), with either separator, so they work wherever the plug-in
// is installed.
#pragma once

#include <string>
#include <string_view>

// The path to open, in out. False when stored names no file: it is empty or holds no
// separator at all (what old presets store when they use no impulse response).
bool ResolveImpulsePath(std::string_view stored, const std::string& dataFolder, std::string& out);

// Rooted at "/" or "\", or starting with a drive letter ("C:").
bool IsAbsolutePath(std::string_view path);
