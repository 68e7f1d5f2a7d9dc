// The drive/amp stage: one sample through the selected model's kernel, its group filters,
// the amplifier's colour and presence filters and the drive level. Reads only slots and
// amounts designed beforehand; no allocation, no locking.
#pragma once

struct Engine;

// model 0 to 15; any other value returns x unchanged.
double DriveSample(Engine& engine, double x, int model);
