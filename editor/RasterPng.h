// Saving the back buffer as a PNG file: screenshots and headless editor tests.
#pragma once

#include <string>

#include "editor/IGraphicsRaster.h"

// Writes the raster to path (UTF-8), replacing any file there. False on failure.
bool WriteRasterPng(const IGraphicsRaster& raster, const std::string& path);
