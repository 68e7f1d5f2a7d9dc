// The level law shared by the drive level and some drive amounts: 0 at v = 0, 1 at v = 1,
// rising steeply near the top like an audio-taper potentiometer.
#pragma once

double LevelCurve(double v);
