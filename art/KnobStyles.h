// The look of each knob image: the amp's own knobs and one knob per family of pedals.
#pragma once

#include "art/KnobArt.h"

KnobStyle MainKnobStyle();      // the amp's knobs, 39 x 40
KnobStyle LoudnessKnobStyle();  // the smaller loudness knob, 30 x 30
// The knob of pedal knob image id (117 to 126 except the slide fader 119).
KnobStyle PedalKnobStyle(int id);
