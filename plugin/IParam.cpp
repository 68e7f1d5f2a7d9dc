#include "plugin/IParam.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kMaxPrecision = 6;

// Number of decimals a step needs: how often it must be multiplied by 10 to be whole.
int DecimalsOfStep(double step) {
  int decimals = 0;
  while (decimals < kMaxPrecision && std::fabs(step - std::round(step)) > 1e-7 * std::fabs(step)) {
    step *= 10.0;
    ++decimals;
  }
  return decimals;
}

// Truncates toward zero into the int range, so huge values never overflow the conversion.
int TruncateToInt(double value) {
  return int(std::clamp(std::trunc(value), double(INT_MIN), double(INT_MAX)));
}

}  // namespace

void CopyText(char* out, const char* text, std::size_t capacity) {
  if (!out || capacity == 0) return;
  std::size_t length = text ? std::strlen(text) : 0;
  length = std::min(length, capacity - 1);
  if (length) std::memcpy(out, text, length);
  out[length] = '\0';
}

void IParam::InitDouble(const char* name, double defaultValue, double min, double max,
                        double step, const char* label) {
  if (type_ == Type::None) type_ = Type::Double;
  CopyText(name_, name, kTextBytes);
  CopyText(label_, label, kTextBytes);
  value_ = defaultValue;
  min_ = min;
  max_ = std::max(max, min + step);
  step_ = step;
  precision_ = DecimalsOfStep(step);
}

void IParam::InitInt(const char* name, int defaultValue, int min, int max, const char* label) {
  if (type_ == Type::None) type_ = Type::Int;
  InitDouble(name, defaultValue, min, max, 1.0, label);
}

void IParam::InitEnum(const char* name, int defaultValue, int count) {
  if (type_ == Type::None) type_ = Type::Enum;
  InitDouble(name, defaultValue, 0.0, count - 1, 1.0, "");
}

void IParam::SetDisplayText(int value, const char* text) {
  DisplayText record{value, {}};
  CopyText(record.text, text, kTextBytes);
  displayTexts_.push_back(record);
}

void IParam::Set(double value) {
  if (std::isnan(value)) return;
  value_ = std::clamp(value, min_, max_);
}

void IParam::SetNormalized(double normalized) {
  if (std::isnan(normalized)) return;
  normalized = std::clamp(normalized, 0.0, 1.0);
  double value = std::pow(normalized, shape_) * (max_ - min_) + min_;
  if (type_ != Type::Double && step_ > 0.0) value = std::floor(value / step_ + 0.5) * step_;
  value_ = std::min(value, max_);
}

double IParam::GetNormalized() const { return GetNormalized(value_); }

double IParam::GetNormalized(double value) const {
  if (!(max_ > min_)) return 0.0;
  const double linear = (std::clamp(value, min_, max_) - min_) / (max_ - min_);
  return std::pow(linear, 1.0 / shape_);
}

const char* IParam::FindDisplayText(double value) const {
  const int whole = TruncateToInt(value);
  for (const DisplayText& record : displayTexts_) {
    if (record.value == whole) return record.text;
  }
  return nullptr;
}

void IParam::GetDisplayForHost(double value, bool normalized, char* text) const {
  if (normalized) value = std::pow(value, shape_) * (max_ - min_) + min_;
  if (const char* valueText = FindDisplayText(value)) {
    CopyText(text, valueText, kTextBytes);
    return;
  }
  if (negateDisplay_) value = -value;
  if (value == 0.0) {
    CopyText(text, "0", kTextBytes);
  } else if (precision_ == 0) {
    std::snprintf(text, kTextBytes, "%d", TruncateToInt(value));
  } else {
    char format[8];
    std::snprintf(format, sizeof format, "%%.%df", precision_);
    std::snprintf(text, kTextBytes, format, value);
  }
}

bool IParam::MapDisplayText(const char* text, double* value) const {
  for (const DisplayText& record : displayTexts_) {
    if (std::strcmp(record.text, text) == 0) {
      *value = record.value;
      return true;
    }
  }
  return false;
}

const char* IParam::DisplayTextAt(int i, int* value) const {
  if (i < 0 || i >= NDisplayTexts()) return nullptr;
  if (value) *value = displayTexts_[size_t(i)].value;
  return displayTexts_[size_t(i)].text;
}
