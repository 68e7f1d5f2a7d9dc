// What a read preset sets, parameter by parameter, in the order the plug-in applies it:
// the selected model's five pedal knobs first, then the main and engine parameters, the
// tone section, the impulse-response levels (version 4), and the model itself last, so
// that the model switch finds every engine value already in place.
#pragma once

#include "presets/PresetFile.h"

struct ParamValue {
  int index;
  double value;  // normalised, 0 to 1
};

constexpr int kMaxPresetParamValues = 23;

// The model value as applied: value[4], multiplied by 0.8 in single precision for versions
// 1 and 2, whose model list was shorter.
float PresetModelValue(const PresetFile& preset);
// The model the preset selects: floor(model value * 15 + 0.5), within 0 to 15.
int PresetModel(const PresetFile& preset);

// Fills out in application order and returns the count. Values outside 0 to 1 are clamped
// to it and values that are not numbers become 0, as no control could show them.
int PresetParamValues(const PresetFile& preset, ParamValue (&out)[kMaxPresetParamValues]);
