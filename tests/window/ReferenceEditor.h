// The reference side of the window tests: the plug-in built into the test process says
// where its controls lie and how its editor looks when drawn headless; screenshots are
// compared with that and saved for people to look at.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class IGraphics;

// Centre of the topmost visible control bound to paramIdx that takes clicks there;
// {-1, -1} when there is none.
std::pair<int, int> CentreOfControl(IGraphics& editor, int paramIdx);

// The editor drawn headless, as 0x00RRGGBB words.
std::vector<std::uint32_t> HeadlessRgb(IGraphics& editor);

// Pixels that differ; every pixel when the sizes differ.
int DifferingPixels(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b);

// Writes 0x00RRGGBB words as an opaque PNG file.
bool SaveRgbPng(const std::vector<std::uint32_t>& rgb, int width, int height,
                const std::string& path);
