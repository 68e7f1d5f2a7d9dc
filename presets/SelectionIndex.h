// Turning a 0-to-1 selector value into a list index. Hosts and MIDI program changes send
// i / (count - 1), which in double and even more in single precision can land a hair
// below i; the small tolerance before the floor brings it back, while a value anywhere
// else in a step (a browser click within a row, the stepping buttons' i + 0.2) keeps its
// index.
#pragma once

// Index tolerance: far above the rounding of i / (count - 1) held in a float (about 1e-5
// for 100 entries), far below any position a click or a step produces.
constexpr double kSelectionToleranceSteps = 1e-4;

// floor((count - 1) * value + tolerance), kept within 0 .. count - 1. A list of 0 or 1
// entries, or a value that is not a number, gives 0.
int IndexFromValue(double value, int count);
