// The editor's 50 images as the artwork draws them, by resource number.
#pragma once

#include <string>
#include <vector>

#include "art/Canvas.h"
#include "editor/EditorBitmaps.h"

// The whole image (all frames stacked) of one table entry.
Canvas DrawEditorImage(const EditorBitmapInfo& info);

// The PNG bytes of one table entry.
bool EncodeEditorImage(const EditorBitmapInfo& info, std::vector<unsigned char>& png);

// Writes every image as <folder>/<file name>; false, naming the first failure in failed,
// when one cannot be drawn or written.
bool WriteEditorImages(const std::string& folder, std::string& failed);
