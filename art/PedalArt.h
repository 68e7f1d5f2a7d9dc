// The 16 pedal panels (448 x 424, shown at (175, 1)): each model's own pedal, transparent
// around it so that the grey stage shows.
#pragma once

#include "art/Canvas.h"

Canvas DrawPedal(int model);
