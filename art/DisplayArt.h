// The pictures shown on the backlit display: the parameter name strip, the value bar and
// the tuner (its background, deviation meter and note read-out).
#pragma once

#include "art/Canvas.h"

Canvas DrawNameStrip(int width, int frameHeight, int frames);
Canvas DrawValueBar(int width, int frameHeight, int frames);
Canvas DrawTunerBackground(int width, int height);
Canvas DrawTunerMeter(int width, int frameHeight, int frames);
Canvas DrawTunerNotes(int width, int frameHeight, int frames);

// The texts of the name strip's frames; frame 0 and frames 27 to 30 are blank.
const char* NameStripText(int frame);
// "A0" ... "G#6": the note of index 0 (27.5 Hz) to 71.
void NoteName(int index, char* pitch, int& octave);
