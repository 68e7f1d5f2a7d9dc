#include "amp/PlayerParams.h"

#include <array>
#include <cctype>

namespace {

constexpr std::array<PlayerParam, 21> kPlayerParams{{
    {kGateOn, "gate_on", "Gate On"},
    {kGateThreshold, "gate_threshold", "Gate Threshold"},
    {kGateRelease, "gate_release", "Gate Release"},
    {kDstOn, "drive_on", "Drive On"},
    {kDstPreset, "model", "Model"},
    {kDstLevel, "level", "Level"},
    {kDstDrive, "drive", "Drive"},
    {kAmpColor, "colour", "Colour"},
    {kAmpPresence, "presence", "Presence"},
    {kDstLow, "low", "Low"},
    {kDstMid, "mid", "Mid"},
    {kDstHigh, "high", "High"},
    {kCabPreset, "cabinet", "Cabinet"},
    {kMainBass, "bass", "Bass"},
    {kMainTreble, "treble", "Treble"},
    {kLoudness, "loudness", "Loudness"},
    {kMainVolume, "volume", "Volume"},
    {kIrLed, "ir_on", "Impulse Response On"},
    {kIrDryLevel, "ir_dry", "Impulse Response Dry Level"},
    {kIrWetLevel, "ir_wet", "Impulse Response Wet Level"},
    {kTuning, "tuning", "Tuning"},
}};

char Folded(char c) {
  if (c == '-' || c == ' ') return '_';
  return char(std::tolower(static_cast<unsigned char>(c)));
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Folded(a[i]) != Folded(b[i])) return false;
  }
  return true;
}

}  // namespace

std::span<const PlayerParam> PlayerParams() { return kPlayerParams; }

const PlayerParam* FindPlayerParam(std::string_view text) {
  for (const PlayerParam& row : kPlayerParams) {
    if (SameName(text, row.symbol) || SameName(text, row.name)) return &row;
  }
  return nullptr;
}
