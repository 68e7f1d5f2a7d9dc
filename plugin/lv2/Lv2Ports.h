// The LV2 plug-in's names and port layout, shared by the plug-in, its editor and the tool
// that writes the bundle's Turtle files, so the three never disagree.
#pragma once

#include <cstdint>

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

}  // namespace lv2
