// The LV2 plug-in's names, port layout and feature lookup, shared by the plug-in, its editor and the tool
// that writes the bundle's Turtle files, so the three never disagree.
#pragma once

#include <cstdint>
#include <cstring>

#include "lv2/core/lv2.h"

namespace lv2 {

// The project's own URIs (no organisation's domain).
inline constexpr const char* kPluginUri = "urn:voltrex:amp";
inline constexpr const char* kUiUri = "urn:voltrex:amp#ui";
// The state's keys: the amp's state bytes and the impulse response's file.
inline constexpr const char* kStateChunkUri = "urn:voltrex:amp#state";
inline constexpr const char* kStateImpulseUri = "urn:voltrex:amp#impulse";
inline constexpr const char* kStateVersionUri = "urn:voltrex:amp#version";
// Factory presets: this prefix, then the bank and preset names, percent-encoded.
inline constexpr const char* kPresetUriPrefix = "urn:voltrex:amp:preset:";

// Port indices: stereo in, stereo out, MIDI in, then one control input per row of
// PlayerParams(), in that order.
enum PortIndex : uint32_t {
  kInputLeft = 0,
  kInputRight = 1,
  kOutputLeft = 2,
  kOutputRight = 3,
  kMidiInput = 4,
  kFirstControlPort = 5,
};

// The data of the feature with this URI in a host's null-terminated list, or null.
inline const void* FindFeature(const LV2_Feature* const* features, const char* uri) {
  for (; features && *features; ++features) {
    if ((*features)->URI && std::strcmp((*features)->URI, uri) == 0) return (*features)->data;
  }
  return nullptr;
}

}  // namespace lv2
