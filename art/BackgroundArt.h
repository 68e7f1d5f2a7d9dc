// The amp's face (630 x 440): tolex, the logo, the aluminium plates with every fixed
// label at its control, the display windows and the grey stage for the pedals.
#pragma once

#include "art/Canvas.h"

Canvas DrawBackground();
