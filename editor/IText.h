// The style record of drawn text.
#pragma once

#include <string>

#include "editor/IColor.h"

enum class ITextStyle { Normal = 0, Bold = 1, Italic = 2 };
enum class ITextAlign { Left = 0, Center = 1, Right = 2 };

struct IText {
  int size = 14;  // cell height in pixels, which is also the line pitch
  IColor color{255, 0, 0, 0};
  ITextStyle style = ITextStyle::Normal;
  ITextAlign align = ITextAlign::Center;
  int orientation = 0;  // degrees; only unrotated text is drawn
  std::string font = "Arial";
};
