// Pieces that several images share: metal plates, screws, recessed display windows,
// printed labels and the amp's logo.
#pragma once

#include <string_view>

#include "art/Canvas.h"
#include "art/Typeface.h"

// A brushed aluminium plate with a bevelled edge and a drop shadow.
void DrawPlate(Canvas& canvas, float l, float t, float r, float b, float radius, int seed);
void DrawScrew(Canvas& canvas, float cx, float cy, float slotDegrees);
// A backlit display window sunk into a plate: dark bezel, then the lit glass.
void DrawLcdWindow(Canvas& canvas, float l, float t, float r, float b);
// A thin engraved frame around a group of controls.
void DrawGroupFrame(Canvas& canvas, float l, float t, float r, float b);
// Dots around a knob from its minimum to its maximum position.
void DrawKnobScale(Canvas& canvas, float cx, float cy, float radius, int dots, const Rgba& colour);
// A 1/4 inch jack socket.
void DrawJack(Canvas& canvas, float cx, float cy);

// The amp's label type: small bold capitals, slightly condensed.
Type LabelType(float size = 7.5f);
void DrawLabel(Canvas& canvas, std::string_view text, float x, float baseline,
               Align align = Align::Centre, float size = 7.5f);

// "VOLTREX" in chrome with an amber edge, its baseline at y.
void DrawLogo(Canvas& canvas, float x, float baseline, float size, Align align);
