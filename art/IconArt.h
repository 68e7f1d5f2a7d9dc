// The standalone program's icon for desktops: the amp's chrome knob, turned up, on a plate
// of its panel over the cabinet's tolex.
#pragma once

#include <string>
#include <vector>

#include "art/Canvas.h"

// Pixels a side: the size desktops list under icons/hicolor/256x256/apps.
constexpr int kAppIconSize = 256;

Canvas DrawAppIcon();
bool EncodeAppIcon(std::vector<unsigned char>& png);
// Writes <folder>/voltrex_icon.png; false when it cannot be drawn or written.
bool WriteAppIcon(const std::string& folder);
