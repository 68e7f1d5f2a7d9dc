#include "engine/LevelCurve.h"

#include <cmath>

namespace {

// Normalises the curve to 1 at the top; the exponential is taken in single precision.
const double kLevelCurveScale = 1.0 / (1.0 - std::exp(-3.0f));

}  // namespace

double LevelCurve(double v) {
  return 1.0 - (1.0 - std::exp(-3.0 * (1.0 - v))) * kLevelCurveScale;
}
