// Buttons, foot switches, toggles, the lamp and the small parts of the editor. Frame 1 is
// the resting state (up, off), frame 2 pressed or on.
#pragma once

#include "art/Canvas.h"

Canvas DrawPanelButton(int width, int frameHeight);
Canvas DrawRoundFootSwitch(int width, int frameHeight);
// The large foot switches of the pedals, image id 131 to 135.
Canvas DrawFootPlate(int id, int width, int frameHeight);
// A bat toggle: two frames down and up, or three frames down, centre and up.
Canvas DrawToggle(int width, int frameHeight, int frames);
Canvas DrawLamp(int width, int frameHeight);
Canvas DrawFaderHandle(int width, int height);
Canvas DrawTunerButton(int width, int frameHeight);
Canvas DrawFileMark(int width, int height);
