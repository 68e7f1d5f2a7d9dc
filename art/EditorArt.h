// The editor's 50 images as the artwork draws them, by resource number.
#pragma once

#include <string>
#include <vector>

#include "art/Canvas.h"
#include "editor/EditorBitmaps.h"

// The sets of images drawn: the editor's own size and twice its size for dense screens.
constexpr int kArtScales[] = {1, 2};

// The file name of one table entry at a scale: "knob.png", "knob@2x.png".
std::string EditorImageFileName(const EditorBitmapInfo& info, int scale);

// The whole image (all frames stacked) of one table entry, scale device pixels per editor
// pixel: frame k (1-based) starts at row floor(H * (k - 1) / N + 0.5) of the H rows.
Canvas DrawEditorImage(const EditorBitmapInfo& info, int scale);

// The PNG bytes of one table entry at a scale.
bool EncodeEditorImage(const EditorBitmapInfo& info, int scale, std::vector<unsigned char>& png);

// Writes every image of every scale as <folder>/<file name>; false, naming the first
// failure in failed, when one cannot be drawn or written.
bool WriteEditorImages(const std::string& folder, std::string& failed);
