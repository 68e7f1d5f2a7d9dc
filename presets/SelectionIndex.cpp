#include "presets/SelectionIndex.h"

#include <cmath>

int IndexFromValue(double value, int count) {
  if (count <= 1) return 0;
  const double position = (count - 1) * value + kSelectionToleranceSteps;
  if (!(position >= 0.0)) return 0;  // negative or not a number
  if (position >= count - 1) return count - 1;
  return int(std::floor(position));
}
