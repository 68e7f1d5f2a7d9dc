#include "app/ParamSettings.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "engine/Tuner.h"
#include "plugin/IEffectBase.h"
#include "amp/ParamIds.h"
#include "amp/ParamTable.h"
#include "amp/PlayerParams.h"

namespace {

constexpr int kDropD = 2;  // the example tuning of messages

// The amp's parameter declarations without an amp: ranges, steps and value names as the
// plug-in declares them.
class ParamCatalogue final : public IEffectBase {
 public:
  ParamCatalogue() : IEffectBase(kNumParams, "2-2", 0) { DeclareParameters(*this); }
};

const ParamCatalogue& Catalogue() {
  static const auto catalogue = std::make_unique<ParamCatalogue>();
  return *catalogue;
}

std::string Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return std::string(text);
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// Two-state parameters: a 0 to 1 range in whole steps.
bool IsSwitch(const IParam& param) { return param.Min() == 0.0 && param.Max() == 1.0 && param.Step() == 1.0; }

bool IsWhole(const IParam& param) {
  return param.GetType() == IParam::Type::Int || param.GetType() == IParam::Type::Enum || IsSwitch(param);
}

// "Drop D" for "Drop D-D,A,D,G,B,E": the name without its strings.
std::string_view ShortTuningName(int mode) {
  const std::string_view name = TuningName(mode);
  return name.substr(0, name.find('-'));
}

bool NamedValue(int index, const IParam& param, std::string_view text, double& value) {
  for (int i = 0; i < param.NDisplayTexts(); ++i) {
    int named = 0;
    if (SameText(text, param.DisplayTextAt(i, &named))) {
      value = named;
      return true;
    }
  }
  if (index == kTuning) {
    for (int mode = 0; TuningName(mode); ++mode) {
      if (SameText(text, TuningName(mode)) || SameText(text, ShortTuningName(mode))) {
        value = mode;
        return true;
      }
    }
  }
  if (IsSwitch(param)) {
    for (const char* on : {"on", "true", "yes"}) {
      if (SameText(text, on)) return value = 1.0, true;
    }
    for (const char* off : {"off", "false", "no"}) {
      if (SameText(text, off)) return value = 0.0, true;
    }
  }
  return false;
}

bool NumericValue(const IParam& param, const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(value)) return false;
  if (IsWhole(param) && value != std::floor(value)) return false;
  return value >= param.Min() && value <= param.Max();
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// What the parameter accepts, for the error message.
std::string Accepted(int index, const IParam& param) {
  std::string accepted = IsWhole(param) ? "a whole number from " : "a number from ";
  accepted += Number(param.Min()) + " to " + Number(param.Max());
  if (param.NDisplayTexts() > 0) accepted += " or a name such as \"" + std::string(param.DisplayTextAt(0)) + "\"";
  if (index == kTuning) accepted += " or a tuning such as \"" + std::string(ShortTuningName(kDropD)) + "\"";
  if (IsSwitch(param)) accepted += ", on or off";
  return accepted;
}

}  // namespace

bool ParseParamSetting(std::string_view text, ParamSetting& setting, std::string& error) {
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    error = "--set wants NAME=VALUE, not \"" + std::string(text) + "\"";
    return false;
  }
  const std::string name = Trimmed(text.substr(0, equals));
  const std::string valueText = Trimmed(text.substr(equals + 1));
  const PlayerParam* row = FindPlayerParam(name);
  if (!row) {
    error = "no parameter called \"" + name + "\" (voltrex --help lists them)";
    return false;
  }
  const IParam& param = *Catalogue().GetParam(row->id);
  double value = 0.0;
  if (!NamedValue(row->id, param, valueText, value) && !NumericValue(param, valueText, value)) {
    error = std::string(row->name) + " cannot be \"" + valueText + "\": it takes " + Accepted(row->id, param);
    return false;
  }
  setting = {row->id, float(param.GetNormalized(value))};
  return true;
}
