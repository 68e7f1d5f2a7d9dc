#pragma once

#include <string>

// The plug-in binary under test, from --plugin on the command line.
const std::string& PluginPath();
