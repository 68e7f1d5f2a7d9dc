#include "tools/presetgen/FactoryTable.h"

#include <sstream>

#include "amp/ParamIds.h"
#include "amp/ParamTable.h"

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> Columns(const std::string& line) {
  std::vector<std::string> columns;
  std::stringstream stream(line);
  std::string column;
  while (std::getline(stream, column, '|')) columns.push_back(Trimmed(column));
  if (!line.empty() && line.back() == '|') columns.emplace_back();
  return columns;
}

int IndexOfName(const char* const* names, int count, const std::string& name) {
  for (int i = 0; i < count; ++i)
    if (name == names[i]) return i;
  return -1;
}

// Reads exactly `count` numbers from 0 to 1.
bool ReadKnobs(const std::string& column, double* out, int count) {
  std::stringstream stream(column);
  for (int i = 0; i < count; ++i)
    if (!(stream >> out[i]) || out[i] < 0.0 || out[i] > 1.0) return false;
  std::string rest;
  return !(stream >> rest);
}

bool ParseGate(const std::string& column, FactoryPreset& preset) {
  if (column == "off") return true;
  double knobs[2];
  if (!ReadKnobs(column, knobs, 2)) return false;
  preset.gateOn = true;
  preset.gateThreshold = knobs[0];
  preset.gateRelease = knobs[1];
  return true;
}

// "file dry wet", where the file name may hold spaces.
bool ParseImpulseUse(const std::string& column, FactoryImpulseUse& use) {
  if (column.empty()) return true;
  const auto wetStart = column.find_last_of(' ');
  const auto dryStart = wetStart == std::string::npos ? wetStart : column.find_last_of(' ', wetStart - 1);
  if (dryStart == std::string::npos) return false;
  double levels[2];
  if (!ReadKnobs(column.substr(dryStart), levels, 2)) return false;
  use = {Trimmed(column.substr(0, dryStart)), levels[0], levels[1]};
  return !use.name.empty();
}

bool ParsePreset(const std::vector<std::string>& c, const std::string& bank, FactoryPreset& p) {
  if (c.size() != 8 || c[0].empty()) return false;
  p.bank = bank;
  p.name = c[0];
  p.model = IndexOfName(kModelNames, kNumModels, c[1]);
  p.cabinet = IndexOfName(kCabinetNames, kNumCabinets, c[4]);
  double amp[2], tone[3];
  if (p.model < 0 || p.cabinet < 0 || !ReadKnobs(c[2], p.pedal, 5) || !ReadKnobs(c[3], amp, 2) ||
      !ReadKnobs(c[5], tone, 3))
    return false;
  p.color = amp[0];
  p.presence = amp[1];
  p.bass = tone[0];
  p.treble = tone[1];
  p.volume = tone[2];
  return ParseGate(c[6], p) && ParseImpulseUse(c[7], p.impulse);
}

bool ParseImpulse(const std::vector<std::string>& c, FactoryImpulse& impulse) {
  if (c.size() != 4 || c[0].empty()) return false;
  impulse.name = c[0];
  impulse.voicing = IndexOfName(kCabinetNames, kNumCabinets, c[1]);
  std::stringstream room(c[2] + " " + c[3]);
  return impulse.voicing >= 0 && (room >> impulse.roomDecayMs >> impulse.roomLevel) &&
         impulse.roomDecayMs > 0.0 && impulse.roomLevel >= 0.0;
}

}  // namespace

bool ParseFactoryTable(const std::string& text, FactoryTable& out, std::string& error) {
  std::stringstream lines(text);
  std::string line, section;
  for (int number = 1; std::getline(lines, line); ++number) {
    line = Trimmed(line);
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = Trimmed(line.substr(1, line.size() - 2));
      continue;
    }
    bool parsed = false;
    if (section == "Impulses") {
      FactoryImpulse impulse;
      parsed = ParseImpulse(Columns(line), impulse);
      if (parsed) out.impulses.push_back(impulse);
    } else if (!section.empty()) {
      FactoryPreset preset;
      parsed = ParsePreset(Columns(line), section, preset);
      if (parsed) out.presets.push_back(preset);
    }
    if (!parsed) {
      error = "line " + std::to_string(number) + ": cannot read \"" + line + "\"";
      return false;
    }
  }
  return true;
}
