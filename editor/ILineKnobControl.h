// A knob drawn as one antialiased line from an inner to an outer radius around the
// rectangle's centre; the angle runs from minAngle at 0 to maxAngle at 1, 0 pointing
// straight up and positive angles clockwise.
#pragma once

#include <numbers>

#include "editor/IColor.h"
#include "editor/IKnobControl.h"

class ILineKnobControl : public IKnobControl {
 public:
  static constexpr double kMinAngle = -0.75 * std::numbers::pi;
  static constexpr double kMaxAngle = 0.75 * std::numbers::pi;

  // outerRadius 0 means half the rectangle's width.
  ILineKnobControl(IEffectBase* plug, const IRect& rect, int paramIdx, const IColor& color,
                   float innerRadius = 0.0f, float outerRadius = 0.0f);

  void Draw(IGraphicsRaster& raster) override;

 private:
  IColor color_;
  float innerRadius_;
  float outerRadius_;
};
