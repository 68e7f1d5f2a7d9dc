#include "editor/ILineKnobControl.h"

#include <cmath>

#include "editor/IGraphicsRaster.h"

ILineKnobControl::ILineKnobControl(IEffectBase* plug, const IRect& rect, int paramIdx,
                                   const IColor& color, float innerRadius, float outerRadius)
    : IKnobControl(plug, rect, paramIdx),
      color_(color),
      innerRadius_(innerRadius),
      outerRadius_(outerRadius > 0.0f ? outerRadius : rect.W() * 0.5f) {}

void ILineKnobControl::Draw(IGraphicsRaster& raster) {
  const IRect& r = GetRECT();
  const float cx = r.L + r.W() * 0.5f;
  const float cy = r.T + r.H() * 0.5f;
  const double angle = kMinAngle + GetValue() * (kMaxAngle - kMinAngle);
  const float sinA = float(std::sin(angle));
  const float cosA = float(std::cos(angle));
  IColor color = color_;
  color.A = static_cast<std::uint8_t>(color.A * Blend());
  raster.DrawLine(color, cx + innerRadius_ * sinA, cy - innerRadius_ * cosA,
                  cx + outerRadius_ * sinA, cy - outerRadius_ * cosA);
}
